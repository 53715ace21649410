#include "QtScriptDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace platform::qt {
namespace {

struct Choice
{
    QMessageBox::StandardButton button;
    int answer; // the language's number of the button
};

// The language's button sets, in the order its default-button numbers count them.
std::vector<Choice> choices(int buttons)
{
    const Choice ok{QMessageBox::Ok, 1}, cancel{QMessageBox::Cancel, 2}, abort{QMessageBox::Abort, 3},
        retry{QMessageBox::Retry, 4}, ignore{QMessageBox::Ignore, 5}, yes{QMessageBox::Yes, 6},
        no{QMessageBox::No, 7};
    switch (buttons) {
    case 1: return {ok, cancel};
    case 2: return {abort, retry, ignore};
    case 3: return {yes, no, cancel};
    case 4: return {yes, no};
    case 5: return {retry, cancel};
    default: return {ok};
    }
}

QMessageBox::Icon iconOf(int icon)
{
    switch (icon) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int QtScriptDialogs::message(const QString &prompt, const QString &title, int buttons, int icon, int defaultButton)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText); // the expression's text, never markup
    box.setIcon(iconOf(icon));
    const std::vector<Choice> set = choices(buttons);
    for (const Choice &c : set)
        box.addButton(c.button);
    const std::size_t preferred = defaultButton >= 0 && std::size_t(defaultButton) < set.size() ? std::size_t(defaultButton) : 0;
    box.setDefaultButton(set[preferred].button);
    box.exec();
    // Escape or closing the box picks its escape button (Cancel, No or Abort, or the only one).
    int answer = set.front().answer;
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const Choice &c : set)
        if (c.button == pressed)
            answer = c.answer;
    return answer;
}

std::optional<QString> QtScriptDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace platform::qt
