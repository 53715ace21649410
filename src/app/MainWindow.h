#pragma once

#include "FormTallix.h"

#include "platform/qt/QtWindowPlace.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QIcon;
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
    platform::qt::QtListBox *buildHistoryLists(); // gives List2, raised once all are built
    void buildEntryBoxes();
    void buildCommandButtons();
    void buildPalette();
    void buildKeypad();
    // The control's rectangle in the window's layout table (WindowLayout.h), in pixels.
    static QRect placeOf(const char *name);
    platform::qt::QtListBox *list(const char *name);
    platform::qt::QtButton *pictureButton(const char *name, const QString &tooltip, const QIcon &picture);
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
