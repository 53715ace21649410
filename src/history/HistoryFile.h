#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

namespace history {

// The history file: one line per entry, the expression row followed directly by the result
// row ("238 + 67  = 595.09"), every line ended by CR LF, then an end marker line of one space.
// Windows-1252 text.
QByteArray historyFileContents(const QStringList &expressionRows, const QStringList &resultRows);

struct LoadedEntry
{
    QString expression;
    QString numberText; // the result without its "= "
};

// What one load may take. A history of 100,000 entries is about 4 MB on disk and loads in a
// fraction of a second; at the bounds a load takes a few seconds and a few hundred MB (the
// entries, their copies in the lists and the window's rows), which a small machine still has.
struct HistoryFileLimits
{
    qint64 maxBytes = 32 << 20;
    qsizetype maxEntries = 500'000;
    qint64 maxLineBytes = 1 << 20; // no history row is that long
};

struct HistoryFileReading
{
    enum Stop
    {
        Ended,          // as the format says: end marker, blank line, line without "=", end of file
        TooLarge,       // more bytes than maxBytes (the file grew, or told its size wrong)
        TooManyEntries, // more than maxEntries
        LineTooLong,    // a line longer than maxLineBytes
        ReadFailed,     // the device reported an error
    };
    std::vector<LoadedEntry> entries; // those read before the stop
    Stop stop = Ended;
};

// Reads entries until the reading ends: at a line that is empty once trimmed of spaces (the end
// marker is one), at a line without "=", at the end of the file, or at a bound of `limits`.
// A line is split at its last "=": a result text holds exactly one, at its start, so an
// expression that holds "=" itself (a comparison such as "(2=2)*5") comes back whole. Both
// parts are trimmed of spaces. CR LF, LF and CR all end a line.
HistoryFileReading readHistoryFile(QIODevice &file, const HistoryFileLimits &limits);

// The entries before the first stop of any kind, with only the line length bounded.
std::vector<LoadedEntry> readHistoryFile(QIODevice &file, qint64 maxLineBytes = 1 << 20);

} // namespace history
