#pragma once

#include "platform/ListBox.h"

#include <QObject>

class QListView;
class QStringListModel;

namespace platform::qt {

// A list box over QListView with uniform rows scrolled row by row, so the scroll bar's value
// is the top row and long histories stay fast.
class QtListBox : public QObject, public ListBox
{
public:
    explicit QtListBox(QListView *view);

    void addItem(const QString &row) override;
    void addItems(const QStringList &rows) override;
    void clear() override;
    QString item(int index) const override;
    int count() const override;
    int listIndex() const override;
    void setListIndex(int index) override;
    int topIndex() const override;
    void setTopIndex(int index) override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void bringToFront() override;
    void setForeColor(Rgb color) override;
    Rgb foreColor() const override { return color_; }

    QListView *widget() const { return view_; }

private:
    QListView *view_;
    QStringListModel *model_;
    Rgb color_;
};

} // namespace platform::qt
