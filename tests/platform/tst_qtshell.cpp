#include "platform/qt/QtShell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The launchers' adapter against desktop entries of its own, in data and configuration
// folders that only this test sees, with a terminal of its own that notes how it was called.
class TestQtShell : public QObject
{
    Q_OBJECT

    QTemporaryDir home_;

    QString path(const QString &name) const { return home_.filePath(name); }

    void write(const QString &name, const QByteArray &text, bool executable = false)
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    // Waits for a program started in the background to leave its note.
    QByteArray note(const QString &name)
    {
        QFile file(path(name));
        for (int waited = 0; waited < 100 && !file.exists(); ++waited)
            QTest::qWait(50);
        QTest::qWait(50);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("<none>");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        // Read by GLib once, at its first use: set before any of it.
        qputenv("XDG_DATA_HOME", path("data").toUtf8());
        qputenv("XDG_DATA_DIRS", path("none").toUtf8());
        qputenv("XDG_CONFIG_HOME", path("config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", path("none").toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "");
        qputenv("PATH", path("bin").toUtf8() + ":/usr/bin:/bin");
        write("bin/tool", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/../tool-ran\"\n", true);
        // GIO's first choice of terminal: it runs what follows "--".
        write("bin/gnome-terminal", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/../terminal-ran\"\n", true);
        write("data/applications/kits/editor.desktop",
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=" + path("bin/tool").toUtf8() + " plain %U\n");
        write("data/applications/vim-like.desktop",
              "[Desktop Entry]\nType=Application\nName=Vim\nTerminal=true\nExec=" + path("bin/tool").toUtf8() +
                  " in-terminal %F\n");
        write("data/applications/gone.desktop",
              "[Desktop Entry]\nType=Application\nName=Gone\nTryExec=/nonexistent/gone\nExec=" +
                  path("bin/tool").toUtf8() + " gone\n");
        write("config/mimeapps.list", "[Default Applications]\ntext/plain=kits-editor.desktop\n"
                                      "image/png=vim-like.desktop\n");
    }

    // The desktop's choice, by its desktop ID: a sub-folder joins the name with "-".
    void defaultApplication()
    {
        platform::qt::QtShell shell;
        QCOMPARE(shell.defaultApplication(QStringLiteral("text/plain")), QStringLiteral("kits-editor.desktop"));
        QCOMPARE(shell.defaultApplication(QStringLiteral("image/png")), QStringLiteral("vim-like.desktop"));
        QCOMPARE(shell.defaultApplication(QStringLiteral("application/x-nothing-knows-this")), QString());
    }

    void startsWithoutFile()
    {
        platform::qt::QtShell shell;
        QVERIFY(shell.startApplication(QStringLiteral("kits-editor.desktop")));
        QCOMPARE(note("tool-ran"), QByteArray("plain")); // no file: the field code gives nothing
    }

    // A program that needs a terminal runs inside one, not bare without a window.
    void terminalEntryRunsInATerminal()
    {
        platform::qt::QtShell shell;
        QVERIFY(shell.startApplication(QStringLiteral("vim-like.desktop")));
        const QByteArray called = note("terminal-ran"); // GIO may put its launch helper first
        QVERIFY2(called.startsWith("-- ") && called.endsWith(path("bin/tool").toUtf8() + " in-terminal"),
                 called.constData());
    }

    // Refused, so that the fallback list is tried: an entry whose TryExec program is missing,
    // or no entry at all.
    void refused_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("TryExec missing") << QStringLiteral("gone.desktop");
        QTest::newRow("no such entry") << QStringLiteral("nowhere.desktop");
        QTest::newRow("sub-folder named as a path") << QStringLiteral("kits/editor.desktop");
    }

    void refused()
    {
        QFETCH(QString, entry);
        platform::qt::QtShell shell;
        QVERIFY(!shell.startApplication(entry));
    }
};

QTEST_MAIN(TestQtShell)
#include "tst_qtshell.moc"
