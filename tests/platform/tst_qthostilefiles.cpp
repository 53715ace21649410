// History files that are not what the load and save commands expect: pipes, devices, folders,
// unreadable or huge files, a full disk. The window goes through its own commands and
// the real file-system adapter; nothing may hang, and the history in the window stays.
#include "FakeControls.h"

#include "platform/qt/QtFileSystem.h"

#include "history/HistoryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

// The window logic over fakes, but with the real file-system adapter.
struct Window
{
    fakes::FakeForm fake;
    platform::qt::QtFileSystem files;
    std::unique_ptr<app::FormTallix> form;
    QTemporaryDir dir;

    // One entry in the lists already: it must survive whatever the file does.
    Window()
    {
        fake.controls.fileSystem = &files;
        form = std::make_unique<app::FormTallix>(fake.controls);
        form->Form_Load();
        fake.Text1.onClick();
        form->historyLists().appendEntry(QStringLiteral("1 + 1"), QStringLiteral("= 2"));
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void load(const QString &path)
    {
        fake.fileDialogs.answers.push_back(path);
        form->mnuLoad_Click();
    }
    void save(const QString &path)
    {
        fake.fileDialogs.answers.push_back(path);
        form->mnuSave_Click();
    }
    QString lastMessage() const
    {
        return fake.messages.shown.isEmpty() ? QString() : fake.messages.shown.last();
    }
    bool historyKept() const
    {
        return fake.List1.rows == QStringList{"1 + 1"} && fake.List2.rows == QStringList{"  = 2"};
    }
};

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A character device of our own (the numbers of /dev/null), where the system lets us make one.
bool makeDevice(const QString &path)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

mode_t typeOf(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    // Each refused with its reason; the lists keep the entry they had, and nothing waits.
    void loadRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("named pipe")
            << "fifo"
            << "Cannot load \"%1\": it is a named pipe, not a regular file.";
        QTest::newRow("link to a named pipe")
            << "link to fifo"
            << "Cannot load \"%1\": it is a named pipe, not a regular file.";
        QTest::newRow("device") << "device"
                                << "Cannot load \"%1\": it is a device, not a regular file.";
        QTest::newRow("folder") << "folder"
                                << "Cannot load \"%1\": it is a folder, not a regular file.";
        QTest::newRow("vanished") << "missing"
                                  << "Cannot load \"%1\": No such file or directory";
        // Sparse: a gigabyte on paper, nothing on the disk, refused before a byte is read.
        QTest::newRow("1 GB")
            << "huge"
            << "Cannot load \"%1\": the file is larger than 32 MB, the most one load takes.";
        QTest::newRow("too many entries") << "entries"
                                          << "Cannot load \"%1\": the file holds more than "
                                             "500,000 entries, the most one load takes.";
        QTest::newRow("line over 1 MB")
            << "long line"
            << "Cannot load \"%1\": line 2 is longer than 1 MB; no history entry is that long.";
    }

