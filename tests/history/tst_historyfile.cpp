// History files the reader must bound, and a load that runs out of memory: the lists keep
// what they had.
#include "FakeControls.h"

#include "history/HistoryFile.h"

#include <QBuffer>
#include <QTest>

#include <cstring>
#include <new>

namespace {

std::vector<history::LoadedEntry> parse(const QByteArray &bytes,
                                        const history::HistoryFileLimits &limits,
                                        history::HistoryFileReading::Stop &stop)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    history::HistoryFileReading reading = history::readHistoryFile(buffer, limits);
    stop = reading.stop;
    return reading.entries;
}

// A device that hands out a few lines, then fails to allocate.
class ExhaustingDevice : public QIODevice
{
public:
    ExhaustingDevice() { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (served_)
            throw std::bad_alloc();
        served_ = true;
        const QByteArray lines("2 * 2  = 4\r\n3 * 3  = 9\r\n");
        const qint64 n = qMin(maxSize, qint64(lines.size()));
        memcpy(data, lines.constData(), std::size_t(n));
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    bool served_ = false;
};

class ExhaustedFileSystem : public fakes::FakeFileSystem
{
public:
    std::unique_ptr<QIODevice> openForReading(const QString &, QString &) override
    {
        return std::make_unique<ExhaustingDevice>();
    }
};

} // namespace

class TestHistoryFile : public QObject
{
    Q_OBJECT

private slots:
    // The bounds while reading, for a file that grows or tells its size wrong: each refuses,
    // and a file within them reads whole.
    void readingBounds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("stop");
        QTest::addColumn<int>("entries");
        using R = history::HistoryFileReading;
        const QByteArray tenEntries = QByteArray("12 * 3  = 36\r\n").repeated(10); // 140 bytes
        QTest::newRow("within every bound") << tenEntries + " \r\n" << int(R::Ended) << 10;
        QTest::newRow("bytes: the end marker past the bound")
            << tenEntries + QByteArray(100, 'x') << int(R::TooLarge) << 0;
        QTest::newRow("entries: one too many")
            << tenEntries + tenEntries.left(14) << int(R::TooManyEntries) << 10;
        QTest::newRow("entries: the bound exactly") << tenEntries << int(R::Ended) << 10;
        QTest::newRow("line: one byte over") << QByteArray("1=1\n") + QByteArray(33, '=') + "\n"
                                             << int(R::LineTooLong) << 1;
        QTest::newRow("line: the bound exactly") << QByteArray(32, '=') + "\n"
                                                 << int(R::Ended) << 1;
    }

    void readingBounds()
    {
        QFETCH(QByteArray, file);
        history::HistoryFileLimits limits;
        limits.maxBytes = 200;
        limits.maxEntries = 10;
        limits.maxLineBytes = 32;
        history::HistoryFileReading::Stop stop{};
        const auto entries = parse(file, limits, stop);
        QTEST(int(stop), "stop");
        QTEST(int(entries.size()), "entries");
    }

    // Running out of memory part-way through a file ends the command, not the program, and
    // the lists keep what they had.
    void outOfMemoryWhileLoading()
    {
        fakes::FakeForm fake;
        ExhaustedFileSystem fileSystem;
        fake.controls.fileSystem = &fileSystem;
        app::FormTallix form(fake.controls);
        form.Form_Load();
        fake.Text1.onClick();
        form.historyLists().appendEntry(QStringLiteral("1 + 1"), QStringLiteral("= 2"));
        fake.fileDialogs.answers.push_back(QStringLiteral("/tmp/big.txt"));
        form.mnuLoad_Click();
        QCOMPARE(fake.messages.shown,
                 QStringList{"Cannot load \"/tmp/big.txt\": Out of memory.|0|"});
        QCOMPARE(fake.List1.rows, QStringList{"1 + 1"});
        QCOMPARE(fake.List2.rows, QStringList{"  = 2"});
    }
};

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
