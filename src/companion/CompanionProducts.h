#pragma once

#include <QString>

#include <array>

namespace companion {

// The three companion downloads: one line each, the menu caption and the window's label alike.
inline const std::array<QString, 3> ProductDescriptions{
    QStringLiteral("Numerette for Debian and Ubuntu (.deb package)"),
    QStringLiteral("Numerette source code (tar.gz archive)"),
    QStringLiteral("numerette-eval, the command-line evaluator"),
};

} // namespace companion
