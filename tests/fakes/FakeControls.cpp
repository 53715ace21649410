#include "FakeControls.h"

namespace fakes {

void FakeTextBox::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    start_ = 0;
    length_ = 0;
    fault = QPoint(-1, 0);
    if (onChange)
        onChange();
}

void FakeTextBox::setSelStart(int position)
{
    start_ = qBound(0, position, int(text_.size()));
    length_ = 0;
}

void FakeTextBox::setSelLength(int length) { length_ = qBound(0, length, int(text_.size()) - start_); }

void FakeTextBox::edit(const QString &text, int caret)
{
    const bool changed = text != text_;
    text_ = text;
    start_ = caret;
    length_ = 0;
    if (changed)
        fault = QPoint(-1, 0);
    if (changed && onChange)
        onChange();
}

void FakeTextBox::setFocus() { window_.focus = name_; }

void FakeTextBox::type(QChar key)
{
    if (key == QChar(0x7F)) { // Delete: no character key, so no key press reaches the hook
        if (length_ > 0)
            edit(text_.left(start_) + text_.mid(start_ + length_), start_);
        else if (start_ < text_.size())
            edit(text_.left(start_) + text_.mid(start_ + 1), start_);
        return;
    }
    int keyAscii = key.unicode();
    if (onKeyPress)
        onKeyPress(keyAscii);
    if (keyAscii == 0)
        return;
    if (keyAscii == 8) {
        if (length_ > 0) {
            edit(text_.left(start_) + text_.mid(start_ + length_), start_);
        } else if (start_ > 0) {
            const int width = start_ >= 2 && text_.mid(start_ - 2, 2) == QLatin1String("\r\n") ? 2 : 1;
            edit(text_.left(start_ - width) + text_.mid(start_), start_ - width);
        }
        return;
    }
    const QString inserted = keyAscii == 13 ? QStringLiteral("\r\n") : QString(QChar(keyAscii));
    edit(text_.left(start_) + inserted + text_.mid(start_ + length_), start_ + int(inserted.size()));
}

void FakeTextBox::typeText(const QString &keys)
{
    for (QChar key : keys)
        type(key);
}

void FakeButton::setFocus() { window_.focus = name_; }


FakeButton &FakeForm::button(const QString &name)
{
    for (FakeButton &b : buttons)
        if (b.name() == name)
            return b;
    qFatal("no button %s", qPrintable(name));
}

void setState(FakeTextBox &box, const QString &state)
{
    QString text = state;
    const qsizetype open = text.indexOf('['), caret = text.indexOf('|');
    box.setText(QString());
    if (open >= 0) {
        const qsizetype close = text.indexOf(']');
        text.remove(close, 1).remove(open, 1);
        box.setText(text);
        box.setSelStart(int(open));
        box.setSelLength(int(close - open - 1));
    } else {
        text.remove(caret, 1);
        box.setText(text);
        box.setSelStart(int(caret));
    }
}

QString stateOf(const FakeTextBox &box)
{
    QString text = box.text();
    if (box.selLength() > 0)
        return text.insert(box.selStart() + box.selLength(), ']').insert(box.selStart(), '[');
    return text.insert(box.selStart(), '|');
}

FakeForm::FakeForm()
{
    auto makeButton = [this](const QString &name, int left, int top) {
        buttons.emplace_back(window, name, left, top);
        return &buttons.back();
    };
    auto makeMenu = [this] {
        menus.emplace_back();
        return &menus.back();
    };
    controls.window = &window;
    controls.messages = &messages;
    controls.scriptDialogs = &scriptDialogs;
    controls.clipboard = &clipboard;
    controls.fileDialogs = &fileDialogs;
    controls.fileSystem = &fileSystem;
    controls.shell = &shell;
    controls.companions = &companions;
    controls.Text1 = &Text1;
    controls.Text2 = &Text2;
    controls.List1 = &List1;
    controls.List2 = &List2;
    controls.List3 = &List3;
    // The colours the window creates its controls with.
    List3.visible = false;
    List1.color = List2.color = platform::colors::Grey;
    List3.color = platform::colors::Navy;
    Text2.setForeColor(platform::colors::Grey);
    controls.Command1 = makeButton(QStringLiteral("Command1"), 120, 2520);
    controls.Command2 = makeButton(QStringLiteral("Command2"), 1920, 5280);
    controls.Command3 = makeButton(QStringLiteral("Command3"), 6450, 5280);
    controls.Command4 = makeButton(QStringLiteral("Command4"), 120, 5280);
    controls.Command5 = makeButton(QStringLiteral("Command5"), 960, 5280);
    controls.Command6 = makeButton(QStringLiteral("Command6"), 7680, 2520);
    controls.CommandCC = makeButton(QStringLiteral("CommandCC"), 7500, 5280);
    controls.CommandCopy1 = makeButton(QStringLiteral("CommandCopy1"), 7890, 5280);
    controls.CommandCopy2 = makeButton(QStringLiteral("CommandCopy2"), 8280, 5280);
    for (int i = 0; i < 18; ++i)
        controls.CommandNum[std::size_t(i)] = makeButton(QStringLiteral("CommandNum"), 1080 + 360 * i, 2520);
    for (platform::MenuEntry **m :
         {&controls.mnuSave, &controls.mnuLoad, &controls.mnuWebsite, &controls.mnuExit, &controls.mnuCalculate,
          &controls.mnuCut, &controls.mnuCopy, &controls.mnuPaste, &controls.mnuSelAll, &controls.mnuClsHistory,
          &controls.mnuClsPad, &controls.mnuClearAll, &controls.mnuNotepad, &controls.mnuPaint, &controls.mnuBK1,
          &controls.mnuBK2, &controls.mnuBK3, &controls.mnuHelpTopic, &controls.mnuAbout})
        *m = makeMenu();
    for (auto &entry : controls.mnuDec)
        entry = makeMenu();
    controls.mnuDec[2]->setChecked(true); // as the window creates it
}

} // namespace fakes
