#include "ImportWindow.h"
#include "QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    marlo::QtPlatform platform(nullptr, QStringLiteral("dbtransfer"));
    marlo::ImportWindow window(platform);
    platform.setWindow(&window);
    window.showCentred();
    QApplication::exec();
    return platform.exitStatus();
}
