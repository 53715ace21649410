// The calculate command and the result box: the window side of evaluation.
#include "app/FormTallix.h"
#include "shared/TrimSpaces.h"

#include "eval/Calculation.h"

#include "platform/Button.h"
#include "platform/LongWork.h"
#include "platform/MenuEntry.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

namespace app {
namespace {

// What a screen reader says after a calculation: the result box's text, and why, when the box
// explains itself.
QString outcome(const platform::TextBox &result)
{
    const QString why = result.toolTip();
    return why.isEmpty() ? result.text() : result.text() + QStringLiteral(". ") + why;
}

// The window stays alive through a long calculation (LongWork), ended however it ends.
class Working
{
public:
    explicit Working(platform::LongWork *work) : work_(work)
    {
        if (work_ != nullptr)
            work_->begin();
    }
    ~Working()
    {
        if (work_ != nullptr)
            work_->end(); // what was typed meanwhile waits until this command is done
    }
    Working(const Working &) = delete;
    Working &operator=(const Working &) = delete;

private:
    platform::LongWork *work_;
};

} // namespace

void FormTallix::connectCalculate()
{
    c_.Text1->onKeyPress = [this](int &keyAscii) { Text1_KeyPress(keyAscii); };
    c_.Command3->onClick = [this] { Command3_Click(); };
    c_.mnuCalculate->onClick = [this] { mnuCalculate_Click(); };
    // A reason belongs to the result it explains: any other text in the box drops it.
    c_.Text2->onChange = [this] {
        c_.Text2->setToolTip(QString());
        c_.Text2->setAccessibleDescription(QString());
    };
    if (c_.longWork != nullptr)
        ScriptControl1.setCheckpoint([work = c_.longWork] {
            if (!work->keepGoing()) // Escape
                throw eval::ScriptError(eval::EvaluationCancelled);
        });
}

void FormTallix::EvaluateExpression(const QString &expression)
{
    // The engine takes the whole road (upper case, rewrite, evaluate, format), as the command
    // line does, so both give the same result text for the same expression.
    {
        const Working working(c_.longWork);
        lastCalculation_ = eval::calculateResultText(ScriptControl1, expression.toStdString(), DecimalPlaces);
    }
    if (!lastCalculation_.ok)
        throw lastCalculation_.error;
    c_.Text2->setText(QString::fromStdString(lastCalculation_.resultText));
    c_.Text2->setForeColor(platform::colors::Navy);
    c_.CommandCC->setFocus();
}

void FormTallix::Command3_Click()
{
    try {
        const QString expression = shared::trimSpaces(c_.Text1->text());
        EvaluateExpression(expression);
        if (history_.instructionRowsShown())
            history_.emptyBoth();
        if (expression != history_.lastExpressionRow())
            history_.appendEntry(expression, c_.Text2->text());
        explainResult();
        c_.window->announce(outcome(*c_.Text2)); // a screen reader's user hears the outcome too
    } catch (const eval::ScriptError &) {
        c_.Text2->setForeColor(platform::colors::Red);
        c_.Text2->setText(QStringLiteral("Error"));
        explainResult();
        c_.window->announce(outcome(*c_.Text2));
    }
}

void FormTallix::mnuCalculate_Click() { Command3_Click(); }

void FormTallix::Text1_KeyPress(int &keyAscii)
{
    if (keyAscii == 8) {
        BackspacePressed = true;
        return;
    }
    BackspacePressed = false;
    if (keyAscii == 13) {
        Command3_Click();
        keyAscii = 0; // Enter never reaches the box: no line break
    }
}

} // namespace app
