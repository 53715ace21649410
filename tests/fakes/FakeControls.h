#pragma once

#include "app/FormTallix.h"
#include "platform/Button.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/ListBox.h"
#include "platform/MenuEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/ScriptDialogs.h"
#include "platform/CompanionWindows.h"
#include "platform/Shell.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

#include <QBuffer>
#include <QHash>
#include <QPoint>
#include <QStringList>

#include <deque>
#include <memory>

// In-memory controls with the ports' contracts, for driving FormTallix without widgets.
namespace fakes {

class FakeWindow;

class FakeTextBox : public platform::TextBox
{
public:
    FakeTextBox(FakeWindow &window, QString name) : window_(window), name_(std::move(name)) {}

    QString text() const override { return text_; }
    void setText(const QString &text) override;
    int selStart() const override { return start_; }
    void setSelStart(int position) override;
    int selLength() const override { return length_; }
    void setSelLength(int length) override;
    QString selText() const override { return text_.mid(start_, length_); }
    void setForeColor(platform::Rgb color) override { color_ = color; }
    platform::Rgb foreColor() const override { return color_; }
    void setFocus() override;
    void setFontBold(bool b) override { bold_ = b; }
    bool isFontBold() const override { return bold_; }
    void setToolTip(const QString &text) override { tip_ = text; }
    QString toolTip() const override { return tip_; }
    void setAccessibleDescription(const QString &text) override { description_ = text; }
    QString accessibleDescription() const override { return description_; }
    void markFault(int start, int length) override { fault = start < 0 ? QPoint(-1, 0) : QPoint(start, length); }

    QPoint fault{-1, 0}; // the marked start and length; x is -1 when nothing is marked

    // A character key typed by the user: the key-press hook first, then the box applies it.
    void type(QChar key);
    void typeText(const QString &keys);

private:
    void edit(const QString &text, int caret);

    FakeWindow &window_;
    QString name_;
    QString text_;
    int start_ = 0;
    int length_ = 0;
    platform::Rgb color_;
    bool bold_ = false;
    QString tip_, description_;
};

class FakeListBox : public platform::ListBox
{
public:
    void addItem(const QString &row) override { rows << row; }
    void clear() override { rows.clear(); selected = -1; top = 0; }
    void removeItem(int index) override
    {
        if (index < 0 || index >= rows.size())
            return;
        rows.removeAt(index);
        if (selected == index)
            selected = -1;
        else if (selected > index)
            --selected;
        top = qBound(0, top, qMax(0, int(rows.size()) - shownRows));
    }
    void ensureVisible(int index) override
    {
        if (index < top)
            top = index;
        else if (index >= top + shownRows)
            top = index - shownRows + 1;
    }
    QString item(int index) const override { return index >= 0 && index < rows.size() ? rows[index] : QString(); }
    int count() const override { return int(rows.size()); }
    int listIndex() const override { return selected; }
    void setListIndex(int index) override { selected = index >= 0 && index < rows.size() ? index : -1; }
    int topIndex() const override { return top; }
    void setTopIndex(int index) override { top = index; }
    void setVisible(bool v) override { visible = v; }
    bool isVisible() const override { return visible; }
    void bringToFront() override { ++raised; }
    void setForeColor(platform::Rgb c) override { color = c; }
    platform::Rgb foreColor() const override { return color; }

    QStringList rows;
    int selected = -1;
    int top = 0;
    bool visible = true;
    int raised = 0;
    platform::Rgb color;
    int shownRows = 8; // rows in sight at once
};

class FakeButton : public platform::Button
{
public:
    FakeButton(FakeWindow &window, QString name, int left, int top)
        : window_(window), name_(std::move(name)), left_(left), top_(top) {}
    int left() const override { return left_; }
    int top() const override { return top_; }
    void setFocus() override;
    void click() { if (onClick) onClick(); }
    const QString &name() const { return name_; }

private:
    FakeWindow &window_;
    QString name_;
    int left_, top_;
};

class FakeMenuEntry : public platform::MenuEntry
{
public:
    void setChecked(bool c) override { checked = c; }
    bool isChecked() const override { return checked; }
    void choose() { if (onClick) onClick(); }
    bool checked = false;
};

struct Popup
{
    QString menu;
    int x, y;
};

class FakeWindow : public platform::Window
{
public:
    QString caption() const override { return title; }
    int screenWidth() const override { return screenW; }
    int screenHeight() const override { return screenH; }
    int width() const override { return outerW; }
    int height() const override { return outerH; }
    void move(int l, int t) override { left = l; top = t; }
    void popupMenu(const QString &menuName, int x, int y) override { popups.push_back({menuName, x, y}); }
    QString activeControlName() const override { return focus; }
    void announce(const QString &text) override { announced << text; }
    void close() override { closed = true; }
    void endProgram() override { ended = true; }

