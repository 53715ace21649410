#pragma once

#include "platform/MessageBoxes.h"

#include <functional>

class QWidget;

namespace platform::qt {

class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget *parent) : parent_(parent) {}

    int show(const QString &text, int style, const QString &title) override;

    std::function<void()> afterClose;

private:
    QWidget *parent_;
};

} // namespace platform::qt
