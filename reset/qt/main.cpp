#include "DialogResetMem.h"
#include "FileSystem.h"
#include "ProgramIdentity.h"
#include "QtWindowSystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromUtf8(marlo::identity::Version));
    const auto files = marlo::makeHostFileSystem();
    marlo::QtWindowSystem windows(*files, nullptr, QStringLiteral("dbreset"));
    marlo::DialogResetMem window({*files, windows});
    windows.setWindow(&window);
    window.show();
    return windows.run();
}
