#include "QtMessageBoxes.h"

#include <QMessageBox>

namespace platform::qt {

int QtMessageBoxes::show(const QString &text, int style, const QString &title)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? ApplicationTitle : title);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    switch (style & 0x70) {
    case msgbox::Critical: box.setIcon(QMessageBox::Critical); break;
    case msgbox::Question: box.setIcon(QMessageBox::Question); break;
    case msgbox::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case msgbox::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    int answer = msgbox::Ok;
    if ((style & 0x0F) == msgbox::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        answer = box.exec() == QMessageBox::Yes ? msgbox::Yes : msgbox::No;
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    if (afterClose)
        afterClose();
    return answer;
}

} // namespace platform::qt
