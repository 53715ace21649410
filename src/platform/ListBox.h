#pragma once

#include "Rgb.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// A list box of the window: rows of text in the order added, at most one selected.
// Reading a row that does not exist (-1, at or past the count) gives empty text.
class ListBox
{
public:
    virtual ~ListBox() = default;

    virtual void addItem(const QString &row) = 0;
    virtual void addItems(const QStringList &rows)
    {
        for (const QString &row : rows)
            addItem(row);
    }
    virtual void clear() = 0;
    virtual void removeItem(int index) = 0; // rows after it move up; no such row: nothing
    virtual void ensureVisible(int index) = 0; // scrolls only when the row is out of sight
    virtual QString item(int index) const = 0;
    virtual int count() const = 0;

    virtual int listIndex() const = 0; // the selected row, -1 for none
    virtual void setListIndex(int index) = 0; // -1 deselects
    virtual int topIndex() const = 0;
    virtual void setTopIndex(int index) = 0;

    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void bringToFront() = 0;
    virtual void setForeColor(Rgb color) = 0;
    virtual Rgb foreColor() const = 0;

    QString text() const { return item(listIndex()); } // the selected row's text

    std::function<void()> onClick;       // after the clicked row is selected
    std::function<void()> onDoubleClick;
    std::function<void()> onScroll;      // the list has scrolled
    std::function<void()> onDeleteKey;   // Delete pressed while the list has the focus
};

} // namespace platform
