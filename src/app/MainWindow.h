#pragma once

#include "FormTallix.h"

#include "platform/qt/QtWindowPlace.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace platform::qt {
class QtButton;
class QtClipboard;
class QtFileDialogs;
class QtFileSystem;
class QtShell;
class QtListBox;
class QtMenuEntry;
class QtMessageBoxes;
class QtScriptDialogs;
class QtLongWork;
class QtTextBox;
} // namespace platform::qt

namespace companion {
class QtCompanionWindows;
}

namespace app {

// The calculator's window: every control at its place, the menu bar, and the Qt adapters
// through which FormTallix reaches them. Each widget's object name is its control's name.
class MainWindow : public platform::qt::QtWindowPlace<QMainWindow>
{
public:
    static constexpr int ClientWidth = 585;  // 8,775 twips
    static constexpr int ClientHeight = 382; // 5,730 twips

    MainWindow();
    ~MainWindow() override;

    const FormControls &controls() const { return controls_; }
    QWidget *clientArea() const { return client_; }

    // platform::Window
    void popupMenu(const QString &menuName, int x, int y) override;
    void close() override;
    void endProgram() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void setTabOrder();
    platform::qt::QtButton *button(const QString &name, const QString &caption, const QString &tooltip,
                                   QRect geometry);
    platform::qt::QtMenuEntry *entry(QMenu *menu, const QString &name, const QString &caption,
                                     const QKeySequence &shortcut = {});
    void separator(QMenu *menu, const QString &name);
    void activateAgain();

    QWidget *client_ = nullptr;
    FormControls controls_;
    std::vector<std::unique_ptr<QObject>> adapters_;
    std::unique_ptr<platform::qt::QtMessageBoxes> messages_;
    std::unique_ptr<platform::qt::QtScriptDialogs> scriptDialogs_;
    std::unique_ptr<platform::qt::QtLongWork> longWork_;
    std::unique_ptr<platform::qt::QtClipboard> clipboard_;
    std::unique_ptr<platform::qt::QtFileDialogs> fileDialogs_;
    std::unique_ptr<platform::qt::QtFileSystem> fileSystem_;
    std::unique_ptr<platform::qt::QtShell> shell_;
    std::unique_ptr<companion::QtCompanionWindows> companions_;
};

} // namespace app
