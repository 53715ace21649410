#pragma once

#include "platform/FileDialogs.h"

class QWidget;

namespace platform::qt {

// Qt's own file dialogs (not the desktop's), so that they look and behave the same everywhere
// and tests can drive them.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *owner) : owner_(owner) {}

    QString saveFileName(const Request &request) override;
    QString openFileName(const Request &request) override;

private:
    QWidget *owner_;
};

} // namespace platform::qt
