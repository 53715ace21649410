#pragma once

#include "platform/ListBox.h"

#include <QHash>
#include <QObject>

class QTableView;

namespace platform::qt {

// A list box over a one-column QTableView: rows of one fixed height scrolled row by row, so
// the scroll bar's value is the top row, and appending to a long history costs the same as
// to a short one (a QListView lays all its rows out again on every append).
//
// As the platform's list box: a row is as high as a line of its font, the box shows whole
// rows only (it is shortened to a multiple of rows), Tab leaves it, a selection moved with the
// keys is a click, Space clicks the current row, and Enter double-clicks it (or clicks it
// where nothing answers a double click).
class QtListBox : public QObject, public ListBox
{
public:
    explicit QtListBox(QTableView *view);

    void addItem(const QString &row) override;
    void addItems(const QStringList &rows) override;
    void clear() override;
    void removeItem(int index) override;
    void ensureVisible(int index) override;
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

    // What a screen reader says for a row, by the row's text; rows not named say their text.
    void setSpokenRows(const QHash<QString, QString> &spoken);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class RowModel;
    void attach();
    void fitWholeRows();
    void activate(bool doubleClick);

    QTableView *view_;
    RowModel *model_;
    Rgb color_;
    bool attached_ = false;
    bool rowsFitted_ = false;
};

} // namespace platform::qt
