#pragma once

#include "platform/Shell.h"

namespace platform::qt {

class QtShell : public Shell
{
public:
    QString findProgram(const QString &name) const override;
    bool startDetached(const QString &program) override;
    bool openUrl(const QString &address) override;
};

} // namespace platform::qt
