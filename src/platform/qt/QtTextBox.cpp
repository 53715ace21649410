#include "QtTextBox.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

namespace platform::qt {
namespace {

// The widget's own notion of line break is LF; a lone CR written by a caller is one too.
QString toWidgetText(const QString &text)
{
    QString widgetText = text;
    widgetText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    widgetText.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return widgetText;
}

QString toBoxText(const QString &widgetText)
{
    QString text = widgetText;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

// Alt and a letter opens a menu by its access key; the box types nothing for it.
bool isAccessKey(const QKeyEvent *key)
{
    return (key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier);
}

// The menus' shortcuts win over the box's own bindings for the same keys. The box asks its
// window's menu bar which keys those are, so that a menu entry given a shortcut needs no
// second list here.
bool isMenuShortcut(const QWidget *box, const QKeyEvent *key)
{
    if (isAccessKey(key))
        return true;
    const QKeySequence pressed(key->keyCombination());
    for (const QMenuBar *bar : box->window()->findChildren<QMenuBar *>()) {
        for (const QAction *entry : bar->findChildren<QAction *>())
            if (entry->shortcuts().contains(pressed))
                return true;
    }
    return false;
}

// The character code a key types, or 0 for keys that type none (Delete, arrows, F-keys).
int keyAsciiOf(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return 0;
    default: break;
    }
    const QString text = key->text();
    if (text.isEmpty() || text.at(0) == QChar(0x7F))
        return 0;
    return text.at(0).unicode();
}

} // namespace

QtTextBox::QtTextBox(QPlainTextEdit *edit, bool singleLine) : edit_(edit), singleLine_(singleLine)
{
    edit_->setTabChangesFocus(true);
    // Expressions hold no letter that settles a reading direction; without this Qt searches
    // the whole text for one on every edit.
    QTextOption option = edit_->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    edit_->document()->setDefaultTextOption(option);
    if (singleLine_) {
        // Its text is mostly written by the program, result after result: keeping every one
        // for undo would grow without end.
        edit_->setUndoRedoEnabled(false);
        edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    edit_->installEventFilter(this);
    edit_->viewport()->installEventFilter(this);
    edit_->viewport()->setMouseTracking(true);
    ownDescription_ = edit_->accessibleDescription();
    connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
        if (faultMarked_) // a fault marked goes with the next edit
            markFault(-1, 0);
        if (!writing_)
            notifyChange();
    });
}

int QtTextBox::toBoxPosition(const QString &widgetText, int widgetPosition)
{
    int limit = qBound(0, widgetPosition, int(widgetText.size()));
    return limit + int(QStringView(widgetText).left(limit).count(QLatin1Char('\n')));
}

int QtTextBox::toWidgetPosition(const QString &widgetText, int boxPosition)
{
    // A position between the CR and the LF of a break stays before the break.
    int box = 0;
    int i = 0;
    for (; i < widgetText.size(); ++i) {
        int width = widgetText.at(i) == QLatin1Char('\n') ? 2 : 1;
        if (box + width > boxPosition)
            break;
        box += width;
    }
    return i;
}

QString QtTextBox::text() const { return toBoxText(edit_->toPlainText()); }

class QtTextBox::CaretBatch
{
public:
    explicit CaretBatch(QtTextBox &box) : box_(box) { ++box_.batching_; }
    ~CaretBatch()
    {
        if (--box_.batching_ > 0 || !box_.caret_)
            return;
        const QTextCursor caret = *box_.caret_;
        const std::optional<int> scroll = box_.keepScroll_;
        box_.caret_.reset();
        box_.keepScroll_.reset();
        box_.edit_->setTextCursor(caret);
        if (scroll)
            box_.edit_->verticalScrollBar()->setValue(*scroll);
    }
    CaretBatch(const CaretBatch &) = delete;
    CaretBatch &operator=(const CaretBatch &) = delete;

private:
    QtTextBox &box_;
};

QTextCursor QtTextBox::caret() const { return caret_ ? *caret_ : edit_->textCursor(); }

void QtTextBox::placeCaret(const QTextCursor &cursor, std::optional<int> keepScroll)
{
    if (batching_ == 0) {
        edit_->setTextCursor(cursor);
        if (keepScroll)
            edit_->verticalScrollBar()->setValue(*keepScroll);
        return;
    }
    caret_ = cursor;
    keepScroll_ = keepScroll;
}

void QtTextBox::notifyChange()
{
    // A day of typing must not grow memory without bound: past this many steps the undo
    // history starts afresh.
    constexpr int MaxUndoSteps = 10000;
    if (edit_->document()->availableUndoSteps() > MaxUndoSteps)
        edit_->document()->clearUndoRedoStacks();
    if (!onChange)
        return;
    CaretBatch batch(*this); // the handler's writes show their caret once
    ++notifying_;
    onChange();
    --notifying_;
}

