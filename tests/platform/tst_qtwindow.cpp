#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "app/WindowLayout.h"
#include "platform/ListBox.h"
#include "platform/Button.h"
#include "platform/MenuEntry.h"
#include "platform/qt/OriginalFonts.h"
#include "platform/qt/QtTextBox.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QtEndian>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace {

const QString sample = QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3");

// A control as the Tab key meets it: its name, and its index in a control array.
QString stop(const QWidget *w)
{
    const QVariant index = w->property("index");
    return index.isValid() ? QStringLiteral("%1(%2)").arg(w->objectName()).arg(index.toInt()) : w->objectName();
}

QStringList tabCycle(bool paletteShown)
{
    QStringList order{"Text1", "Text2", "Command4", "Command5", "Command2", "Command3", "CommandCopy1",
                      "CommandCopy2", "List1", "List2", "Picture1", "List3", "CommandCC"};
    if (!paletteShown)
        order.removeAll(QStringLiteral("List3")); // a hidden control is no tab stop
    for (int i = 0; i < 18; ++i)
        order << QStringLiteral("CommandNum(%1)").arg(i);
    order << "Command1" << "Command6";
    return order;
}

struct Running
{
    app::MainWindow window;
    app::FormTallix form{window.controls()};

    Running()
    {
        form.Form_Load();
        window.show();
    }
    QPlainTextEdit *edit(const char *name) { return window.findChild<QPlainTextEdit *>(QLatin1String(name)); }
};

} // namespace

