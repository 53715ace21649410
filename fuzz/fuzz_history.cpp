// Feeds arbitrary bytes to the history file reader: it must end on any file, keep every entry
// whole, and never read outside what it was given.
#include "history/HistoryFile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QBuffer file;
    file.setData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    file.open(QIODevice::ReadOnly);
    // A small line limit, so that the fuzzer also reaches the over-long line.
    const std::vector<history::LoadedEntry> entries = history::readHistoryFile(file, 512);
    for (const history::LoadedEntry &entry : entries) {
        // Trimmed fields, and no line end inside them.
        if (entry.expression.startsWith(QLatin1Char(' ')) || entry.numberText.endsWith(QLatin1Char(' ')) ||
            entry.expression.contains(QLatin1Char('\n')) || entry.numberText.contains(QLatin1Char('\r')) ||
            entry.numberText.contains(QLatin1Char('=')))
            std::abort();
    }
    return 0;
}
