#pragma once

namespace platform {

// The companion products window, shown modally: returns once it is closed.
class CompanionWindows
{
public:
    virtual ~CompanionWindows() = default;
    virtual void showModal() = 0;
};

} // namespace platform
