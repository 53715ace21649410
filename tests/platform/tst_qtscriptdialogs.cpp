#include "platform/qt/QtScriptDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

// Runs `act` on the modal dialog once it shows.
void whenShown(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        act(dialog);
    });
}

} // namespace

class TestQtScriptDialogs : public QObject
{
    Q_OBJECT

private slots:
    void messageButtons_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<QString>("expectedButtons"); // in order, the default marked with *
        QTest::addColumn<int>("press");               // a standard button, or 0 for Escape
        QTest::addColumn<int>("answer");
        QTest::newRow("OK") << 0 << 0 << "OK*" << int(QMessageBox::Ok) << 1;
        QTest::newRow("OK by Escape") << 0 << 0 << "OK*" << 0 << 1;
        QTest::newRow("OK Cancel, Cancel default") << 1 << 1 << "OK Cancel*" << int(QMessageBox::Ok) << 1;
        QTest::newRow("OK Cancel by Escape") << 1 << 0 << "OK* Cancel" << 0 << 2;
        QTest::newRow("Abort Retry Ignore") << 2 << 2 << "Abort Retry Ignore*" << int(QMessageBox::Retry) << 4;
        QTest::newRow("Ignore") << 2 << 0 << "Abort* Retry Ignore" << int(QMessageBox::Ignore) << 5;
        QTest::newRow("Yes No Cancel") << 3 << 1 << "Yes No* Cancel" << int(QMessageBox::Yes) << 6;
        QTest::newRow("Yes No Cancel by Escape") << 3 << 0 << "Yes* No Cancel" << 0 << 2;
        QTest::newRow("Yes No") << 4 << 0 << "Yes* No" << int(QMessageBox::No) << 7;
        QTest::newRow("Retry Cancel") << 5 << 0 << "Retry* Cancel" << int(QMessageBox::Retry) << 4;
        QTest::newRow("default beyond the set") << 4 << 3 << "Yes* No" << int(QMessageBox::Yes) << 6;
    }
    void messageButtons()
    {
        QFETCH(int, buttons);
        QFETCH(int, defaultButton);
        QFETCH(QString, expectedButtons);
        QFETCH(int, press);
        QFETCH(int, answer);
        QWidget parent;
        platform::qt::QtScriptDialogs dialogs(&parent);
        QString seen;
        whenShown([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box != nullptr);
            QStringList names;
            for (QAbstractButton *b : box->buttons()) {
                const QString name = b->text().remove(QLatin1Char('&'));
                names << (b == box->defaultButton() ? name + "*" : name);
            }
            // Qt lays the buttons out by role; the language's order is that of their numbers.
            std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
                return expectedButtons.indexOf(a) < expectedButtons.indexOf(b);
            });
            seen = names.join(QLatin1Char(' '));
            if (press == 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->button(QMessageBox::StandardButton(press))->click();
        });
        QCOMPARE(dialogs.message(QStringLiteral("Sure?"), QStringLiteral("Ask"), buttons, 32, defaultButton), answer);
        QCOMPARE(seen, expectedButtons);
    }

    void messageShowsPlainText()
    {
        QWidget parent;
        platform::qt::QtScriptDialogs dialogs(&parent);
        whenShown([](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QCOMPARE(box->windowTitle(), QStringLiteral("VBScript"));
            QCOMPARE(box->text(), QStringLiteral("<b>1</b>\n2"));
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(dialogs.message(QStringLiteral("<b>1</b>\n2"), QStringLiteral("VBScript"), 0, 16, 0), 1);
    }

    void input()
    {
        QWidget parent;
        platform::qt::QtScriptDialogs dialogs(&parent);
        whenShown([](QWidget *w) {
            auto *dialog = qobject_cast<QInputDialog *>(w);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->labelText(), QStringLiteral("PRICE"));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Shop"));
            QCOMPARE(dialog->textValue(), QStringLiteral("5"));
            dialog->setTextValue(QStringLiteral("12.5"));
            dialog->accept();
        });
        QCOMPARE(dialogs.input(QStringLiteral("PRICE"), QStringLiteral("Shop"), QStringLiteral("5")),
                 std::optional<QString>(QStringLiteral("12.5")));
        whenShown([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
        QCOMPARE(dialogs.input(QStringLiteral("PRICE"), QString(), QString()), std::nullopt);
    }
};

QTEST_MAIN(TestQtScriptDialogs)
#include "tst_qtscriptdialogs.moc"
