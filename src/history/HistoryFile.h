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

// Reads entries until the reading ends: at a line that is empty once trimmed of spaces (the end
// marker is one), at a line without "=", at the end of the file, or at a line longer than
// `maxLineBytes` (no history row is that long; the limit keeps a hostile file from filling
// memory). A line gives the text before its first "=" as the expression and the text up to a
// second "=" as the result, both trimmed of spaces. CR LF, LF and CR all end a line.
std::vector<LoadedEntry> readHistoryFile(QIODevice &file, qint64 maxLineBytes = 1 << 20);

} // namespace history
