#pragma once

#include "platform/MenuEntry.h"

#include <QObject>

class QAction;

namespace platform::qt {

class QtMenuEntry : public QObject, public MenuEntry
{
public:
    explicit QtMenuEntry(QAction *action);

    void setChecked(bool checked) override;
    bool isChecked() const override;

    QAction *action() const { return action_; }

private:
    QAction *action_;
};

} // namespace platform::qt
