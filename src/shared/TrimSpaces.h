#pragma once

#include <QString>
#include <QStringView>

namespace shared {

// Removes spaces (U+0020) from both ends; tabs, line breaks and other blanks stay, as the
// calculator's commands trim.
// A view into `text`: it lives no longer than the text does.
inline QStringView trimSpacesView(QStringView text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

inline QString trimSpaces(const QString &text) { return trimSpacesView(text).toString(); }

} // namespace shared
