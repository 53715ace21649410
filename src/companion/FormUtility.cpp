#include "FormUtility.h"

#include "CompanionProducts.h"

#include "shared/UnscrambleText.h"
#include "platform/MessageBoxes.h"
#include "platform/Shell.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

namespace companion {

namespace {
constexpr platform::Rgb LinkAtRest{0, 0, 192};
constexpr platform::Rgb LinkUnderMouse{255, 0, 0};
} // namespace

FormUtility::FormUtility(const UtilityControls &controls) : c_(controls)
{
    c_.window->onActivate = [this] { Form_Activate(); };
    c_.window->onMouseMove = [this] { Form_MouseMove(); };
    c_.window->onFrameKnown = [this] { place(); };
    using Handler = void (FormUtility::*)();
    struct LinkHandlers
    {
        Handler move, down, up, click;
    };
    static constexpr std::array<LinkHandlers, 4> handlers{
        LinkHandlers{&FormUtility::Text1_MouseMove, &FormUtility::Text1_MouseDown, &FormUtility::Text1_MouseUp,
                     &FormUtility::Text1_Click},
        LinkHandlers{&FormUtility::Text2_MouseMove, &FormUtility::Text2_MouseDown, &FormUtility::Text2_MouseUp,
                     &FormUtility::Text2_Click},
        LinkHandlers{&FormUtility::Text3_MouseMove, &FormUtility::Text3_MouseDown, &FormUtility::Text3_MouseUp,
                     &FormUtility::Text3_Click},
        LinkHandlers{&FormUtility::Text4_MouseMove, &FormUtility::Text4_MouseDown, &FormUtility::Text4_MouseUp,
                     &FormUtility::Text4_Click}};
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        platform::TextBox &link = *c_.links[i];
        const LinkHandlers h = handlers[i];
        link.onMouseMove = [this, h] { (this->*h.move)(); };
        link.onMouseDown = [this, h] { (this->*h.down)(); };
        link.onMouseUp = [this, h] { (this->*h.up)(); };
        link.onClick = [this, h] { (this->*h.click)(); };
        // Enter opens the link, as a click does, for those who come by keyboard; the box
        // ignored it. Other keys still type into the box.
        link.onKeyPress = [this, h](int &keyAscii) {
            if (keyAscii == 13) {
                keyAscii = 0;
                (this->*h.click)();
            }
        };
    }
}

void FormUtility::place()
{
    platform::Window &w = *c_.window;
    w.move((w.screenWidth() - w.width()) / 2, (w.screenHeight() - w.height()) / 2 - 100);
}

void FormUtility::Form_Activate()
{
    place();
    const shared::Unscrambled address = shared::webAddress();
    c_.links[3]->setText(address.text.value_or(QString()));
}

void FormUtility::Form_MouseMove()
{
    for (platform::TextBox *link : c_.links)
        link->setForeColor(LinkAtRest);
}

void FormUtility::hover(int link) { c_.links[std::size_t(link)]->setForeColor(LinkUnderMouse); }
void FormUtility::press(int link, bool bold) { c_.links[std::size_t(link)]->setFontBold(bold); }
void FormUtility::openDownload(int link) { c_.shell->openUrl(DownloadAddresses[std::size_t(link)]); }

void FormUtility::Text1_MouseMove() { hover(0); }
void FormUtility::Text2_MouseMove() { hover(1); }
void FormUtility::Text3_MouseMove() { hover(2); }
void FormUtility::Text4_MouseMove() { hover(3); }
void FormUtility::Text1_MouseDown() { press(0, true); }
void FormUtility::Text2_MouseDown() { press(1, true); }
void FormUtility::Text3_MouseDown() { press(2, true); }
void FormUtility::Text4_MouseDown() { press(3, true); }
void FormUtility::Text1_MouseUp() { press(0, false); }
void FormUtility::Text2_MouseUp() { press(1, false); }
void FormUtility::Text3_MouseUp() { press(2, false); }
void FormUtility::Text4_MouseUp() { press(3, false); }
void FormUtility::Text1_Click() { openDownload(0); }
void FormUtility::Text2_Click() { openDownload(1); }
void FormUtility::Text3_Click() { openDownload(2); }

void FormUtility::Text4_Click()
{
    // Anew on each click; the text the box shows is not read.
    const shared::Unscrambled address = shared::webAddress();
    if (address.text)
        c_.shell->openUrl(*address.text);
    else
        c_.messages->show(QStringLiteral("The web address cannot be read: ") + address.error, platform::msgbox::Critical);
}

void FormUtility::Command1_Click() { c_.window->close(); }

} // namespace companion
