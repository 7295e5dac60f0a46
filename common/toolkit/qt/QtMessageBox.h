#pragma once

#include <QString>

#include <string>

class QMessageBox;
class QWidget;

namespace marlo {

// The prompt as the box shows it: a CR LF pair, or a lone CR or LF, is one
// line break; every other character, blanks included, stays as it is.
QString messageBoxText(const std::string& prompt);

// Sets up `box` for a message-box style (buttons, icon, default button) with
// the prompt as plain text and the given title. Escape and the close box
// answer the Cancel button where there is one, otherwise the only button.
void prepareMessageBox(QMessageBox& box, const std::string& prompt, int style,
                       const QString& title);

// The platform's answer (IDOK, IDCANCEL, IDYES, ...) for the button that
// closed the box; IDCANCEL when none did.
int messageBoxAnswer(const QMessageBox& box);

} // namespace marlo
