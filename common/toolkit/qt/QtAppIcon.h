#pragma once

#include <QIcon>

namespace marlo {

// The icon that both tools' windows carry.
QIcon appIcon();

} // namespace marlo
