#pragma once

#include <QString>

#include <array>

namespace companion {

// The three companion downloads: one line each, the menu caption and the window's label alike.
inline const std::array<QString, 3> ProductDescriptions{
    QStringLiteral("Numerette for Debian (.deb package)"),
    QStringLiteral("Numerette source code (.tar.gz)"),
    QStringLiteral("numerette-eval command-line tool"),
};

// Where each is downloaded, under the project's web address.
inline const std::array<QString, 3> DownloadAddresses{
    QStringLiteral("https://numerette.example/download/numerette_9.19_amd64.deb"),
    QStringLiteral("https://numerette.example/download/numerette-9.19.tar.gz"),
    QStringLiteral("https://numerette.example/download/numerette-eval-9.19-linux-x86_64.tar.gz"),
};

} // namespace companion
