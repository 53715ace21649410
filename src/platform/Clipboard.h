#pragma once

#include <QString>

#include <optional>

namespace platform {

// The system clipboard, plain text only. Line breaks read and write as CR LF, as the text boxes
// hold them. Each operation reports whether it could be carried out.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual bool clear() = 0;
    virtual bool setText(const QString &text) = 0;
    // The clipboard's text, empty when it holds none; no value when it cannot be read.
    virtual std::optional<QString> text() const = 0;
};

} // namespace platform
