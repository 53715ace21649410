#pragma once

#include "eval/Calculation.h"
#include "eval/DialogPort.h"
#include "eval/ScriptControl.h"
#include "history/HistoryLists.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

namespace platform {
class Button;
class Clipboard;
class FileDialogs;
class FileSystem;
class ListBox;
class LongWork;
class MenuEntry;
class MessageBoxes;
class ScriptDialogs;
class Shell;
class CompanionWindows;
class TextBox;
class Window;
} // namespace platform

namespace app {

// The window's controls as the logic reaches them: every one through its port.
struct FormControls
{
    platform::Window *window = nullptr;
    platform::MessageBoxes *messages = nullptr;
    platform::Clipboard *clipboard = nullptr;
    platform::FileDialogs *fileDialogs = nullptr;
    platform::FileSystem *fileSystem = nullptr;
    platform::Shell *shell = nullptr;
    platform::CompanionWindows *companions = nullptr;
    platform::ScriptDialogs *scriptDialogs = nullptr; // MsgBox and InputBox of expressions
    platform::LongWork *longWork = nullptr; // keeps the window alive while it calculates

    platform::TextBox *Text1 = nullptr; // the expression box
    platform::TextBox *Text2 = nullptr; // the result box
    platform::ListBox *List1 = nullptr; // history expressions
    platform::ListBox *List2 = nullptr; // history results
    platform::ListBox *List3 = nullptr; // the function palette

    platform::Button *Command1 = nullptr; // "Clear" the history
    platform::Button *Command2 = nullptr; // "Decimal"
    platform::Button *Command3 = nullptr; // "= Calculate"
    platform::Button *Command4 = nullptr; // "Clear" the expression box
    platform::Button *Command5 = nullptr; // "Function"
    platform::Button *Command6 = nullptr; // backspace
    platform::Button *CommandCC = nullptr;
    platform::Button *CommandCopy1 = nullptr;
    platform::Button *CommandCopy2 = nullptr;
    std::array<platform::Button *, 18> CommandNum{};

    platform::MenuEntry *mnuSave = nullptr, *mnuLoad = nullptr, *mnuWebsite = nullptr, *mnuExit = nullptr;
    platform::MenuEntry *mnuCalculate = nullptr, *mnuCut = nullptr, *mnuCopy = nullptr,
                        *mnuPaste = nullptr, *mnuSelAll = nullptr;
    platform::MenuEntry *mnuClsHistory = nullptr, *mnuClsPad = nullptr, *mnuClearAll = nullptr;
    std::array<platform::MenuEntry *, 11> mnuDec{}; // mnuDec0 to mnuDec9, then mnuDecAuto
    platform::MenuEntry *mnuNotepad = nullptr, *mnuPaint = nullptr;
    platform::MenuEntry *mnuBK1 = nullptr, *mnuBK2 = nullptr, *mnuBK3 = nullptr;
    platform::MenuEntry *mnuHelpTopic = nullptr, *mnuAbout = nullptr;
};

// The main window's logic. Its handlers are its methods, named control_event, each defined
// beside the rest of its subsystem; it reaches the widgets only through the ports.
class FormTallix
{
public:
    // Connects the handlers to the controls' notifications. Nothing else happens until Form_Load.
    explicit FormTallix(const FormControls &controls);

    FormTallix(const FormTallix &) = delete;
    FormTallix &operator=(const FormTallix &) = delete;

    // Start-up, activation and end (app/).
    void Form_Load();
    void Form_Activate();
    void Form_Click();
    void mnuExit_Click();

    // Help, about, launchers and the web address (app/).
    void mnuHelpTopic_Click();
    void mnuAbout_Click();
    void mnuNotepad_Click();
    void mnuPaint_Click();
    void mnuWebsite_Click();
    void mnuBK1_Click();
    void mnuBK2_Click();
    void mnuBK3_Click();

    // The expression box's own rules (entry/).
    void Text1_Change();
    void Text1_Click();
    // Ctrl+L and F6: into the expression box from anywhere, its text selected (entry/).
    void goToExpressionBox();

