#include "QtMessageBox.h"

#include "MessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <array>
#include <utility>
#include <vector>

namespace marlo {

namespace {

using Button = QMessageBox::StandardButton;

// Button groups by the low four bits of the style, in the platform's order.
std::vector<Button> buttonsOf(int style)
{
    switch (style & 0xF) {
    case 1:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case 2:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case 3:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case 4:
        return {QMessageBox::Yes, QMessageBox::No};
    case 5:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

constexpr std::array<std::pair<Button, int>, 7> answers{{
    {QMessageBox::Ok, IDOK},
    {QMessageBox::Cancel, IDCANCEL},
    {QMessageBox::Abort, 3},
    {QMessageBox::Retry, 4},
    {QMessageBox::Ignore, 5},
    {QMessageBox::Yes, IDYES},
    {QMessageBox::No, IDNO},
}};

} // namespace

QString messageBoxText(const std::string& prompt)
{
    QString text = QString::fromStdString(prompt);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void prepareMessageBox(QMessageBox& box, const std::string& prompt, int style, const QString& title)
{
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(messageBoxText(prompt));
    box.setIcon(iconOf(style));

    const std::vector<Button> buttons = buttonsOf(style);
    QMessageBox::StandardButtons all;
    for (Button b : buttons)
        all |= b;
    box.setStandardButtons(all);

    // The first button is the default unless the style names the 2nd or 3rd.
    const std::size_t defaultIndex = std::min<std::size_t>((style >> 8) & 0xF, buttons.size() - 1);
    box.setDefaultButton(buttons[defaultIndex]);

    if (all & QMessageBox::Cancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (buttons.size() == 1)
        box.setEscapeButton(buttons.front());
}

int messageBoxAnswer(const QMessageBox& box)
{
    const Button clicked = box.standardButton(box.clickedButton());
    for (const auto& [button, answer] : answers)
        if (button == clicked)
            return answer;
    return IDCANCEL;
}

} // namespace marlo
