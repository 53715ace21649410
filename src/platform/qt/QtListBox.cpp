#include "QtListBox.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QScrollBar>
#include <QStringListModel>

namespace platform::qt {

class QtListBox::RowModel : public QStringListModel
{
public:
    using QStringListModel::QStringListModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::AccessibleTextRole && !spoken.isEmpty()) {
            const QString row = QStringListModel::data(index, Qt::DisplayRole).toString();
            return spoken.value(row, row);
        }
        return QStringListModel::data(index, role);
    }

    QHash<QString, QString> spoken;
};

QtListBox::QtListBox(QTableView *view) : view_(view), model_(new RowModel(view))
{
    view_->setModel(model_);
    view_->horizontalHeader()->hide();
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setDefaultSectionSize(QFontMetrics(view_->font()).height());
    view_->setShowGrid(false);
    view_->setTabKeyNavigation(false);
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
    view_->installEventFilter(this);
    fitWholeRows();
}

void QtListBox::fitWholeRows()
{
    const int row = view_->verticalHeader()->defaultSectionSize();
    const int frame = 2 * view_->frameWidth();
    const int rows = qMax(1, (view_->height() - frame) / row);
    view_->resize(view_->width(), rows * row + frame);
}

void QtListBox::setSpokenRows(const QHash<QString, QString> &spoken) { model_->spoken = spoken; }

void QtListBox::activate(bool doubleClick)
{
    if (model_->rowCount() == 0)
        return;
    if (listIndex() < 0) {
        const QModelIndex current = view_->currentIndex();
        setListIndex(current.isValid() ? current.row() : 0);
    }
    if (doubleClick && onDoubleClick)
        onDoubleClick();
    else if (onClick)
        onClick();
}

bool QtListBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QObject::eventFilter(watched, event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: {
        const int before = listIndex();
        if (before < 0 && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            activate(false); // nothing selected yet: the first arrow selects the row it stands on
            return true;
        }
        // Home and End go to the first and last row; a table view takes them within the row
        // unless Ctrl is held.
        const bool toEnd = key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
        QKeyEvent rowKey(QEvent::KeyPress, key->key(), toEnd ? Qt::ControlModifier : key->modifiers(), key->text());
        static_cast<QObject *>(view_)->event(&rowKey); // the view moves the selection
        // The view moves nothing when the key lands on its current row; with no row selected
        // yet, that row is where the key goes.
        if (listIndex() < 0 && model_->rowCount() > 0)
            setListIndex(view_->currentIndex().isValid() ? view_->currentIndex().row() : 0);
        view_->scrollTo(view_->currentIndex()); // also when it stood there already
        if (listIndex() != before && onClick)
            onClick();
        return true;
    }
    case Qt::Key_Space: activate(false); return true;
    case Qt::Key_Delete:
        if (onDeleteKey)
            onDeleteKey();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: activate(true); return true;
    default: break;
    }
    if (key->text().isEmpty() || !key->text().at(0).isPrint())
        return QObject::eventFilter(watched, event);
    // A typed character selects the next row that starts with it: a click as well.
    const int before = listIndex();
    static_cast<QObject *>(view_)->event(event);
    if (listIndex() != before && onClick)
        onClick();
    return true;
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

void QtListBox::removeItem(int index)
{
    if (index >= 0 && index < model_->rowCount())
        model_->removeRows(index, 1);
}

void QtListBox::ensureVisible(int index)
{
    if (index < 0 || index >= model_->rowCount())
        return;
    view_->doItemsLayout(); // the scroll range counts a row just added only after this
    view_->scrollTo(model_->index(index), QAbstractItemView::EnsureVisible);
}

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
