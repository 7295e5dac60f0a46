#pragma once

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

namespace marlo::test {

// Input as the window system hands it over: spontaneous events sent to the
// native window, which Qt routes as it routes a user's (a key to the focus
// widget, unless a modal box blocks the window; the close box to the window).

inline void sendFromWindowSystem(QWidget* window, QEvent& event)
{
    window->winId(); // the native window has to exist
    QSpontaneKeyEvent::setSpontaneous(&event);
    QCoreApplication::sendEvent(window->windowHandle(), &event);
}

inline void pressCloseBox(QWidget* window)
{
    QCloseEvent close;
    sendFromWindowSystem(window, close);
}

inline void typeKey(QWidget* window, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    sendFromWindowSystem(window, press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    sendFromWindowSystem(window, release);
}

} // namespace marlo::test
