#include "HistoryFile.h"

#include "Windows1252.h"

#include "app/TrimSpaces.h"

#include <QIODevice>

namespace history {

using app::trimSpacesView;

QByteArray historyFileContents(const QStringList &expressionRows, const QStringList &resultRows)
{
    QByteArray contents;
    const qsizetype rows = qMin(expressionRows.size(), resultRows.size());
    for (qsizetype i = 0; i < rows; ++i) {
        contents += toWindows1252(expressionRows[i]);
        contents += toWindows1252(resultRows[i]);
        contents += "\r\n";
    }
    contents += " \r\n";
    return contents;
}

namespace {


// Hands out the file's lines one by one, reading it in blocks.
class LineReader
{
public:
    LineReader(QIODevice &file, qint64 maxLineBytes) : file_(file), maxLineBytes_(maxLineBytes) {}

    enum Result { Line, End, TooLong };

    Result next(QByteArray &line)
    {
        line.clear();
        for (;;) {
            if (pos_ >= block_.size() && !refill())
                return line.isEmpty() ? End : Line; // a last line without a line end counts
            const char *data = block_.constData();
            if (skipLf_) { // the LF of a CR LF split from its CR
                skipLf_ = false;
                if (data[pos_] == '\n') {
                    ++pos_;
                    continue;
                }
            }
            qsizetype i = pos_;
            while (i < block_.size() && data[i] != '\n' && data[i] != '\r')
                ++i;
            line.append(data + pos_, i - pos_);
            if (line.size() > maxLineBytes_)
                return TooLong;
            if (i < block_.size()) {
                pos_ = i + 1;
                skipLf_ = data[i] == '\r';
                return Line;
            }
            pos_ = i;
        }
    }

private:
    bool refill()
    {
        block_ = file_.read(64 * 1024);
        pos_ = 0;
        return !block_.isEmpty();
    }

    QIODevice &file_;
    qint64 maxLineBytes_;
    QByteArray block_;
    qsizetype pos_ = 0;
    bool skipLf_ = false;
};

} // namespace

std::vector<LoadedEntry> readHistoryFile(QIODevice &file, qint64 maxLineBytes)
{
    std::vector<LoadedEntry> entries;
    LineReader reader(file, maxLineBytes);
    QByteArray bytes;
    while (reader.next(bytes) == LineReader::Line) {
        const QString text = fromWindows1252(bytes.constData(), bytes.size());
        const QStringView line = trimSpacesView(text);
        if (line.isEmpty())
            break;
        const qsizetype first = line.indexOf(QLatin1Char('='));
        if (first < 0)
            break;
        qsizetype second = line.indexOf(QLatin1Char('='), first + 1);
        if (second < 0)
            second = line.size();
        entries.push_back({trimSpacesView(line.left(first)).toString(),
                           trimSpacesView(line.mid(first + 1, second - first - 1)).toString()});
    }
    return entries;
}

} // namespace history
