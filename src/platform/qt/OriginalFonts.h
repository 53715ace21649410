#pragma once

#include <QFont>
#include <QString>

namespace platform::qt {

// The window was drawn in "MS Sans Serif" and "Tahoma". Debian's fonts-wine carries free fonts
// with their metrics; they are loaded from where it installs them, once per process (the first
// call's folder counts; a test passes another).
void loadOriginalFonts(const QString &folder = QStringLiteral("/usr/share/wine/fonts/"));
bool originalFontLoaded(const QString &family);

// The family at the point size, or this platform's sans font at that size when it is absent.
QFont originalFont(const QString &family, double pointSize, bool bold = false);

// The font data with its bitmap strike `first` moved to the front of the strike list, or empty
// data when the font has no such strike. Exposed for its test.
QByteArray withStrikeFirst(const QByteArray &font, int first);

} // namespace platform::qt
