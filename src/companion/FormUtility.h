#pragma once

#include <array>

namespace platform {
class MessageBoxes;
class Shell;
class TextBox;
class Window;
} // namespace platform

namespace companion {

struct UtilityControls
{
    platform::Window *window = nullptr;
    std::array<platform::TextBox *, 4> links{}; // Text1 to Text3: downloads; Text4: the web address
    platform::Shell *shell = nullptr;
    platform::MessageBoxes *messages = nullptr;
};

// The companion products window's logic: links that turn red under the mouse (only the bare
// background turns them back), bold while pressed, and open their address when clicked.
class FormUtility
{
public:
    explicit FormUtility(const UtilityControls &controls);

    void Form_Activate();
    void Form_MouseMove();
    void Text1_MouseMove();
    void Text2_MouseMove();
    void Text3_MouseMove();
    void Text4_MouseMove();
    void Text1_MouseDown();
    void Text2_MouseDown();
    void Text3_MouseDown();
    void Text4_MouseDown();
    void Text1_MouseUp();
    void Text2_MouseUp();
    void Text3_MouseUp();
    void Text4_MouseUp();
    void Text1_Click();
    void Text2_Click();
    void Text3_Click();
    void Text4_Click();
    void Command1_Click();

private:
    void place(); // centred, 100 twips above the middle, by the outer size
    void hover(int link);
    void press(int link, bool bold);
    void openDownload(int link);

    UtilityControls c_;
};

} // namespace companion
