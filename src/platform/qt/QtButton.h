#pragma once

#include "platform/Button.h"

#include <QObject>

class QAbstractButton;

namespace platform::qt {

// A push button that Enter presses as well as Space when it has the focus.
class QtButton : public QObject, public Button
{
public:
    explicit QtButton(QAbstractButton *button);

    int left() const override;
    int top() const override;
    void setFocus() override;

    QAbstractButton *widget() const { return button_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *button_;
};

} // namespace platform::qt
