#include "FakeControls.h"

#include "companion/CompanionDialog.h"
#include "companion/CompanionProducts.h"
#include "app/MainWindow.h"
#include "platform/qt/QtMessageBoxes.h"

#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestQtCompanion : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Label1") << "Label1" << QRect(240, 480, 4695, 255);
        QTest::newRow("Text1") << "Text1" << QRect(5400, 480, 1215, 285);
        QTest::newRow("Label2") << "Label2" << QRect(240, 1080, 5055, 255);
        QTest::newRow("Text2") << "Text2" << QRect(5400, 1080, 1215, 285);
        QTest::newRow("Label3") << "Label3" << QRect(240, 1680, 4695, 255);
        QTest::newRow("Text3") << "Text3" << QRect(5400, 1680, 1215, 285);
        QTest::newRow("Text4") << "Text4" << QRect(600, 2160, 3615, 285);
        QTest::newRow("Command1") << "Command1" << QRect(2400, 2760, 2055, 495);
    }

    void geometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        fakes::FakeShell shell;
        fakes::FakeMessageBoxes messages;
        companion::CompanionDialog dialog(nullptr, shell, messages);
        QCOMPARE(dialog.size(), QSize(454, 228));
        QWidget *w = dialog.findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), QRect(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                                      qRound(twips.width() / 15.0), qRound(twips.height() / 15.0)));
    }

    void linksUnderTheMouse()
    {
        fakes::FakeShell shell;
        fakes::FakeMessageBoxes messages;
        companion::CompanionDialog dialog(nullptr, shell, messages);
        companion::FormUtility form(dialog.controls());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *link = dialog.findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
        QTRY_COMPARE(dialog.findChild<QPlainTextEdit *>(QStringLiteral("Text4"))->toPlainText(),
                     QStringLiteral("https://numerette.example/"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("2.  ") + companion::ProductDescriptions[1]);
        QVERIFY(link->font().bold() && link->font().underline());

        QTest::mouseMove(link->viewport(), QPoint(5, 5));
        QCOMPARE(dialog.controls().links[1]->foreColor(), (platform::Rgb{255, 0, 0}));
        QTest::mouseMove(dialog.findChild<QLabel *>(QStringLiteral("Label2")), QPoint(5, 5));
        QCOMPARE(dialog.controls().links[1]->foreColor(), (platform::Rgb{255, 0, 0})); // labels reset nothing
        QTest::mouseMove(&dialog, QPoint(440, 10));
        QCOMPARE(dialog.controls().links[1]->foreColor(), (platform::Rgb{0, 0, 192}));

        QTest::mouseClick(link->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!link->font().bold()); // the first release leaves it regular
        QCOMPARE(shell.opened, QStringList{companion::DownloadAddresses[1]});
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    // The links by keyboard: each has a name of its own, and Enter opens it as a click does.
    void linksByKeyboard()
    {
        fakes::FakeShell shell;
        fakes::FakeMessageBoxes messages;
        companion::CompanionDialog dialog(nullptr, shell, messages);
        companion::FormUtility form(dialog.controls());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStringList names;
        for (const char *name : {"Text1", "Text2", "Text3", "Text4"}) {
            auto *link = dialog.findChild<QPlainTextEdit *>(QLatin1String(name));
            names << link->accessibleName();
            QTRY_VERIFY(!link->toPlainText().isEmpty());
            const QString shown = link->toPlainText();
            link->setFocus();
            QTest::keyClick(link, Qt::Key_Return);
            QCOMPARE(link->toPlainText(), shown); // no line break typed
        }
        names.removeDuplicates();
        QCOMPARE(names.size(), 4);
        QVERIFY(!names.contains(QString()));
        QCOMPARE(shell.opened, (QStringList{companion::DownloadAddresses[0], companion::DownloadAddresses[1],
                                            companion::DownloadAddresses[2], QStringLiteral("https://numerette.example/")}));
    }

    // Back from a message box or the companion window, the main window's activation runs.
    void mainWindowActiveAgain()
    {
        app::MainWindow window;
        int activations = 0;
        window.onActivate = [&] { ++activations; };
        QTimer::singleShot(50, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        window.controls().messages->show(QStringLiteral("x"), platform::msgbox::Information, {});
        QCOMPARE(activations, 1);
        QTimer::singleShot(50, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        window.controls().companions->showModal();
        QCOMPARE(activations, 2);
    }
};

QTEST_MAIN(TestQtCompanion)
#include "tst_qtcompanion.moc"