    void loadRefused()
    {
        QFETCH(QString, kind);
        Window w;
        QString path = w.path(QStringLiteral("x.txt"));
        const QByteArray native = QFile::encodeName(path);
        if (kind == "fifo" || kind == "link to fifo") {
            QCOMPARE(::mkfifo(native.constData(), 0600), 0);
            if (kind == "link to fifo") {
                path = w.path(QStringLiteral("link.txt"));
                QVERIFY(QFile::link(w.path(QStringLiteral("x.txt")), path));
            }
        } else if (kind == "device") {
            if (!makeDevice(path))
                path = QStringLiteral("/dev/null"); // loading only reads, so the real one will do
        } else if (kind == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (kind == "huge") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(1) << 30));
        } else if (kind == "entries") {
            write(path, QByteArray("1=1\n").repeated(history::HistoryFileLimits{}.maxEntries + 1));
        } else if (kind == "long line") {
            write(path, "1  = 1\r\n" + QByteArray((1 << 20) + 1, '7') + "  = 7\r\n \r\n");
        }
        w.load(path);
        QFETCH(QString, message);
        QCOMPARE(w.lastMessage(), message.arg(QDir::toNativeSeparators(path)) + "|0|");
        QVERIFY(w.historyKept());
        QCOMPARE(w.fake.messages.shown.size(), 1);
    }

    // The largest file one load takes still loads, every entry of it.
    void fileAtTheEntryBoundLoads()
    {
        Window w;
        const QString path = w.path(QStringLiteral("full.txt"));
        write(path, QByteArray("1=1\n").repeated(history::HistoryFileLimits{}.maxEntries));
        w.load(path);
        QVERIFY(w.fake.messages.shown.isEmpty());
        QCOMPARE(w.fake.List1.rows.size(), history::HistoryFileLimits{}.maxEntries + 1);
        QCOMPARE(w.fake.List2.rows.last(), QStringLiteral("  = 1"));
    }

    void unreadableFile()
    {
        Window w;
        const QString path = w.path(QStringLiteral("locked.txt"));
        write(path, "1  = 1\r\n \r\n");
        QVERIFY(QFile::setPermissions(path, {}));
        if (::geteuid() != 0) {
            w.load(path);
            QCOMPARE(w.lastMessage(),
                     QStringLiteral("Cannot load \"%1\": Permission denied|0|").arg(path));
            QVERIFY(w.historyKept());
            return;
        }
        // Root reads any file: the load runs in a child that gave its rights up.
        QVERIFY(QFile::setPermissions(w.dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ExeGroup |
                                                        QFile::ExeOther));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            w.load(path);
            const bool ok =
                w.lastMessage() ==
                    QStringLiteral("Cannot load \"%1\": Permission denied|0|").arg(path) &&
                w.historyKept();
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == 3)
            QSKIP("cannot give root's rights up here");
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // Saving over something that is not a regular file is refused, and the thing stays.
    void saveRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("named pipe")
            << "fifo"
            << "Cannot save to \"%1\": it is a named pipe, not a regular file.";
        QTest::newRow("link to a named pipe")
            << "link to fifo"
            << "Cannot save to \"%1\": it is a named pipe, not a regular file.";
        QTest::newRow("device") << "device"
                                << "Cannot save to \"%1\": it is a device, not a regular file.";
        QTest::newRow("folder") << "folder"
                                << "Cannot save to \"%1\": it is a folder, not a regular file.";
    }

    void saveRefused()
    {
        QFETCH(QString, kind);
        Window w;
        const QString target = w.path(QStringLiteral("x.txt"));
        QString path = target;
        if (kind == "fifo" || kind == "link to fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
            if (kind == "link to fifo") {
                path = w.path(QStringLiteral("link.txt"));
                QVERIFY(QFile::link(target, path));
            }
        } else if (kind == "device") {
            // Never the real /dev/null: a faulty save would replace it.
            if (!makeDevice(target))
                QSKIP("device nodes cannot be made here");
        } else {
            QVERIFY(QDir().mkdir(target));
        }
        const mode_t before = typeOf(target);
        w.fake.messages.answers = {platform::msgbox::Yes};
        w.save(path);
        QFETCH(QString, message);
        // The refusal alone: no overwrite question first.
        QCOMPARE(w.fake.messages.shown, QStringList{message.arg(QDir::toNativeSeparators(path)) + "|0|"});
        // The adapter refuses on its own too, should the path change after the question.
        QString error;
        QVERIFY(!w.files.replaceFile(path, "1  = 1\r\n \r\n", error));
        QCOMPARE(error, message.arg(QDir::toNativeSeparators(path)));
        QCOMPARE(typeOf(target), before);
        if (path != target)
            QCOMPARE(typeOf(path), mode_t(S_IFLNK));
        QStringList names{QStringLiteral("x.txt")}; // no temporary left
        if (path != target)
            names << QStringLiteral("link.txt");
        QCOMPARE(
            QDir(w.dir.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDir::Name | QDir::Reversed),
            names);
        QVERIFY(w.historyKept());
    }

    // A loop of symbolic links is no file to save to: refused with the system's reason, before
    // any question, and both links stay as they were.
    void saveOntoALinkLoop()
    {
        Window w;
        const QString path = w.path(QStringLiteral("x.txt")), other = w.path(QStringLiteral("y.txt"));
        QVERIFY(QFile::link(other, path));
        QVERIFY(QFile::link(path, other));
        w.fake.messages.answers = {platform::msgbox::Yes};
        w.save(path);
        const QString message =
            QStringLiteral("Cannot save to \"%1\": %2").arg(QDir::toNativeSeparators(path), qt_error_string(ELOOP));
        QCOMPARE(w.fake.messages.shown, QStringList{message + "|0|"});
        QString error;
        QVERIFY(!w.files.replaceFile(path, "1  = 1\r\n \r\n", error));
        QCOMPARE(error, message);
        QCOMPARE(typeOf(path), mode_t(S_IFLNK));
        QCOMPARE(typeOf(other), mode_t(S_IFLNK));
        QCOMPARE(QFile::symLinkTarget(path), other);
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 (QStringList{"x.txt", "y.txt"}));
        QVERIFY(w.historyKept());
    }

    // A save through a link writes the linked file and keeps the link and the permissions.
    void saveThroughALink()
    {
        Window w;
        const QString target = w.path(QStringLiteral("real.txt"));
        const QString link = w.path(QStringLiteral("link.txt"));
        write(target, "old\r\n");
        QVERIFY(
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(target, link));
        w.fake.messages.answers = {platform::msgbox::Yes};
        w.save(link);
        QCOMPARE(typeOf(link), mode_t(S_IFLNK));
        QCOMPARE(readAll(target), QByteArray("1 + 1  = 2\r\n \r\n"));
        QCOMPARE(QFile::permissions(target) & 0x0fff,
                 QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    // A write the system refuses part-way (the file-size limit stands in for a full disk): the
    // message is the system's own text, the old file stays byte for byte, no temporary is left.
    void refusedWrite()
    {
        Window w;
        for (int i = 0; i < 2000; ++i)
            w.form->historyLists().appendEntry(QStringLiteral("%1 * 2").arg(i),
                                               QStringLiteral("= %1").arg(i * 2));
        const QString path = w.path(QStringLiteral("precious.txt"));
        write(path, "precious");
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit small = previous;
        small.rlim_cur = 4096;
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        w.fake.messages.answers = {platform::msgbox::Yes};
        w.save(path);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(w.lastMessage(), QStringLiteral("Cannot save to \"%1\": %2|0|").arg(QDir::toNativeSeparators(path), qt_error_string(EFBIG)));
        QCOMPARE(readAll(path), QByteArray("precious"));
        QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"precious.txt"});
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "tst_qthostilefiles.moc"
