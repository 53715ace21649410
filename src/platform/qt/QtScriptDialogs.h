#pragma once

#include "platform/ScriptDialogs.h"

class QWidget;

namespace platform::qt {

class QtScriptDialogs : public ScriptDialogs
{
public:
    explicit QtScriptDialogs(QWidget *parent) : parent_(parent) {}

    int message(const QString &prompt, const QString &title, int buttons, int icon, int defaultButton) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;

private:
    QWidget *parent_;
};

} // namespace platform::qt
