// The function palette: operators and functions picked from a pop-up list.
#include "app/FormTallix.h"

#include "platform/Button.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

namespace app {
namespace {

// The palette's rows: the first seven are operators, inserted with a space on each side; the
// rest are functions.
const QStringList paletteRows{"+", "-", "*", "/", "\\", "^", "Mod", "Sqr", "Exp",
                              "Abs", "Log", "Rnd", "Cos", "Sin", "Sgn", "Tan", "Atn", "Int"};
constexpr int operatorRows = 7;

} // namespace

void FormTallix::connectFunctionPalette()
{
    c_.Command5->onClick = [this] { Command5_Click(); };
    c_.List3->onClick = [this] { List3_Click(); };
}

void FormTallix::fillFunctionPalette()
{
    for (const QString &row : paletteRows)
        c_.List3->addItem(row);
}

void FormTallix::Command5_Click()
{
    c_.List3->setVisible(true);
    c_.List3->bringToFront();
    // The short form of ending the instruction state: the history keeps its grey, and
    // EntryStarted stays as it was.
    if (c_.Text1->text().startsWith(InstructionMarker))
        endInstructionState();
}

void FormTallix::List3_Click()
{
    c_.List3->setVisible(false);
    const int index = c_.List3->listIndex();
    if (index < 0)
        return;
    const QString entry = c_.List3->item(index);
    if (index < operatorRows) {
        InsertAtCaret(QLatin1Char(' ') + entry + QLatin1Char(' '));
        return;
    }
    // A function arrives with empty parentheses and the caret between them.
    platform::TextBox &box = *c_.Text1;
    const int start = box.selStart();
    box.setSelText(entry + QStringLiteral("()"));
    box.setFocus();
    box.setSelStart(start + int(entry.size()) + 1);
}

} // namespace app
