#pragma once

#include "platform/ListBox.h"

#include <QObject>

class QTableView;
class QStringListModel;

namespace platform::qt {

// A list box over a one-column QTableView: rows of one fixed height scrolled row by row, so
// the scroll bar's value is the top row, and appending to a long history costs the same as
// to a short one (a QListView lays all its rows out again on every append).
class QtListBox : public QObject, public ListBox
{
public:
    explicit QtListBox(QTableView *view);

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

    QTableView *widget() const { return view_; }

private:
    QTableView *view_;
    QStringListModel *model_;
    Rgb color_;
};

} // namespace platform::qt