void QtTextBox::replaceWidgetText(int from, int to, const QString &replacement)
{
    QTextCursor cursor(edit_->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    // A write made by a change handler belongs to the change that ran it: one undo step for
    // both, so that undoing never lands on a text the handler would rewrite at once.
    if (notifying_ > 0)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    cursor.insertText(replacement);
    cursor.endEditBlock();
}

void QtTextBox::setText(const QString &newText)
{
    const QString wanted = toWidgetText(newText);
    const QString current = edit_->toPlainText();
    if (wanted == current)
        return;
    qsizetype prefix = 0;
    const qsizetype shorter = qMin(wanted.size(), current.size());
    while (prefix < shorter && wanted.at(prefix) == current.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           wanted.at(wanted.size() - 1 - suffix) == current.at(current.size() - 1 - suffix))
        ++suffix;
    CaretBatch batch(*this);
    ++writing_;
    const int scroll = edit_->verticalScrollBar()->value();
    replaceWidgetText(int(prefix), int(current.size() - suffix), wanted.mid(prefix, wanted.size() - prefix - suffix));
    // A written text leaves the caret at the start, before the change handler runs, and the
    // view where it was.
    placeCaret(QTextCursor(edit_->document()), scroll);
    --writing_;
    notifyChange();
}

int QtTextBox::selStart() const
{
    const QTextCursor cursor = caret();
    return toBoxPosition(edit_->toPlainText(), cursor.selectionStart());
}

void QtTextBox::setSelStart(int position)
{
    const QString widgetText = edit_->toPlainText();
    QTextCursor cursor = caret();
    cursor.setPosition(toWidgetPosition(widgetText, qMax(0, position)));
    placeCaret(cursor);
}

int QtTextBox::selLength() const
{
    const QTextCursor cursor = caret();
    const QString widgetText = edit_->toPlainText();
    return toBoxPosition(widgetText, cursor.selectionEnd()) - toBoxPosition(widgetText, cursor.selectionStart());
}

void QtTextBox::setSelLength(int length)
{
    const QString widgetText = edit_->toPlainText();
    QTextCursor cursor = caret();
    const int start = cursor.selectionStart();
    const int startBox = toBoxPosition(widgetText, start);
    const int end = toWidgetPosition(widgetText, startBox + qMax(0, length));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    placeCaret(cursor);
}

QString QtTextBox::selText() const
{
    QString selected = caret().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return toBoxText(selected);
}

void QtTextBox::setSelText(const QString &text)
{
    CaretBatch batch(*this);
    TextBox::setSelText(text);
}

void QtTextBox::setForeColor(Rgb color)
{
    color_ = color;
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Text, QColor(color.red, color.green, color.blue));
    edit_->setPalette(palette);
}

void QtTextBox::setFocus() { edit_->setFocus(Qt::OtherFocusReason); }

void QtTextBox::setFontBold(bool bold)
{
    QFont font = edit_->font();
    font.setBold(bold);
    edit_->setFont(font);
}

bool QtTextBox::isFontBold() const { return edit_->font().bold(); }

void QtTextBox::setToolTip(const QString &text) { edit_->setToolTip(text); }

QString QtTextBox::toolTip() const { return edit_->toolTip(); }

void QtTextBox::setAccessibleDescription(const QString &text)
{
    const QString description = text.isEmpty() ? ownDescription_ : text;
    if (edit_->accessibleDescription() != description)
        edit_->setAccessibleDescription(description);
}

QString QtTextBox::accessibleDescription() const { return edit_->accessibleDescription(); }

// An extra selection draws over the text without being part of it: neither the document nor
// the cursor changes, so neither the undo history nor the caret does.
void QtTextBox::markFault(int start, int length)
{
    if (start < 0) {
        if (faultMarked_)
            edit_->setExtraSelections({});
        faultMarked_ = false;
        return;
    }
    const QString widgetText = edit_->toPlainText();
    int from = toWidgetPosition(widgetText, start);
    int to = toWidgetPosition(widgetText, start + qMax(0, length));
    if (to == from)
        from = qMax(0, from - 1); // at the end: the character before
    if (to == from)
        to = qMin(int(widgetText.size()), from + 1);
    QTextEdit::ExtraSelection fault;
    fault.cursor = QTextCursor(edit_->document());
    fault.cursor.setPosition(from);
    fault.cursor.setPosition(to, QTextCursor::KeepAnchor);
    fault.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    fault.format.setUnderlineColor(QColor(255, 0, 0));
    edit_->setExtraSelections({fault});
    faultMarked_ = true;
}

// A typed character and whatever the change handler then writes are one edit: the widget lays
// its text out once, not twice (that matters for long texts), and one undo takes both back.
// The caret reaches the widget once, where the handler left it.
void QtTextBox::typeCharacter(QChar character)
{
    CaretBatch batch(*this);
    QTextCursor cursor = caret();
    cursor.beginEditBlock();
    ++writing_;
    cursor.insertText(QString(character));
    placeCaret(cursor);
    notifyChange();
    cursor.endEditBlock();
    --writing_;
}

bool QtTextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edit_ && event->type() == QEvent::ShortcutOverride) {
        if (isMenuShortcut(edit_, static_cast<QKeyEvent *>(event))) {
            event->ignore(); // not taken here: the menu's shortcut runs
            return true;
        }
    } else if (watched == edit_ && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && onKeyboardFocus)
            onKeyboardFocus();
    } else if (watched == edit_ && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier && onRecall) {
            onRecall(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
        if (isAccessKey(key)) {
            event->ignore(); // not typed here: on to the window, whose menu bar takes it
            return true;
        }
        int keyAscii = keyAsciiOf(key);
        if (keyAscii != 0 && !(key->modifiers() & Qt::ControlModifier && keyAscii >= 32)) {
            const int typed = keyAscii;
            if (onKeyPress)
                onKeyPress(keyAscii);
            if (keyAscii == 0)
                return true;
            if (keyAscii != typed) { // the handler typed another character instead
                edit_->textCursor().insertText(QString(QChar(keyAscii)));
                return true;
            }
            if (keyAscii == 13 && singleLine_)
                return true;
            if (keyAscii >= 32 && !(key->modifiers() & Qt::ControlModifier)) {
                typeCharacter(QChar(keyAscii));
                return true;
            }
        }
    } else if (watched == edit_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            if (onMouseMove)
                onMouseMove();
            break;
        case QEvent::MouseButtonPress:
            if (onMouseDown)
                onMouseDown();
            break;
        case QEvent::MouseButtonRelease:
            if (onMouseUp)
                onMouseUp();
            // The press has placed the caret already.
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && onClick)
                onClick();
            break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform::qt
