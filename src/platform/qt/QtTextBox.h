#pragma once

#include "platform/TextBox.h"

#include <QObject>
#include <QTextCursor>

#include <optional>

class QPlainTextEdit;

namespace platform::qt {

// A text box over QPlainTextEdit. The widget holds LF; the port reads CR LF and maps every
// position, so that a caret position counts a line break as two characters. Programmatic
// writes are applied as the smallest edit (common prefix and suffix kept), so the widget's
// undo history and scroll position survive them.
class QtTextBox : public QObject, public TextBox
{
public:
    // A single-line box takes no line breaks: Enter inserts nothing.
    QtTextBox(QPlainTextEdit *edit, bool singleLine);

    QString text() const override;
    void setText(const QString &text) override;
    int selStart() const override;
    void setSelStart(int position) override;
    int selLength() const override;
    void setSelLength(int length) override;
    QString selText() const override;
    void setSelText(const QString &text) override; // the caret reaches the widget once
    void setForeColor(Rgb color) override;
    Rgb foreColor() const override { return color_; }
    void setFocus() override;
    void setFontBold(bool bold) override;
    bool isFontBold() const override;
    void setToolTip(const QString &text) override;
    QString toolTip() const override;
    void setAccessibleDescription(const QString &text) override;
    QString accessibleDescription() const override;
    void markFault(int start, int length) override;

    QPlainTextEdit *widget() const { return edit_; }

    // Position conversions between the box's CR LF text and the widget's LF text.
    static int toBoxPosition(const QString &widgetText, int widgetPosition);
    static int toWidgetPosition(const QString &widgetText, int boxPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // While the box writes its text, the caret moves on a cursor of the port's own and reaches
    // the widget once, when the outermost write ends: every move of the widget's caret lays
    // the line out and computes the caret's rectangle, which costs milliseconds in a long text.
    class CaretBatch;
    QTextCursor caret() const;
    void placeCaret(const QTextCursor &cursor, std::optional<int> keepScroll = std::nullopt);
    void replaceWidgetText(int from, int to, const QString &replacement);
    void notifyChange();
    void typeCharacter(QChar character);

    QPlainTextEdit *edit_;
    bool singleLine_;
    int writing_ = 0; // programmatic edits under way: their signals are not the user's
    int notifying_ = 0; // change handlers running; their writes join the change's undo step
    Rgb color_;
    QString ownDescription_; // the widget's accessible description before any was written
    bool faultMarked_ = false;
    int batching_ = 0;
    std::optional<QTextCursor> caret_; // the caret of the write under way, not yet shown
    std::optional<int> keepScroll_; // the scroll position a write keeps, when it placed the caret
};

} // namespace platform::qt
