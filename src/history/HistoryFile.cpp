#include "HistoryFile.h"

#include "shared/Windows1252.h"

#include "shared/TrimSpaces.h"

#include <QIODevice>

#include <limits>

namespace history {

using shared::trimSpacesView;

QByteArray historyFileContents(const QStringList &expressionRows, const QStringList &resultRows)
{
    QByteArray contents;
    const qsizetype rows = qMin(expressionRows.size(), resultRows.size());
    for (qsizetype i = 0; i < rows; ++i) {
        contents += shared::toWindows1252(expressionRows[i]);
        contents += shared::toWindows1252(resultRows[i]);
        contents += "\r\n";
    }
    contents += " \r\n";
    return contents;
}

namespace {

// Hands out the file's lines one by one, reading it in blocks and counting what it read.
class LineReader
{
public:
    LineReader(QIODevice &file, qint64 maxLineBytes, qint64 maxBytes)
        : file_(file), maxLineBytes_(maxLineBytes), maxBytes_(maxBytes)
    {
    }

    enum Result
    {
        Line,
        End,
        TooLong,
        TooLarge,
        Failed
    };

    Result next(QByteArray &line)
    {
        line.clear();
        for (;;) {
            if (pos_ >= size_) {
                const Result refilled = refill();
                if (refilled == End)
                    return line.isEmpty() ? End : Line; // a last line without a line end counts
                if (refilled != Line)
                    return refilled;
            }
            const char *data = block_.constData();
            if (skipLf_) { // the LF of a CR LF split from its CR
                skipLf_ = false;
                if (data[pos_] == '\n') {
                    ++pos_;
                    continue;
                }
            }
            qsizetype i = pos_;
            while (i < size_ && data[i] != '\n' && data[i] != '\r')
                ++i;
            if (line.size() + (i - pos_) > maxLineBytes_)
                return TooLong;
            line.append(data + pos_, i - pos_);
            if (i < size_) {
                pos_ = i + 1;
                skipLf_ = data[i] == '\r';
                return Line;
            }
            pos_ = i;
        }
    }

private:
    Result refill()
    {
        constexpr qsizetype blockSize = 64 * 1024;
        if (block_.size() != blockSize)
            block_.resize(blockSize);
        pos_ = 0;
        size_ = 0;
        const qint64 got = file_.read(block_.data(), blockSize);
        if (got < 0)
            return Failed;
        if (got == 0)
            return End;
        total_ += got;
        if (total_ > maxBytes_)
            return TooLarge;
        size_ = qsizetype(got);
        return Line;
    }

    QIODevice &file_;
    qint64 maxLineBytes_;
    qint64 maxBytes_;
    qint64 total_ = 0;
    QByteArray block_;
    qsizetype pos_ = 0;
    qsizetype size_ = 0;
    bool skipLf_ = false;
};

} // namespace

HistoryFileReading readHistoryFile(QIODevice &file, const HistoryFileLimits &limits)
{
    HistoryFileReading reading;
    LineReader reader(file, limits.maxLineBytes, limits.maxBytes);
    QByteArray bytes;
    for (;;) {
        switch (reader.next(bytes)) {
        case LineReader::Line:
            break;
        case LineReader::End:
            return reading;
        case LineReader::TooLong:
            reading.stop = HistoryFileReading::LineTooLong;
            return reading;
        case LineReader::TooLarge:
            reading.stop = HistoryFileReading::TooLarge;
            return reading;
        case LineReader::Failed:
            reading.stop = HistoryFileReading::ReadFailed;
            return reading;
        }
        const QString text = shared::fromWindows1252(bytes.constData(), bytes.size());
        const QStringView line = trimSpacesView(text);
        if (line.isEmpty())
            return reading;
        const qsizetype last = line.lastIndexOf(QLatin1Char('='));
        if (last < 0)
            return reading;
        if (qsizetype(reading.entries.size()) >= limits.maxEntries) {
            reading.stop = HistoryFileReading::TooManyEntries;
            return reading;
        }
        reading.entries.push_back({trimSpacesView(line.left(last)).toString(),
                                   trimSpacesView(line.mid(last + 1)).toString()});
    }
}

std::vector<LoadedEntry> readHistoryFile(QIODevice &file, qint64 maxLineBytes)
{
    HistoryFileLimits limits;
    limits.maxBytes = std::numeric_limits<qint64>::max();
    limits.maxEntries = std::numeric_limits<qsizetype>::max();
    limits.maxLineBytes = maxLineBytes;
    return readHistoryFile(file, limits).entries;
}

} // namespace history
