#include "QtListBox.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <QScrollBar>
#include <QStringListModel>

namespace platform::qt {

QtListBox::QtListBox(QTableView *view) : view_(view), model_(new QStringListModel(view))
{
    view_->setModel(model_);
    view_->horizontalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setDefaultSectionSize(QFontMetrics(view_->font()).height() + 2);
    view_->setShowGrid(false);
    view_->setWordWrap(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(view_, &QTableView::clicked, this, [this] {
        if (onClick)
            onClick();
    });
    connect(view_, &QTableView::doubleClicked, this, [this] {
        if (onDoubleClick)
            onDoubleClick();
    });
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (onScroll)
            onScroll();
    });
}

void QtListBox::addItem(const QString &row)
{
    const int n = model_->rowCount();
    model_->insertRows(n, 1);
    model_->setData(model_->index(n), row);
}

void QtListBox::addItems(const QStringList &rows)
{
    const int n = model_->rowCount();
    model_->insertRows(n, int(rows.size()));
    for (int i = 0; i < rows.size(); ++i)
        model_->setData(model_->index(n + i), rows[i]);
}

void QtListBox::clear() { model_->setStringList({}); }

QString QtListBox::item(int index) const
{
    if (index < 0 || index >= model_->rowCount())
        return {};
    return model_->data(model_->index(index), Qt::DisplayRole).toString();
}

int QtListBox::count() const { return model_->rowCount(); }

int QtListBox::listIndex() const
{
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void QtListBox::setListIndex(int index)
{
    if (index < 0 || index >= model_->rowCount()) {
        view_->selectionModel()->clearSelection();
        return;
    }
    view_->selectionModel()->setCurrentIndex(model_->index(index), QItemSelectionModel::ClearAndSelect);
}

int QtListBox::topIndex() const { return view_->verticalScrollBar()->value(); }

void QtListBox::setTopIndex(int index) { view_->verticalScrollBar()->setValue(index); }

void QtListBox::setVisible(bool visible)
{
    // Hiding a focused view moves its current row on; a list box keeps its selection.
    const int selected = listIndex();
    view_->setVisible(visible);
    if (listIndex() != selected)
        setListIndex(selected);
}

bool QtListBox::isVisible() const { return !view_->isHidden(); }

void QtListBox::bringToFront() { view_->raise(); }

void QtListBox::setForeColor(Rgb color)
{
    color_ = color;
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Text, QColor(color.red, color.green, color.blue));
    view_->setPalette(palette);
}

} // namespace platform::qt