class TestQtWindow : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        // Each control where the window's layout table puts it (the keypad: windowShape).
        for (const app::ControlLayout &c : app::WindowLayout)
            if (c.kind != app::ControlLayout::Keypad)
                QTest::newRow(c.name) << QString::fromLatin1(c.name) << QRect(c.left, c.top, c.width, c.height);
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        app::MainWindow window;
        QWidget *w = window.clientArea()->findChild<QWidget *>(name);
        QVERIFY(w);
        const QRect expected(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0), qRound(twips.width() / 15.0),
                             qRound(twips.height() / 15.0));
        QCOMPARE(w->geometry(), expected);
    }

    void windowShape()
    {
        Running r;
        QCOMPARE(r.window.clientArea()->size(), QSize(585, 382));
        QCOMPARE(r.window.windowTitle(), QStringLiteral(" Numerette 9.19"));
        QVERIFY(!(r.window.windowFlags() & Qt::WindowMaximizeButtonHint));
        const QList<QPushButton *> keys = r.window.findChildren<QPushButton *>(QStringLiteral("CommandNum"));
        QCOMPARE(keys.size(), 18);
        for (QPushButton *key : keys) {
            const int i = key->property("index").toInt();
            QCOMPARE(key->geometry(), QRect(qRound((1080 + 360 * i) / 15.0), 168, 25, 25));
        }
        QVERIFY(r.window.findChild<QAbstractItemView *>(QStringLiteral("List3"))->isHidden());
        QCOMPARE(r.window.findChild<QPushButton *>(QStringLiteral("CommandCopy2"))->toolTip(),
                 QStringLiteral("Copy the Math Expression and Resultt"));
    }

    // Screen readers and automation find every control by name; Tab visits them in order.
    void accessibleAndTabOrder()
    {
        app::MainWindow window;
        for (QWidget *w : window.clientArea()->findChildren<QWidget *>()) {
            if (qobject_cast<QPushButton *>(w) || qobject_cast<QPlainTextEdit *>(w) ||
                (qobject_cast<QAbstractItemView *>(w) && w->objectName().startsWith(QLatin1String("List"))))
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("CommandCC"))->accessibleName(),
                 QStringLiteral("Sent the Result to Calculate Textbox"));
        QStringList order;
        QWidget *first = window.findChild<QWidget *>(QStringLiteral("Text1"));
        QWidget *w = first;
        do {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                order << w->objectName();
            w = w->nextInFocusChain();
        } while (w && w != first);
        QCOMPARE(order.mid(0, 8), (QStringList{"Text1", "Text2", "Command4", "Command5", "Command2", "Command3",
                                               "CommandCopy1", "CommandCopy2"}));
    }

    // Real Tab and Shift+Tab key presses go round all the stops, in order, and come back.
    void tabKeysGoRound_data()
    {
        QTest::addColumn<bool>("paletteShown");
        QTest::newRow("palette shown: 33 stops") << true;
        QTest::newRow("palette hidden") << false;
    }

    void tabKeysGoRound()
    {
        QFETCH(bool, paletteShown);
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        // Past the first entry: reaching the box by Tab before it ends the instruction state.
        r.window.controls().Text1->onClick();
        r.window.controls().Text1->setText(QStringLiteral("1 + 2"));
        if (paletteShown)
            r.window.controls().Command5->onClick();
        const QStringList expected = tabCycle(paletteShown);
        QCOMPARE(expected.size(), paletteShown ? 33 : 32);
        const QString text = r.window.controls().Text1->text();
        r.edit("Text1")->setFocus();
        QStringList forward;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            forward << stop(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(forward, expected);
        QCOMPARE(stop(QApplication::focusWidget()), QStringLiteral("Text1"));
        QStringList backward;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            backward.prepend(stop(QApplication::focusWidget()));
        }
        QCOMPARE(backward, expected);
        QCOMPARE(r.window.controls().Text1->text(), text); // the keys typed nothing
    }

    // Buttons that share a caption, and keys that show a sign, have names a listener can tell apart.
    void spokenNames()
    {
        Running r;
        app::MainWindow &window = r.window;
        auto name = [&](const char *control) {
            return window.findChild<QWidget *>(QLatin1String(control))->accessibleName();
        };
        QCOMPARE(name("Command4"), QStringLiteral("Clear Calculate Textbox"));
        QCOMPARE(name("Command1"), QStringLiteral("Clear Calculate History"));
        QStringList keys;
        for (QPushButton *key : window.findChildren<QPushButton *>(QStringLiteral("CommandNum")))
            if (key->property("index").toInt() >= 9)
                keys << key->accessibleName();
        QCOMPARE(keys, (QStringList{"9", "decimal point", "plus", "minus", "times", "divided by", "power",
                                    "open parenthesis", "close parenthesis"}));
        window.controls().List3->setVisible(true); // the palette's view gets its rows when shown
        auto *palette = window.findChild<QTableView *>(QStringLiteral("List3"));
        QStringList spoken;
        for (int row : {0, 4, 6, 7})
            spoken << palette->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
        QCOMPARE(spoken, (QStringList{"plus", "integer division", "modulo", "Sqr, square root"}));
    }

    // After a calculation started with the mouse, the send button shows that it has the focus;
    // the outcome appears as a notification, which a screen reader speaks wherever the focus
    // is, with the result box's explanation when it has one.
    void focusShownAndOutcomeAnnounced()
    {
        // What a screen reader finds each time a notification appears.
        struct Heard : QObject
        {
            QStringList notifications;
            bool eventFilter(QObject *watched, QEvent *event) override
            {
                if (event->type() == QEvent::Show && watched->isWidgetType()) {
                    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(watched);
                    if (a != nullptr && a->role() == QAccessible::Notification && !a->state().invisible)
                        notifications << a->text(QAccessible::Name);
                }
                return false;
            }
        } heard;
        qApp->installEventFilter(&heard);
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        r.window.controls().Text1->setText(QStringLiteral("6*7"));
        QTest::mouseClick(r.window.findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
        auto *send = r.window.findChild<QPushButton *>(QStringLiteral("CommandCC"));
        QVERIFY(send->hasFocus());
        QVERIFY(r.window.testAttribute(Qt::WA_KeyboardFocusChange)); // the style draws the ring
        r.window.controls().Text1->setText(QStringLiteral("6*"));
        r.edit("Text1")->setFocus();
        QTest::keyClick(r.edit("Text1"), Qt::Key_Return);
        QVERIFY(r.edit("Text1")->hasFocus());
        QTest::keyClick(r.edit("Text1"), Qt::Key_Return); // the same again is heard again
        qApp->removeEventFilter(&heard);
        // A failure is heard with its reason, as the result box's tooltip gives it.
        const QString failure = QStringLiteral("Error. Expected expression at character 4 (error 1023)");
        QCOMPARE(heard.notifications, (QStringList{"= 42", failure, failure}));
    }

    // Every outcome is announced by showing the notification again: that must not leave
    // anything behind (showing it on the main window itself laid the window out again each
    // time, and each layout left an animation object: the window grew slower all day).
    void announcementsLeaveNothingBehind()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowExposed(&r.window));
        platform::Window &window = r.window;
        window.announce(QStringLiteral("= 1"));
        QCoreApplication::processEvents();
        const qsizetype objects = r.window.findChildren<QObject *>().size();
        for (int i = 0; i < 50; ++i) {
            window.announce(QStringLiteral("= %1").arg(i));
            QCoreApplication::processEvents();
        }
        QCOMPARE(r.window.findChildren<QObject *>().size(), objects);
    }

    // The result's picture box, a tab stop of its own, shows when it has the focus, and is
    // named apart from the result box.
    void pictureBoxShowsItsFocus()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        auto *picture = r.window.findChild<QFrame *>(QStringLiteral("Picture1"));
        r.edit("Text1")->setFocus();
        const QImage unfocused = picture->grab().toImage();
        picture->setFocus(Qt::TabFocusReason);
        QVERIFY(picture->hasFocus());
        QVERIFY(picture->grab().toImage() != unfocused);
        r.edit("Text1")->setFocus();
        QCOMPARE(picture->grab().toImage(), unfocused);
        QVERIFY(!picture->accessibleName().contains(QStringLiteral("frame"), Qt::CaseInsensitive));
        QCOMPARE(QAccessible::queryAccessibleInterface(picture)->role(), QAccessible::Grouping); // not a window's frame
        QVERIFY(picture->accessibleName() != r.edit("Text2")->accessibleName());
    }

    // A result that needs explaining says why in the result box's tooltip and description; the
    // box's text, colour and the history stay as they are. A syntax error's spot is underlined
    // in the expression box until the next edit, which neither text nor caret notices.
    void resultsExplained_data()
    {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("marked"); // where the underline starts, -1 for none
        QTest::newRow("division by zero") << "1/0" << "Error" << "Division by zero (error 11)" << -1;
        QTest::newRow("function meant")
            << "Sqrt(2)" << "Error" << "SQRT is not a function; did you mean Sqr? (Type mismatch, error 13)" << -1;
        QTest::newRow("syntax error") << "  (1 + 2" << "Error" << "Expected ')' at character 9 (error 1006)" << 7;
        QTest::newRow("a date") << "DateSerial(2024, 6, 13)" << "Error"
                                << "Type mismatch: the value is the date 6/13/2024 (error 13)" << -1;
        QTest::newRow("undefined name") << "pi * 2" << "= 0"
                                        << "PI is not a name the language knows; it counted as 0" << -1;
        QTest::newRow("nothing to say") << "1 + 1" << "= 2" << "" << -1;
    }
    void resultsExplained()
    {
        QFETCH(QString, expression);
        QFETCH(QString, shown);
        QFETCH(QString, reason);
        QFETCH(int, marked);
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        QTest::mouseClick(r.edit("Text1")->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        platform::TextBox &text1 = *r.window.controls().Text1;
        text1.setText(expression);
        text1.setSelStart(1);
        text1.setSelLength(2);
        QTest::keyClick(r.edit("Text1"), Qt::Key_Return);
        QPlainTextEdit *text2 = r.edit("Text2");
        QCOMPARE(r.window.controls().Text2->text(), shown);
        QCOMPARE(r.window.controls().Text2->foreColor(), shown == "Error" ? platform::colors::Red : platform::colors::Navy);
        QCOMPARE(text2->toolTip(), reason);
        QCOMPARE(text2->accessibleDescription(), reason.isEmpty() ? QStringLiteral("The result of the last calculation") : reason);
        QCOMPARE(r.window.controls().List1->count(), shown == "Error" ? 0 : 1);
        const QList<QTextEdit::ExtraSelection> marks = r.edit("Text1")->extraSelections();
        QCOMPARE(marks.isEmpty(), marked < 0);
        if (marked >= 0) {
            QCOMPARE(marks.first().format.underlineStyle(), QTextCharFormat::WaveUnderline);
            QCOMPARE(marks.first().cursor.selectionStart(), marked);
            QCOMPARE(text1.text(), expression);
            QCOMPARE(text1.selStart(), 1); // the caret and selection as they were
            QCOMPARE(text1.selLength(), 2);
            QTest::keyClick(r.edit("Text1"), Qt::Key_End);
            QTest::keyClicks(r.edit("Text1"), QStringLiteral(")"));
            QVERIFY(r.edit("Text1")->extraSelections().isEmpty());
        }
        // Another text in the result box takes the reason away.
        r.window.controls().mnuClearAll->onClick();
        QCOMPARE(text2->toolTip(), QString());
    }

    // A keyboard user reaches the expression box by Tab or Shift+Tab: the instruction text goes
    // as at the first click, and the working colours come.
    void keyboardFocusEndsTheInstructions()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        QTRY_COMPARE(r.window.activeControlName(), QStringLiteral("Text2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Text1"));
        QCOMPARE(r.window.controls().Text1->text(), QString());
        QCOMPARE(r.window.controls().Text1->foreColor(), platform::colors::Navy);
        QCOMPARE(r.window.controls().List1->foreColor(), platform::colors::DarkNavy);
        QCOMPARE(r.window.controls().List1->count(), 0);
    }

    // Controls whose text colour is fixed keep the background it was chosen for, under a dark
    // theme too; the others follow the theme.
    void fixedColoursKeepTheirBackground()
    {
        const QPalette before = QApplication::palette();
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Button, QColor(50, 50, 50));
        dark.setColor(QPalette::ToolTipBase, QColor(60, 60, 60));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        {
            app::MainWindow window;
            auto color = [&](const char *control, QPalette::ColorRole role) {
                return window.findChild<QWidget *>(QLatin1String(control))->palette().color(role);
            };
            QCOMPARE(color("Text1", QPalette::Base), QColor(255, 255, 255));
            QCOMPARE(color("Text2", QPalette::Base), QColor(255, 255, 255));
            QCOMPARE(color("Picture1", QPalette::Window), QColor(255, 255, 255));
            QVERIFY(window.findChild<QWidget *>(QStringLiteral("Picture1"))->autoFillBackground());
            QCOMPARE(color("List1", QPalette::Base), QColor(255, 255, 225));
            QCOMPARE(color("List2", QPalette::Base), QColor(255, 255, 225));
            QCOMPARE(color("List3", QPalette::Base), QColor(224, 224, 224));
            QCOMPARE(color("Command3", QPalette::Button), QColor(50, 50, 50));
        }
        QApplication::setPalette(before);
    }

    // Under a dark theme each picture button's picture stands out from the dark button face at
    // 4.5:1 at least, as text must.
    void picturesStandOutOnDarkFaces_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"CommandCC", "CommandCopy1", "CommandCopy2", "Command6"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void picturesStandOutOnDarkFaces()
    {
        QFETCH(QString, name);
        auto luminance = [](QColor c) {
            auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        auto contrast = [&](QColor a, QColor b) {
            const double la = luminance(a), lb = luminance(b);
            return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
        };
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        dark.setColor(QPalette::Button, QColor(50, 50, 50));
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        dark.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(dark);
        double best = 0;
        {
            app::MainWindow window;
            auto *button = window.findChild<QPushButton *>(name);
            const QImage face = button->grab().toImage();
            const QRect picture(QPoint(0, 0), button->iconSize());
            const QRect at = picture.translated(face.rect().center() - picture.center());
            for (int y = at.top(); y <= at.bottom(); ++y)
                for (int x = at.left(); x <= at.right(); ++x)
                    best = std::max(best, contrast(face.pixelColor(x, y), QColor(50, 50, 50)));
        }
        QApplication::setPalette(before);
        QVERIFY2(best >= 4.5, qPrintable(QString::number(best)));
    }

    // The original's fonts where fonts-wine is installed; rows a line high, and whole rows only,
    // once the lists are shown.
    void fontsAndRows()
    {
        app::MainWindow window;
        if (platform::qt::originalFontLoaded(QStringLiteral("MS Sans Serif"))) {
            QCOMPARE(QFontInfo(window.findChild<QWidget *>(QStringLiteral("Text1"))->font()).family(),
                     QStringLiteral("MS Sans Serif"));
            QCOMPARE(QFontInfo(window.findChild<QWidget *>(QStringLiteral("Command3"))->font()).family(),
                     QStringLiteral("MS Sans Serif"));
        }
        if (platform::qt::originalFontLoaded(QStringLiteral("Tahoma")))
            QCOMPARE(QFontInfo(window.findChildren<QPushButton *>(QStringLiteral("CommandNum")).constFirst()->font())
                         .family(),
                     QStringLiteral("Tahoma"));
        auto *calculate = window.findChild<QPushButton *>(QStringLiteral("Command3"));
        QVERIFY(calculate->fontMetrics().horizontalAdvance(calculate->text()) + 8 <= calculate->width());
        window.show(); // rows are measured when a list is first shown
        window.controls().List3->setVisible(true);
        for (const char *name : {"List1", "List2", "List3"}) {
            auto *list = window.findChild<QTableView *>(QLatin1String(name));
            const int row = list->verticalHeader()->defaultSectionSize();
            QCOMPARE(row, QFontMetrics(list->font()).height());
            QCOMPARE((list->height() - 2 * list->frameWidth()) % row, 0);
        }
        auto *results = window.findChild<QTableView *>(QStringLiteral("List2"));
        const int scrollBar = results->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QVERIFY2(results->fontMetrics().horizontalAdvance(QStringLiteral("insert the history result")) <
                     results->width() - scrollBar - 2 * results->frameWidth() - 6,
                 "a result instruction row is cut");
    }

    // Text2 is taller than its frame; its line is drawn where a one-line box draws it, whole.
    void resultLineShowsWhole()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowExposed(&r.window));
        QPlainTextEdit *text2 = r.edit("Text2");
        const QRectF line = text2->document()->documentLayout()->blockBoundingRect(text2->document()->firstBlock());
        const int bottom = text2->viewport()->mapTo(text2->parentWidget(), QPoint(0, qCeil(line.bottom()))).y();
        QVERIFY2(bottom + text2->frameWidth() <= text2->parentWidget()->height(),
                 qPrintable(QStringLiteral("the line ends at %1").arg(bottom)));
    }

    // Only the checked entry of the Decimal Places menu shows a mark, also after others were checked.
    void onlyTheCheckedEntryShowsAMark()
    {
        Running r;
        auto *menu = r.window.findChild<QMenu *>(QStringLiteral("mnuDec"));
        QStringList marked;
        for (const char *entry : {"mnuDec5", "mnuDecAuto", "mnuDec0"})
            r.window.findChild<QAction *>(QLatin1String(entry))->trigger();
        for (QAction *action : menu->actions())
            if (action->isCheckable() || action->isChecked())
                marked << action->objectName();
        QCOMPARE(marked, QStringList{"mnuDec0"});
        QVERIFY(r.window.findChild<QAction *>(QStringLiteral("mnuDec0"))->isChecked());
        r.window.findChild<QAction *>(QStringLiteral("mnuDec0"))->trigger(); // again: still checked
        QVERIFY(r.window.findChild<QAction *>(QStringLiteral("mnuDec0"))->isChecked());
    }

    // Each bitmap strike of a font can be put first, the others keeping their order; a font
    // that is cut short or has no such strike gives no copy rather than a damaged one.
    void bitmapStrikesReordered()
    {
        // A font file of one table, EBLC, holding three 48-byte strike records marked 'a', 'b', 'c'.
        QByteArray font(12 + 16, '\0');
        font[5] = 1; // one table
        font.replace(12, 4, "EBLC");
        const int eblc = int(font.size());
        QByteArray table(8, '\0');
        table[7] = 3; // three strikes
        for (char mark : {'a', 'b', 'c'})
            table += QByteArray(48, mark);
        qToBigEndian<quint32>(quint32(eblc), font.data() + 12 + 8);
        qToBigEndian<quint32>(quint32(table.size()), font.data() + 12 + 12);
        font += table;
        auto order = [&](const QByteArray &copy) {
            QString marks;
            for (int i = 0; i < 3; ++i)
                marks += QLatin1Char(copy.at(eblc + 8 + 48 * i));
            return marks;
        };
        QCOMPARE(order(platform::qt::withStrikeFirst(font, 0)), QStringLiteral("abc"));
        QCOMPARE(order(platform::qt::withStrikeFirst(font, 2)), QStringLiteral("cab"));
        QCOMPARE(platform::qt::withStrikeFirst(font, 2).size(), font.size());
        QVERIFY(platform::qt::withStrikeFirst(font, 3).isEmpty());
        QVERIFY(platform::qt::withStrikeFirst(font.left(font.size() - 1), 0).isEmpty());
        QVERIFY(platform::qt::withStrikeFirst(font.left(20), 0).isEmpty());
        QVERIFY(platform::qt::withStrikeFirst(QByteArray(), 0).isEmpty());
    }

    void lineBreaksReadAsCrLf()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        box.setText(QStringLiteral("12\r\n34\r\n"));
        QCOMPARE(edit.toPlainText(), QStringLiteral("12\n34\n"));
        QCOMPARE(box.text(), QStringLiteral("12\r\n34\r\n"));
        box.setSelStart(4); // after the CR LF
        QCOMPARE(edit.textCursor().position(), 3);
        QCOMPARE(box.selStart(), 4);
        box.setSelStart(3); // between CR and LF: before the break
        QCOMPARE(box.selStart(), 2);
        box.setSelStart(0);
        box.setSelLength(6);
        QCOMPARE(box.selText(), QStringLiteral("12\r\n34"));
        box.setSelStart(65535); // beyond the end: the end, nothing selected
        QCOMPARE(box.selStart(), 8);
        QCOMPARE(box.selLength(), 0);
    }

    // The write runs the change handler nested; the handler sees the new text and may write again.
    void changeRunsNestedInsideTheWrite()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        QStringList seen;
        box.onChange = [&] {
            seen << box.text();
            if (box.text().endsWith('+'))
                box.setText(box.text().chopped(1) + QStringLiteral(" + "));
        };
        box.setText(QStringLiteral("5+"));
        QCOMPARE(seen, (QStringList{"5+", "5 + "}));
        QCOMPARE(box.text(), QStringLiteral("5 + "));
        box.setText(QStringLiteral("5 + ")); // the same text is no change
        QCOMPARE(seen.size(), 2);
    }

    // Programmatic writes are the smallest edit, so the widget's own undo takes one back.
    void writesKeepUndo()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        box.setText(QStringLiteral("1 + 2 * 4"));
        box.setText(QStringLiteral("1 + 3 * 4"));
        QCOMPARE(edit.toPlainText(), QStringLiteral("1 + 3 * 4"));
        edit.undo();
        QCOMPARE(box.text(), QStringLiteral("1 + 2 * 4"));
    }

    void keyPressHookComesFirst()
    {
        QPlainTextEdit edit;
        platform::qt::QtTextBox box(&edit, false);
        QStringList seen;
        box.onKeyPress = [&](int &key) {
            seen << QStringLiteral("%1:%2").arg(key).arg(box.text());
            if (key == 'x')
                key = 0;
        };
        QTest::keyClicks(&edit, QStringLiteral("5x+"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QTest::keyClick(&edit, Qt::Key_Left);
        QTest::keyClick(&edit, Qt::Key_Delete); // no character key: the hook does not see it
        QCOMPARE(seen, (QStringList{"53:", "120:5", "43:5", "8:5+"}));
        QCOMPARE(box.text(), QString());
    }

    void typingAndEnterCalculate()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        QPlainTextEdit *text1 = r.edit("Text1");
        r.window.controls().Text1->setText(QString());
        text1->setFocus();
        QTest::keyClicks(text1, QStringLiteral("238+67*5.25-(65-6.5)/22+2^3"));
        QTest::keyClick(text1, Qt::Key_Return);
        const QString spaced = QStringLiteral("238 + 67 * 5.25 - (65 - 6.5) / 22 + 2 ^ 3");
        QCOMPARE(r.window.controls().Text1->text(), spaced); // Enter inserted no line break
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 595.09"));
        QCOMPARE(r.window.controls().Text2->foreColor(), platform::colors::Navy);
        QCOMPARE(r.window.activeControlName(), QStringLiteral("CommandCC"));
        QCOMPARE(r.window.controls().List1->item(0), spaced);
        QCOMPARE(r.window.controls().List2->item(0), QStringLiteral("  = 595.09"));
    }

    void shortcutAndFocusedEnter()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        r.window.controls().Text1->setText(QStringLiteral("2^10"));
        r.edit("Text1")->setFocus();
        QTest::keyClick(r.edit("Text1"), Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 1,024"));
        r.window.controls().Text1->setText(QStringLiteral("3*3"));
        auto *calculate = r.window.findChild<QPushButton *>(QStringLiteral("Command3"));
        calculate->setFocus();
        QCOMPARE(r.window.activeControlName(), QStringLiteral("Command3"));
        QTest::keyClick(calculate, Qt::Key_Return);
        QCOMPARE(r.window.controls().Text2->text(), QStringLiteral("= 9"));
    }

    void activationFocusesResultBox()
    {
        Running r;
        QVERIFY(QTest::qWaitForWindowExposed(&r.window));
        QTRY_COMPARE(r.window.activeControlName(), QStringLiteral("Text2"));
        QCOMPARE(r.window.controls().Text2->selStart(), 8);
    }
};

QTEST_MAIN(TestQtWindow)
#include "tst_qtwindow.moc"
