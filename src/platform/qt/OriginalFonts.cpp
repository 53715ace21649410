#include "OriginalFonts.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QSet>
#include <QtEndian>

namespace platform::qt {
namespace {

QSet<QString> &loadedFamilies()
{
    static QSet<QString> families;
    return families;
}

quint32 read32(const QByteArray &data, qsizetype at) { return qFromBigEndian<quint32>(data.constData() + at); }
quint16 read16(const QByteArray &data, qsizetype at) { return qFromBigEndian<quint16>(data.constData() + at); }

// Where the table `tag` starts, or -1.
qsizetype tableOffset(const QByteArray &font, const char *tag, qsizetype &length)
{
    if (font.size() < 12)
        return -1;
    const int tables = read16(font, 4);
    for (int i = 0; i < tables; ++i) {
        const qsizetype record = 12 + 16 * qsizetype(i);
        if (record + 16 > font.size())
            return -1;
        if (font.mid(record, 4) == tag) {
            const qsizetype offset = read32(font, record + 8);
            length = read32(font, record + 12);
            return offset + length <= font.size() ? offset : -1;
        }
    }
    return -1;
}

// The bitmaps of MS Sans Serif: character height and line height in pixels (8, 10 and 12 pt).
struct Strike
{
    int em;
    int height;
};
constexpr Strike SansSerifStrikes[] = {{11, 13}, {13, 16}, {16, 20}};

// As the platform's font mapper chose a bitmap: the largest whose character height does not
// exceed the one asked for, else the smallest.
Strike sansSerifStrike(int em)
{
    Strike chosen = SansSerifStrikes[0];
    for (const Strike &strike : SansSerifStrikes)
        if (strike.em <= em)
            chosen = strike;
    return chosen;
}

void remember(int id)
{
    if (id >= 0)
        for (const QString &family : QFontDatabase::applicationFontFamilies(id))
            loadedFamilies().insert(family);
}

// Qt registers only the first bitmap strike of a font file (MS Sans Serif has 13, 16 and 20
// pixels), so each strike is registered from a copy that lists it first.
void loadBitmapFont(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray font = file.readAll();
    bool any = false;
    for (int strike = 0;; ++strike) {
        const QByteArray copy = withStrikeFirst(font, strike);
        if (copy.isEmpty())
            break;
        remember(QFontDatabase::addApplicationFontFromData(copy));
        any = true;
    }
    if (!any)
        remember(QFontDatabase::addApplicationFontFromData(font));
}

} // namespace

QByteArray withStrikeFirst(const QByteArray &font, int first)
{
    qsizetype length = 0;
    const qsizetype eblc = tableOffset(font, "EBLC", length);
    if (eblc < 0 || length < 8 || first < 0)
        return {};
    constexpr qsizetype RecordSize = 48; // one BitmapSize record; its offsets count from the table
    const quint32 strikes = read32(font, eblc + 4);
    if (quint32(first) >= strikes || 8 + RecordSize * qsizetype(strikes) > length)
        return {};
    QByteArray copy = font;
    const qsizetype records = eblc + 8;
    const QByteArray chosen = font.mid(records + RecordSize * first, RecordSize);
    // The strikes before it move one place down; the order of the others stays.
    copy.replace(records + RecordSize, RecordSize * first, font.mid(records, RecordSize * first));
    copy.replace(records, RecordSize, chosen);
    return copy;
}

void loadOriginalFonts(const QString &folder)
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(QStringLiteral("MS Sans Serif")))
        loadedFamilies().insert(QStringLiteral("MS Sans Serif"));
    else
        loadBitmapFont(folder + QStringLiteral("ms_sans_serif.ttf"));
    if (installed.contains(QStringLiteral("Tahoma"))) {
        loadedFamilies().insert(QStringLiteral("Tahoma"));
    } else {
        for (const char *name : {"tahoma.ttf", "tahomabd.ttf"})
            if (QFile::exists(folder + QLatin1String(name)))
                remember(QFontDatabase::addApplicationFont(folder + QLatin1String(name)));
    }
}

bool originalFontLoaded(const QString &family) { return loadedFamilies().contains(family); }

QFont originalFont(const QString &family, double pointSize, bool bold)
{
    loadOriginalFonts();
    const QString sansSerif = QStringLiteral("MS Sans Serif");
    const QString tahoma = QStringLiteral("Tahoma");
    const int em = qRound(pointSize * 96 / 72); // the character height asked for, in pixels
    QFont font;
    // Its bitmaps cannot be scaled to a high-density screen, and it has no bold face: there
    // Tahoma, of the same design, stands in at the character height of the bitmap chosen.
    const bool bitmapUsable = !bold && qApp->devicePixelRatio() <= 1.0;
    if (family == sansSerif && originalFontLoaded(sansSerif) && bitmapUsable) {
        font = QFont(sansSerif);
        font.setStyleStrategy(QFont::PreferBitmap);
        font.setPixelSize(sansSerifStrike(em).height);
    } else if (family == sansSerif && originalFontLoaded(tahoma)) {
        font = QFont(tahoma);
        font.setPixelSize(originalFontLoaded(sansSerif) ? sansSerifStrike(em).em : em);
    } else if (originalFontLoaded(family)) {
        font = QFont(family);
        font.setPointSizeF(pointSize);
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(pointSize);
    }
    font.setBold(bold);
    return font;
}

} // namespace platform::qt
