#include "QtWindowSystem.h"

#include "FileSystem.h"
#include "QtMessageBox.h"
#include "QtProgramStart.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <utility>

namespace marlo {

QtWindowSystem::QtWindowSystem(FileSystem& files, QWidget* window, QString applicationTitle)
    : files_(files), window_(window), applicationTitle_(std::move(applicationTitle))
{
}

Result<int> QtWindowSystem::MsgBox(const std::string& prompt, int style,
                                   const std::optional<std::string>& title)
{
    // Parented to the visible window, so that it is centred on it and the
    // window takes no input while it is open.
    QWidget* parent = window_ && window_->isVisible() ? window_.data() : nullptr;
    QMessageBox box(parent);
    prepareMessageBox(box, prompt, style,
                      title ? QString::fromStdString(*title) : applicationTitle_);
    if (window_)
        box.setWindowIcon(window_->windowIcon());
    box.exec();
    return messageBoxAnswer(box);
}

Result<int> QtWindowSystem::Shell(const std::string& program, int /*windowStyle*/)
{
    // The window style cannot be passed on: on X11 the window manager decides
    // how a new program's window shows and whether it takes the focus.
    return startProgram(QString::fromStdString(program),
                        QString::fromStdString(files_.ApplicationFolder()),
                        qEnvironmentVariable("PATH"));
}

void QtWindowSystem::closeWindowAndQuit(int exitStatus)
{
    if (window_)
        window_->close();
    // Outside a running event loop (tests drive handlers directly) exit()
    // would make every later modal box return at once, so it is left out.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(exitStatus);
}

int QtWindowSystem::run()
{
    QApplication::exec();
    return exitStatus();
}

void QtWindowSystem::DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtWindowSystem::Beep()
{
    QApplication::beep();
}

} // namespace marlo
