#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace shared {

// The history file's code page: Windows-1252, what the original program wrote. Every byte
// decodes (the five unassigned ones to the control characters of the same number, as Windows
// does), and a character the code page cannot hold encodes as "?".
QString fromWindows1252(const char *bytes, qsizetype size);
QByteArray toWindows1252(QStringView text);
// Where the first character that the code page cannot hold begins (a surrogate pair counts as
// one character), or -1 when it holds them all.
qsizetype firstOutsideWindows1252(QStringView text);

} // namespace shared
