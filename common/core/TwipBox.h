#pragma once

namespace marlo {

// A control's box as the windows are designed: twips from the top left
// corner of its parent's client area (1440 to the inch, 15 to a pixel at
// 96 dpi). Every toolkit places its controls from these.
struct TwipBox {
    int left, top, width, height;
};

} // namespace marlo
