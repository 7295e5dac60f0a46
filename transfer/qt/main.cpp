#include "ImportWindow.h"
#include "ProgramIdentity.h"
#include "ProgressCopyRunner.h"
#include "QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromUtf8(marlo::identity::Version));
    marlo::QtPlatform platform(nullptr, QStringLiteral("dbtransfer"));
    // A long export or import runs beside the window, which stays alive.
    marlo::ImportWindow window(platform, nullptr, nullptr, [](QWidget* w) {
        return std::make_unique<marlo::ProgressCopyRunner>(w);
    });
    platform.setWindow(&window);
    window.showCentred();
    QApplication::exec();
    return platform.exitStatus();
}
