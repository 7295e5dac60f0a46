#pragma once

#include "TwipBox.h"

#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

namespace marlo {

// Window geometry is designed in twips: 15 make one device-independent pixel
// at 96 dpi, which Qt scales on high-density screens.
constexpr int pixelsFromTwips(int twips)
{
    return twips / 15;
}

constexpr QRect rectFromTwips(const TwipBox& box)
{
    return {pixelsFromTwips(box.left), pixelsFromTwips(box.top), pixelsFromTwips(box.width),
            pixelsFromTwips(box.height)};
}

// A wrapping label of plain text at its design box, named as designed;
// `parent` owns it.
QLabel* addDesignLabel(QWidget* parent, const char* name, const char* text, const TwipBox& box,
                       Qt::Alignment alignment);

// Arial of the given size and weight (400 regular, 700 bold), or the
// nearest installed face with the same metrics.
QFont arialFont(qreal pointSize, int weight = 400);

// Arial Black, or the heaviest installed sans face. Arial Black has a single,
// black face whatever weight is asked of it, so the fallback is always bold.
QFont arialBlackFont(qreal pointSize);

} // namespace marlo
