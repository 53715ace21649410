#include "QtMessageBoxes.h"

#include <QMessageBox>

namespace platform::qt {

int QtMessageBoxes::show(const QString &text, int style, const QString &title)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? ApplicationTitle : title);
    box.setText(text);
    switch (style & 0x70) {
    case msgbox::Critical: box.setIcon(QMessageBox::Critical); break;
    case msgbox::Question: box.setIcon(QMessageBox::Question); break;
    case msgbox::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case msgbox::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    if ((style & 0x0F) == msgbox::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? msgbox::Yes : msgbox::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return msgbox::Ok;
}

} // namespace platform::qt
