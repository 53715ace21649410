#pragma once

#include "platform/Clipboard.h"

namespace platform::qt {

// The system clipboard through Qt. The platform's text uses LF; the port's uses CR LF.
class QtClipboard : public Clipboard
{
public:
    bool clear() override;
    bool setText(const QString &text) override;
    std::optional<QString> text() const override;
};

} // namespace platform::qt
