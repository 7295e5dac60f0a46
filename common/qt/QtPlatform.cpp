#include "QtPlatform.h"

#include "QtMessageBox.h"
#include "QtProgramStart.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>

#include <cmath>
#include <utility>

namespace marlo {

namespace {

// The errors that a put on a control can meet, numbered as the platform does.
Status noSuchControl()
{
    return Status::failure(424, "Object required");
}

Status notSupported()
{
    return Status::failure(438, "Object doesn't support this property or method");
}

} // namespace

QtPlatform::QtPlatform(QWidget* window, QString applicationTitle)
    : QtPlatform(window, std::move(applicationTitle), makeHostFileSystem(hostApplicationFolder))
{
}

QtPlatform::QtPlatform(QWidget* window, QString applicationTitle, std::unique_ptr<FileSystem> files,
                       FolderSource applicationFolder)
    : HostFilesPlatform(std::move(files), std::move(applicationFolder)), window_(window),
      applicationTitle_(std::move(applicationTitle)),
      sleeper_([](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); })
{
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::setWindow(QWidget* window)
{
    window_ = window;
}

void QtPlatform::setSleeper(Sleeper sleeper)
{
    sleeper_ = std::move(sleeper);
}

Result<int> QtPlatform::MsgBox(const std::string& prompt, int style,
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

Result<int> QtPlatform::Shell(const std::string& program, int /*windowStyle*/)
{
    // The window style cannot be passed on: on X11 the window manager decides
    // how a new program's window shows and whether it takes the focus.
    return startProgram(QString::fromStdString(program),
                        QString::fromStdString(ApplicationFolder()), qEnvironmentVariable("PATH"));
}

void QtPlatform::finish(int exitStatus)
{
    exitStatus_ = exitStatus;
    if (window_)
        window_->close();
    // Outside a running event loop (tests drive handlers directly) exit()
    // would make every later modal box return at once, so it is left out.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(exitStatus);
}

void QtPlatform::Unload(int exitStatus)
{
    // The handler goes on to its end; the event loop ends when it returns.
    finish(exitStatus);
}

void QtPlatform::End(int exitStatus)
{
    // Every event loop, nested ones included, ends as soon as the caller
    // returns, which it does right after this.
    finish(exitStatus);
}

void QtPlatform::Sleep(int milliseconds)
{
    sleeper_(milliseconds);
}

void QtPlatform::DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::Beep()
{
    QApplication::beep();
}

Result<QWidget*> QtPlatform::control(std::string_view name) const
{
    if (!window_)
        return noSuchControl();
    auto* found = window_->findChild<QWidget*>(QString::fromUtf8(name.data(), name.size()));
    if (!found)
        return noSuchControl();
    return found;
}

Status QtPlatform::SetEnabled(std::string_view name, bool enabled)
{
    Result<QWidget*> c = control(name);
    if (!c)
        return c.status();
    c.value()->setEnabled(enabled);
    return {};
}

Status QtPlatform::SetVisible(std::string_view name, bool visible)
{
    Result<QWidget*> c = control(name);
    if (!c)
        return c.status();
    c.value()->setVisible(visible);
    return {};
}

Status QtPlatform::SetValue(std::string_view name, float value)
{
    Result<QWidget*> c = control(name);
    if (!c)
        return c.status();
    auto* bar = qobject_cast<QProgressBar*>(c.value());
    if (!bar)
        return notSupported();
    if (value < bar->minimum() || value > bar->maximum())
        return Status::failure(380, "Invalid property value");
    bar->setValue(static_cast<int>(std::lround(value)));
    return {};
}

Status QtPlatform::SetFocus()
{
    // A hidden window cannot take the focus.
    if (!window_ || !window_->isVisible())
        return Status::failure(5, "Invalid procedure call or argument");
    window_->raise();
    window_->activateWindow();
    return {};
}

} // namespace marlo
