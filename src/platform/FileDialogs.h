#pragma once

#include <QString>

namespace platform {

// The save and open dialogs. Each returns the chosen full path, or empty text when the user
// cancels. Neither asks about overwriting: the save command asks itself.
class FileDialogs
{
public:
    struct Request
    {
        QString title;
        QString filter;        // "Text Files (*.txt)"
        QString folder;        // where the dialog starts
        QString name;          // the proposed file name (save only)
        QString defaultSuffix; // added to a name typed without one (save only)
    };

    virtual ~FileDialogs() = default;

    virtual QString saveFileName(const Request &request) = 0;
    // The chosen file and its folder must exist.
    virtual QString openFileName(const Request &request) = 0;
};

} // namespace platform
