#include "QtAppIcon.h"

// The resource lives in a static library: naming its initialiser here makes
// the linker keep it in every program that asks for the icon.
static void initIconResource()
{
    Q_INIT_RESOURCE(marlo);
}

namespace marlo {

QIcon appIcon()
{
    static const bool resourceReady = (initIconResource(), true);
    (void)resourceReady;
    return QIcon(QStringLiteral(":/marlo/icon.png"));
}

} // namespace marlo
