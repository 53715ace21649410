#include "QtListBox.h"

#include <QAbstractListModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTableView>

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <vector>

namespace platform::qt {

// The rows as one UTF-8 text and the end of each row in it: a row costs its characters and
// eight bytes, not a string of its own (a QString's header, allocation and UTF-16 would more
// than double a history of 100,000 entries). Rows are appended many at once in one insertion,
// so a load costs the same whatever the list already holds.
class QtListBox::RowModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(ends_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return row(index.row());
        if (role == Qt::AccessibleTextRole && !spoken.isEmpty()) {
            const QString text = row(index.row());
            return spoken.value(text, text);
        }
        return {};
    }

    bool removeRows(int first, int count, const QModelIndex &parent = {}) override
    {
        if (parent.isValid() || first < 0 || count < 1 || first + count > rowCount())
            return false;
        const std::size_t from = start(first);
        const std::size_t to = ends_[std::size_t(first + count - 1)];
        beginRemoveRows({}, first, first + count - 1);
        text_.erase(from, to - from);
        ends_.erase(ends_.begin() + first, ends_.begin() + first + count);
        for (auto end = ends_.begin() + first; end != ends_.end(); ++end)
            *end -= to - from;
        endRemoveRows();
        return true;
    }

    QString row(int index) const
    {
        const std::size_t from = start(index);
        return QString::fromUtf8(text_.data() + from, qsizetype(ends_[std::size_t(index)] - from));
    }

    // All or nothing: the room is taken before any row goes in, so running out of memory
    // leaves the list as it was.
    void append(const QString *rows, qsizetype count)
    {
        if (count <= 0)
            return;
        if (ends_.size() + std::size_t(count) > std::size_t(std::numeric_limits<int>::max()))
            throw std::bad_alloc(); // more rows than a view can count
        std::size_t bound = 0; // UTF-8 takes at most three bytes a UTF-16 unit
        for (qsizetype i = 0; i < count; ++i)
            for (const QChar c : rows[i])
                bound += c.unicode() < 0x80 ? 1u : c.unicode() < 0x800 ? 2u : 3u;
        // Grows by half again at least, so that rows added one by one stay cheap, and to the
        // exact size for a large load, so that a loaded history holds no slack.
        const auto grow = [](std::size_t capacity, std::size_t needed) {
            return needed <= capacity ? capacity : std::max(needed, capacity + capacity / 2);
        };
        text_.reserve(grow(text_.capacity(), text_.size() + bound));
        ends_.reserve(grow(ends_.capacity(), ends_.size() + std::size_t(count)));

        const int first = rowCount();
        beginInsertRows({}, first, first + int(count) - 1);
        std::size_t used = text_.size();
        text_.resize(used + bound);
        QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
        for (qsizetype i = 0; i < count; ++i) {
            char *end = utf8.appendToBuffer(text_.data() + used, rows[i]);
            used = std::size_t(end - text_.data());
            ends_.push_back(used);
        }
        text_.resize(used);
        endInsertRows();
    }

    void clear()
    {
        beginResetModel();
        std::string().swap(text_);
        std::vector<std::size_t>().swap(ends_);
        endResetModel();
    }

    QHash<QString, QString> spoken;

private:
    std::size_t start(int index) const { return index == 0 ? 0 : ends_[std::size_t(index) - 1]; }

    std::string text_;
    std::vector<std::size_t> ends_;
};

QtListBox::QtListBox(QTableView *view) : view_(view), model_(new RowModel(view))
{
    // The headers are hidden and sized before the model comes: a header that is shown, or
    // sizes its sections from its font, measures text and loads a font for nothing.
    view_->horizontalHeader()->hide();
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setMinimumSectionSize(1);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
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
}

// The view gets its model (and its two headers theirs) when the box is first shown or its
// selection or scrolling is first used: a box hidden at start, the function palette, costs
// the start-up nothing for it. Its rows are in the model from the start.
void QtListBox::attach()
{
    if (attached_)
        return;
    attached_ = true;
    view_->setModel(model_);
    view_->horizontalHeader()->setStretchLastSection(true);
}

// The rows are measured when the box is first shown or scrolled, not when it is made: a
// measure loads a font engine at the box's size, and a box hidden at start (the function
// palette) would load one that nothing on the first frame draws.
void QtListBox::fitWholeRows()
{
    if (rowsFitted_)
        return;
    rowsFitted_ = true;
    const int row = QFontMetrics(view_->font()).height();
    view_->verticalHeader()->setDefaultSectionSize(row);
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
    if (watched == view_ && event->type() == QEvent::Show) {
        attach();
        fitWholeRows();
    }
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

void QtListBox::addItem(const QString &row) { model_->append(&row, 1); }

void QtListBox::addItems(const QStringList &rows) { model_->append(rows.constData(), rows.size()); }

void QtListBox::clear() { model_->clear(); }

void QtListBox::removeItem(int index)
{
    if (index >= 0 && index < model_->rowCount())
        model_->removeRows(index, 1);
}

void QtListBox::ensureVisible(int index)
{
    if (index < 0 || index >= model_->rowCount())
        return;
    attach();
    fitWholeRows();
    view_->doItemsLayout(); // the scroll range counts a row just added only after this
    view_->scrollTo(model_->index(index), QAbstractItemView::EnsureVisible);
}

QString QtListBox::item(int index) const
{
    if (index < 0 || index >= model_->rowCount())
        return {};
    return model_->row(index);
}

int QtListBox::count() const { return model_->rowCount(); }

int QtListBox::listIndex() const
{
    if (!attached_)
        return -1; // nothing can have been selected yet
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void QtListBox::setListIndex(int index)
{
    attach();
    if (index < 0 || index >= model_->rowCount()) {
        view_->selectionModel()->clearSelection();
        return;
    }
    view_->selectionModel()->setCurrentIndex(model_->index(index), QItemSelectionModel::ClearAndSelect);
}

int QtListBox::topIndex() const { return view_->verticalScrollBar()->value(); }

void QtListBox::setTopIndex(int index)
{
    attach();
    fitWholeRows();
    view_->verticalScrollBar()->setValue(index);
}

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
