#include "FileSystem.h"
#include "ImportWindow.h"
#include "ProgramIdentity.h"
#include "ProgressCopyRunner.h"
#include "ProgressDialog.h"
#include "QtWindowSystem.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromUtf8(marlo::identity::Version));
    const auto files = marlo::makeHostFileSystem();
    marlo::QtWindowSystem windows(*files, nullptr, QStringLiteral("dbtransfer"));
    // A long export or import runs beside the window, which stays alive.
    marlo::ImportWindow window({*files, windows}, [](QWidget* w) {
        return std::make_unique<marlo::ProgressCopyRunner>(marlo::showInProgressDialog(w));
    });
    windows.setWindow(&window);
    window.show();
    return windows.run();
}