    QString title = QStringLiteral(" Numerette 9.19");
    int screenW = 1280 * 15, screenH = 800 * 15, outerW = 8865, outerH = 6390;
    int left = 0, top = 0;
    QString focus;
    std::vector<Popup> popups;
    QStringList announced;
    bool closed = false, ended = false;
};

class FakeMessageBoxes : public platform::MessageBoxes
{
public:
    int show(const QString &text, int style, const QString &title) override
    {
        shown << QStringLiteral("%1|%2|%3").arg(text).arg(style).arg(title);
        return answers.empty() ? platform::msgbox::Ok : answers.front();
    }
    QStringList shown;
    std::deque<int> answers;
};

// Answers MsgBox with queued button numbers (OK when none) and InputBox with queued texts
// (none: the user cancels), and keeps what each dialog showed.
class FakeScriptDialogs : public platform::ScriptDialogs
{
public:
    int message(const QString &prompt, const QString &title, int buttons, int icon, int defaultButton) override
    {
        shown << QStringLiteral("%1|%2|%3|%4|%5").arg(prompt, title).arg(buttons).arg(icon).arg(defaultButton);
        if (buttonAnswers.empty())
            return 1;
        const int answer = buttonAnswers.front();
        buttonAnswers.pop_front();
        return answer;
    }
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        shown << QStringLiteral("%1|%2|%3").arg(prompt, title, defaultText);
        if (typed.empty())
            return std::nullopt;
        const QString answer = typed.front();
        typed.pop_front();
        return answer;
    }
    QStringList shown;
    std::deque<int> buttonAnswers;
    std::deque<QString> typed;
};

class FakeClipboard : public platform::Clipboard
{
public:
    bool clear() override { ++clears; if (!working) return false; content.clear(); return true; }
    bool setText(const QString &t) override { if (!working) return false; content = t; return true; }
    std::optional<QString> text() const override { if (!working) return std::nullopt; return content; }
    QString content;
    int clears = 0;
    bool working = true; // false: another program holds the clipboard
};

// Answers the dialogs with queued paths (empty text: the user cancels) and keeps the requests.
class FakeFileDialogs : public platform::FileDialogs
{
public:
    QString saveFileName(const Request &r) override { requests.push_back(r); return next(); }
    QString openFileName(const Request &r) override { requests.push_back(r); return next(); }
    std::deque<QString> answers;
    std::vector<Request> requests;

private:
    QString next()
    {
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Files in memory, by path; the program's folder, the writable folders and the date fixed, and
// writes that can be made to fail.
class FakeFileSystem : public platform::FileSystem
{
public:
    bool fileExists(const QString &path) const override { return files.contains(path); }
    bool replaceFile(const QString &path, const QByteArray &contents, QString &error) override
    {
        if (failWrites) {
            error = QStringLiteral("Cannot save to \"%1\": No space left on device").arg(path);
            return false;
        }
        files.insert(path, contents);
        return true;
    }
    std::unique_ptr<QIODevice> openForReading(const QString &path, QString &error) override
    {
        if (!files.contains(path)) {
            error = QStringLiteral("Cannot load \"%1\": No such file or directory").arg(path);
            return nullptr;
        }
        auto file = std::make_unique<QBuffer>();
        file->setData(files.value(path));
        file->open(QIODevice::ReadOnly);
        return file;
    }
    QString programFolder() const override { return program; }
    bool isWritableFolder(const QString &path) const override { return writableFolders.contains(path); }
    QString documentsFolder() const override { return documents; }
    QDate today() const override { return QDate(2026, 3, 7); }

    QHash<QString, QByteArray> files;
    QStringList writableFolders;
    QString program = QStringLiteral("/nonexistent/bin");
    QString documents = QStringLiteral("/home/user/Documents");
    bool failWrites = false;
};

// Programs that "exist" when listed; everything started or opened is recorded.
class FakeShell : public platform::Shell
{
public:
    QString findProgram(const QString &name) const override
    {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
    bool startDetached(const QString &program) override
    {
        started << program;
        return !broken.contains(program);
    }
    bool openUrl(const QString &address) override
    {
        opened << address;
        return true;
    }
    QString defaultApplication(const QString &mimeType) const override { return defaults.value(mimeType); }
    bool startApplication(const QString &desktopEntry) override
    {
        started << desktopEntry;
        return !broken.contains(desktopEntry);
    }
    QStringList installed, broken, started, opened;
    QHash<QString, QString> defaults; // MIME type to desktop entry
};

class FakeCompanions : public platform::CompanionWindows
{
public:
    void showModal() override { ++shown; }
    int shown = 0;
};

// Every control of the window, wired into FormControls as the real window does.
struct FakeForm
{
    FakeForm();

    FakeWindow window;
    FakeMessageBoxes messages;
    FakeScriptDialogs scriptDialogs;
    FakeClipboard clipboard;
    FakeFileDialogs fileDialogs;
    FakeFileSystem fileSystem;
    FakeShell shell;
    FakeCompanions companions;
    FakeTextBox Text1{window, QStringLiteral("Text1")};
    FakeTextBox Text2{window, QStringLiteral("Text2")};
    FakeListBox List1, List2, List3;
    std::deque<FakeButton> buttons;
    std::deque<FakeMenuEntry> menus;
    app::FormControls controls;

    FakeButton &button(const QString &name);
    FakeMenuEntry &mnuDec(int entry) { return static_cast<FakeMenuEntry &>(*controls.mnuDec[std::size_t(entry)]); }
};

// The window logic over fresh fakes, started; with `entryStarted`, past the first click too.
struct Started
{
    FakeForm fake;
    std::unique_ptr<app::FormTallix> form;

    explicit Started(bool entryStarted = false)
    {
        form = std::make_unique<app::FormTallix>(fake.controls);
        form->Form_Load();
        if (entryStarted)
            fake.Text1.onClick();
    }
    static void choose(platform::MenuEntry *entry) { static_cast<FakeMenuEntry *>(entry)->choose(); }
};

// A box state written as its text with "|" at the caret or "[...]" around the selection.
void setState(FakeTextBox &box, const QString &state);
QString stateOf(const FakeTextBox &box);

} // namespace fakes
