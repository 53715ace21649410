#pragma once

#include <array>
#include <stdexcept>
#include <string_view>

namespace app {

// The main window's controls as its form holds them, in tab order: each control's name, its
// kind, its rectangle in twips (15 to a pixel) and the point size of its text. Text2 stands
// inside Picture1, its rectangle relative to that frame. The eighteen keypad keys (CommandNum)
// are one row: the first key's place, the others each KeyStep twips further right.
struct ControlLayout
{
    enum Kind { List, TextBox, Frame, Button, PictureButton, Keypad };

    const char *name;
    Kind kind;
    int left, top, width, height;
    double pointSize; // MS Sans Serif; the keypad's keys are Tahoma
};

inline constexpr int KeyStep = 360;

inline constexpr std::array<ControlLayout, 16> WindowLayout{{
    {"Text1", ControlLayout::TextBox, 120, 2920, 8535, 2295, 13.5},
    {"Text2", ControlLayout::TextBox, 0, 0, 3375, 390, 13.5},
    {"Command4", ControlLayout::Button, 120, 5280, 735, 375, 8.25},
    {"Command5", ControlLayout::Button, 960, 5280, 855, 375, 8.25},
    {"Command2", ControlLayout::Button, 1920, 5280, 855, 375, 8.25},
    {"Command3", ControlLayout::Button, 6450, 5280, 975, 375, 8.25},
    {"CommandCopy1", ControlLayout::PictureButton, 7890, 5280, 375, 375, 8.25},
    {"CommandCopy2", ControlLayout::PictureButton, 8280, 5280, 375, 375, 8.25},
    {"List1", ControlLayout::List, 120, 60, 6135, 2430, 12},
    {"List2", ControlLayout::List, 5880, 60, 2775, 2430, 12},
    {"Picture1", ControlLayout::Frame, 2880, 5280, 3500, 375, 8.25},
    {"List3", ControlLayout::List, 960, 920, 855, 4350, 9.75},
    {"CommandCC", ControlLayout::PictureButton, 7500, 5280, 375, 375, 8.25},
    {"CommandNum", ControlLayout::Keypad, 1080, 2520, 375, 375, 8.25},
    {"Command1", ControlLayout::Button, 120, 2520, 735, 375, 8.25},
    {"Command6", ControlLayout::PictureButton, 7680, 2520, 495, 375, 8.25},
}};

// The layout of the control of that name; every name the window builds is there.
constexpr const ControlLayout &layoutOf(std::string_view name)
{
    for (const ControlLayout &control : WindowLayout)
        if (name == control.name)
            return control;
    throw std::out_of_range("no control of that name in the window's layout");
}

} // namespace app