    // Keypad, backspace and clearing (entry/).
    void InsertAtCaret(const QString &text);
    void CommandNum_Click(std::int16_t index);
    void CommandNum_MouseMove();
    void Command6_Click();
    void Command4_Click();
    void mnuClsPad_Click();

    // The function palette (entry/).
    void Command5_Click();
    void List3_Click();

    // The Edit menu (entry/): on whichever box has the focus.
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuSelAll_Click();

    // History rows put back, scrolled together and cleared (history/).
    void List1_Click();
    void List1_DblClick();
    void List2_Click();
    void List1_Scroll();
    void List2_Scroll();
    void Command1_Click();
    void mnuClsHistory_Click();
    void mnuClearAll_Click();
    // Delete on a history row removes its entry; Ctrl+Up and Ctrl+Down in the expression box
    // walk through the history's expressions (history/).
    void List1_KeyDelete();
    void List2_KeyDelete();
    void Text1_Recall(int direction);

    // The copy buttons (history/).
    void CommandCC_Click();
    // A key typed on CommandCC goes on into the expression box (history/).
    void CommandCC_KeyPress(int &keyAscii);
    void CommandCopy1_Click();
    void CommandCopy2_Click();

    // The history file (history/).
    void mnuSave_Click();
    void mnuLoad_Click();
    QString ChooseSaveFile();
    QString ChooseOpenFile();

    // Evaluation and the calculate command (eval/window/). EvaluateExpression throws
    // eval::ScriptError and leaves the result box as it was when evaluation fails.
    void EvaluateExpression(const QString &expression);
    void Command3_Click();
    void mnuCalculate_Click();
    void Text1_KeyPress(int &keyAscii);

    // Decimal places (eval/window/).
    void mnuDec0_Click();
    void mnuDec1_Click();
    void mnuDec2_Click();
    void mnuDec3_Click();
    void mnuDec4_Click();
    void mnuDec5_Click();
    void mnuDec6_Click();
    void mnuDec7_Click();
    void mnuDec8_Click();
    void mnuDec9_Click();
    void mnuDecAuto_Click();
    void UncheckDecimalPlaces();
    void Command2_Click();

    // The window's fields.
    std::int16_t DecimalPlaces = 0;
    bool BackspacePressed = false;
    bool EntryStarted = false;
    eval::ScriptControl ScriptControl1;

    history::HistoryLists &historyLists() { return history_; }

    // The start-up text of the expression box; its first 30 characters mark the instruction state.
    static const QString InstructionText;
    static const QString InstructionMarker;
    // The about box's title and notice.
    static const QString MakerName;
    static const QString MakerNotice;

private:
    void placeWindow(); // centred, 300 twips above the middle, by the outer size
    void fillFunctionPalette();
    void chooseDecimalPlaces(int entry, std::int16_t value);
    // Each defined beside the handlers of the controls it wires.
    void connectExpressionBox();
    void connectKeypad();
    void connectFunctionPalette();
    void connectEditMenu();
    void connectCalculate();
    void connectDecimalPlaces();
    void connectScriptDialogs();
    void connectRowReuse();
    void connectCopyButtons();
    void connectHistoryFile();
    void connectHelp();
    void launch(const QString &what, const QString &mimeType, const QStringList &candidates);
    QString dialogFolder() const;
    void endInstructionState();
    void removeHistoryEntry(platform::ListBox &list);
    // Says why the last calculation came out as it did: Text2's tooltip and description, and
    // the faulty spot of a syntax error marked in Text1 (eval/window/).
    void explainResult();
    platform::TextBox *editTarget() const;

    FormControls c_;
    history::HistoryLists history_;
    eval::Calculation lastCalculation_; // what EvaluateExpression last found, for explainResult
    // The walk through the history's expressions: the row shown (-1: none), the text the walk
    // put into the box, and what had been typed before it began.
    int recallRow_ = -1;
    QString recallShown_, recallTyped_;
    std::unique_ptr<eval::DialogPort> scriptDialogs_; // ScriptControl1's way to the user
};

} // namespace app
