// The decimal-places setting: the eleven menu entries and the "Decimal" button's pop-up.
#include "app/FormTallix.h"

#include "eval/DecimalPlaces.h"

#include "platform/Button.h"
#include "platform/MenuEntry.h"
#include "platform/MessageBoxes.h"
#include "platform/Window.h"

#include <array>
#include <exception>

namespace app {

void FormTallix::connectDecimalPlaces()
{
    c_.Command2->onClick = [this] { Command2_Click(); };
    using Handler = void (FormTallix::*)();
    static constexpr std::array<Handler, 11> decimalHandlers{
        &FormTallix::mnuDec0_Click, &FormTallix::mnuDec1_Click, &FormTallix::mnuDec2_Click,
        &FormTallix::mnuDec3_Click, &FormTallix::mnuDec4_Click, &FormTallix::mnuDec5_Click,
        &FormTallix::mnuDec6_Click, &FormTallix::mnuDec7_Click, &FormTallix::mnuDec8_Click,
        &FormTallix::mnuDec9_Click, &FormTallix::mnuDecAuto_Click};
    for (std::size_t i = 0; i < decimalHandlers.size(); ++i)
        c_.mnuDec[i]->onClick = [this, handler = decimalHandlers[i]] { (this->*handler)(); };
}

void FormTallix::UncheckDecimalPlaces()
{
    for (platform::MenuEntry *entry : c_.mnuDec)
        entry->setChecked(false);
}

void FormTallix::chooseDecimalPlaces(int entry, std::int16_t value)
{
    UncheckDecimalPlaces();
    c_.mnuDec[static_cast<std::size_t>(entry)]->setChecked(true);
    DecimalPlaces = value;
}

void FormTallix::mnuDec0_Click() { chooseDecimalPlaces(0, 0); }
void FormTallix::mnuDec1_Click() { chooseDecimalPlaces(1, 1); }
void FormTallix::mnuDec2_Click() { chooseDecimalPlaces(2, 2); }
void FormTallix::mnuDec3_Click() { chooseDecimalPlaces(3, 3); }
void FormTallix::mnuDec4_Click() { chooseDecimalPlaces(4, 4); }
void FormTallix::mnuDec5_Click() { chooseDecimalPlaces(5, 5); }
void FormTallix::mnuDec6_Click() { chooseDecimalPlaces(6, 6); }
void FormTallix::mnuDec7_Click() { chooseDecimalPlaces(7, 7); }
void FormTallix::mnuDec8_Click() { chooseDecimalPlaces(8, 8); }
void FormTallix::mnuDec9_Click() { chooseDecimalPlaces(9, 9); }
void FormTallix::mnuDecAuto_Click() { chooseDecimalPlaces(10, eval::DecimalPlacesAuto); }

void FormTallix::Command2_Click()
{
    try {
        // Above the button, over the expression box.
        c_.window->popupMenu(QStringLiteral("mnuDec"), c_.Command2->left(), c_.Command2->top() - 2920);
    } catch (const std::exception &error) {
        c_.messages->show(QString::fromLocal8Bit(error.what()), platform::msgbox::OkOnly);
    }
}

} // namespace app
