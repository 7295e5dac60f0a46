#include "DialogResetMem.h"
#include "ProgramIdentity.h"
#include "QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromUtf8(marlo::identity::Version));
    marlo::QtPlatform platform(nullptr, QStringLiteral("dbreset"));
    marlo::DialogResetMem window(platform);
    platform.setWindow(&window);
    window.show();
    QApplication::exec();
    return platform.exitStatus();
}
