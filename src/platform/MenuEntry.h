#pragma once

#include <functional>

namespace platform {

// An entry of the menu bar, with its check mark. Choosing it (by mouse, access key or
// shortcut) runs onClick.
class MenuEntry
{
public:
    virtual ~MenuEntry() = default;

    virtual void setChecked(bool checked) = 0;
    virtual bool isChecked() const = 0;

    std::function<void()> onClick;
};

} // namespace platform
