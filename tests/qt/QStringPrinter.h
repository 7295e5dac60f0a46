#pragma once

#include <QString>

#include <ostream>

// Readable GoogleTest failures for Qt strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
