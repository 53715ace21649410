#include "FormTallix.h"

#include "ScriptProvisioning.h"

#include "eval/DecimalPlaces.h"

#include "platform/ListBox.h"
#include "platform/MenuEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

#include <exception>

namespace app {
namespace {

// The window stands this many twips above the middle of the screen.
constexpr int RaisedAboveMiddle = 300;
// Beyond the end of any result text: the caret is put behind the result.
constexpr int CaretPastResult = 99;

} // namespace

const QString FormTallix::InstructionMarker = QStringLiteral("Type in here a math expression");
const QString FormTallix::InstructionText =
    InstructionMarker + QStringLiteral("\r\nThen press the ENTER key to calculate the result: \r\n\r\n") +
    QString(24, QLatin1Char(' ')) + QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3");

FormTallix::FormTallix(const FormControls &controls) : c_(controls), history_(*controls.List1, *controls.List2)
{
    c_.window->onActivate = [this] { Form_Activate(); };
    c_.window->onClick = [this] { Form_Click(); };
    // Placed again once the window manager's frame is known: the height includes the title bar.
    c_.window->onFrameKnown = [this] { placeWindow(); };
    c_.mnuExit->onClick = [this] { mnuExit_Click(); };

    // Each subsystem wires the controls it handles, beside its handlers.
    connectExpressionBox();
    connectKeypad();
    connectFunctionPalette();
    connectEditMenu();
    connectCalculate();
    connectDecimalPlaces();
    connectScriptDialogs();
    connectRowReuse();
    connectCopyButtons();
    connectHistoryFile();
    connectHelp();
}

void FormTallix::Form_Load()
{
    try {
        placeWindow();
        c_.Text1->setText(InstructionText);
        c_.Text2->setText(QStringLiteral("= 595.09"));
        c_.Text1->setForeColor(platform::colors::Grey);
        DecimalPlaces = eval::DecimalPlacesAtStart;
        history_.fillInstructionRows();
        fillFunctionPalette();
        EnsureScriptControl(ScriptControl1);
    } catch (const eval::ScriptError &error) {
        c_.messages->show(QString::fromStdString(error.description), platform::msgbox::Critical);
    } catch (const std::exception &error) {
        c_.messages->show(QString::fromLocal8Bit(error.what()), platform::msgbox::Critical);
    }
}

void FormTallix::placeWindow()
{
    platform::Window &w = *c_.window;
    w.move((w.screenWidth() - w.width()) / 2, (w.screenHeight() - w.height()) / 2 - RaisedAboveMiddle);
}

void FormTallix::Form_Activate()
{
    c_.Text2->setFocus();
    c_.Text2->setSelStart(CaretPastResult);
}

void FormTallix::Form_Click() { c_.List3->setVisible(false); }

void FormTallix::mnuExit_Click()
{
    c_.window->close();
    c_.window->endProgram();
}

} // namespace app
