// Why a calculation came out as it did, told beside the result rather than in it: the result
// box keeps its "Error" or result text, its tooltip and accessible description say the reason.
#include "app/FormTallix.h"

#include "platform/TextBox.h"

namespace app {

void FormTallix::explainResult()
{
    eval::Calculation c = lastCalculation_;
    if (c.errorPosition >= 0) {
        // The command evaluated the box's text without its leading spaces; the user counts
        // from the box's first character.
        const QString text = c_.Text1->text();
        int leading = 0;
        while (leading < text.size() && text.at(leading) == QLatin1Char(' '))
            ++leading;
        c.errorPosition += leading;
    }
    const QString reason = QString::fromStdString(eval::explainCalculation(c));
    c_.Text2->setToolTip(reason);
    c_.Text2->setAccessibleDescription(reason);
    if (!c.ok && c.syntaxError && c.errorPosition >= 0)
        c_.Text1->markFault(c.errorPosition, c.errorLength);
    else
        c_.Text1->markFault(-1, 0);
}

} // namespace app
