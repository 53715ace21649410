#pragma once

#include "FormUtility.h"

#include "platform/CompanionWindows.h"
#include "platform/Shell.h"
#include "platform/qt/QtWindowPlace.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

namespace platform::qt {
class QtTextBox;
}

namespace companion {

// The companion products window: three download links and the web address, modal.
class CompanionDialog : public platform::qt::QtWindowPlace<QDialog>
{
public:
    static constexpr int ClientWidth = 454;  // 6,810 twips
    static constexpr int ClientHeight = 228; // 3,420 twips

    CompanionDialog(QWidget *parent, platform::Shell &shell, platform::MessageBoxes &messages);
    ~CompanionDialog() override;

    const UtilityControls &controls() const { return controls_; }

    void popupMenu(const QString &, int, int) override {}
    void close() override { QDialog::close(); }
    void endProgram() override {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    UtilityControls controls_;
    std::vector<std::unique_ptr<platform::qt::QtTextBox>> links_;
};

// Shows a fresh companion window each time, and tells when it has closed.
class QtCompanionWindows : public platform::CompanionWindows
{
public:
    QtCompanionWindows(QWidget *owner, platform::Shell &shell, platform::MessageBoxes &messages)
        : owner_(owner), shell_(shell), messages_(messages) {}

    void showModal() override;

    std::function<void()> afterClose;

private:
    QWidget *owner_;
    platform::Shell &shell_;
    platform::MessageBoxes &messages_;
};

} // namespace companion
