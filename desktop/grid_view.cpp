#include "desktop/grid_view.h"

#include "desktop/cell_delegate.h"
#include "desktop/navigation.h"
#include "desktop/sheet_model.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <cmath>

namespace desktop {

namespace {
const int defaultRowPixels = GridView::rowPixels(engine::kDefaultRowHeight);
const int defaultColumnPixels = GridView::columnPixels(engine::kDefaultColumnWidth);
// How far the grid reaches past the used area and past the cell the user went to.
constexpr int kMarginRows = 100;
constexpr int kMarginColumns = 10;
constexpr int kListButtonWidth = 16;

// The line edit of an open editor: its own, or a drop-down's.
QLineEdit* lineEditOf(QWidget* editor) {
    if (auto* combo = dynamic_cast<QComboBox*>(editor))
        return combo->lineEdit();
    return dynamic_cast<QLineEdit*>(editor);
}
} // namespace

int GridView::columnPixels(double characters) {
    // Characters of the default font (7 pixels each) and 5 pixels of margin, as the spreadsheet measures.
    return characters <= 0 ? 0 : int(std::lround(characters * 7 + 5));
}

int GridView::rowPixels(double points) {
    return int(std::lround(points * 96 / 72));
}

GridView::GridView(SheetModel& model, QWidget* parent)
    : QTableView(parent), model_(model), delegate_(new CellDelegate(model, this)) {
    setModel(&model);
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(true);
    setGridStyle(Qt::SolidLine);
    setAttribute(Qt::WA_InputMethodEnabled);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(true);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        Qt::Orientation o = header->orientation();
        header->setMinimumSectionSize(0);
        header->setDefaultSectionSize(o == Qt::Horizontal ? defaultColumnPixels : defaultRowPixels);
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->viewport()->installEventFilter(this);
        // A double click on a border fits through the sheet, not through Qt's own measure.
        disconnect(header, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
        connect(header, &QHeaderView::sectionResized, this, [this, o](int section, int, int size) {
            if (!applying_)
                dragged_ = Dragged{o, section, size};
        });
        connect(header, &QHeaderView::sectionHandleDoubleClicked, this, [this, o](int section) {
            auto [first, last] = sectionsOf(o, section);
            if (o == Qt::Horizontal && handlers_.fitColumns)
                handlers_.fitColumns(first, last);
            else if (o == Qt::Vertical && handlers_.fitRows)
                handlers_.fitRows(first, last);
        });
    }
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void GridView::syncLayout() {
    const engine::Sheet* sheet = model_.sheet();
    if (!sheet)
        return;
    const bool fresh = sheet != sheetShown_;
    if (fresh) {
        // A new sheet starts with fresh sections.
        sheetShown_ = sheet;
        heights_.clear();
        hidden_.clear();
        widths_.clear();
        merges_.clear();
        reported_.reset();
    }
    used_ = sheet->usedArea();
    reach(used_ ? used_->bottom + 1 : 0, used_ ? used_->right + 1 : 0);

    applying_ = true;
    widths_.resize(size_t(model_.columnCount()), defaultColumnPixels);
    for (int c = 0; c < model_.columnCount(); ++c) {
        const engine::ColumnProperties& p = sheet->column(c);
        int px = p.hidden ? 0 : columnPixels(p.width);
        if (px != widths_[size_t(c)]) {
            widths_[size_t(c)] = px;
            setColumnWidth(c, px);
        }
    }
    // Rows past the sheet's extent have the default height and are shown; only rows that had properties
    // before, or have them now, are looked at. Each change of a section costs the header a pass over
    // every section while it repaints: it repaints once, afterwards.
    int extent = std::min(std::max<int>(sheet->rowExtent(), int(heights_.size())), model_.rowCount());
    heights_.resize(size_t(model_.rowCount()), defaultRowPixels);
    hidden_.resize(size_t(model_.rowCount()), false);
    int defaultPx = rowPixels(sheet->defaultRowHeight());
    verticalHeader()->setDefaultSectionSize(defaultPx);
    const int top = fresh ? -1 : rowAt(0);
    bool shownChanged = false;
    verticalHeader()->setUpdatesEnabled(false);
    for (int r = 0; r < extent; ++r) {
        bool hide = r < sheet->rowExtent() && sheet->row(r).hidden;
        int px = r < sheet->rowExtent() && sheet->row(r).customHeight ? rowPixels(sheet->row(r).height)
                                                                      : defaultPx;
        if (hide != hidden_[size_t(r)]) {
            hidden_[size_t(r)] = hide;
            setRowHidden(r, hide);
            shownChanged = true;
        }
        if (!hide && px != heights_[size_t(r)]) {
            heights_[size_t(r)] = px;
            setRowHeight(r, px);
        }
    }
    verticalHeader()->setUpdatesEnabled(true);
    if (shownChanged && top >= 0)
        keepAtTop(top);
    applying_ = false;
    if (sheet->merges() != merges_) {
        clearSpans();
        merges_ = sheet->merges();
        for (const engine::Area& m : merges_)
            if (m.top < model_.rowCount() && m.left < model_.columnCount())
                setSpan(m.top, m.left, m.rowCount(), m.columnCount());
    }
}

void GridView::keepAtTop(int row) {
    // The header keeps its offset in pixels, which after rows were hidden or shown is another row, often
    // one far below the data. A row that was hidden gives way to the nearest shown row above it: the
    // summary row of its group.
    while (row > 0 && isRowHidden(row))
        --row;
    while (row < model_.rowCount() - 1 && isRowHidden(row))
        ++row;
    const int across = horizontalScrollBar()->value();
    scrollTo(model_.index(row, std::max(0, columnAt(0))), PositionAtTop);
    horizontalScrollBar()->setValue(across);
}

void GridView::reach(int rows, int cols) {
    // Always at least a screenful past the top left cell shown.
    int screenRows = std::max(0, rowAt(0)) + viewport()->height() / std::max(1, defaultRowPixels) + 2;
    int screenCols = std::max(0, columnAt(0)) + viewport()->width() / std::max(1, defaultColumnPixels) + 2;
    rows = std::max({rows + kMarginRows, screenRows, model_.rowCount()});
    cols = std::max({cols + kMarginColumns, screenCols, model_.columnCount()});
    if (rows == model_.rowCount() && cols == model_.columnCount())
        return;
    model_.setExtent(rows, cols);
    if (!model_.sheet() || merges_.empty())
        return;
    // Merges that reach into the new rows and columns.
    clearSpans();
    for (const engine::Area& m : merges_)
        if (m.top < model_.rowCount() && m.left < model_.columnCount())
            setSpan(m.top, m.left, m.rowCount(), m.columnCount());
}

engine::Area GridView::selectedArea() const {
    QModelIndex cur = currentIndex();
    engine::Area area = engine::Area::cell(std::max(cur.row(), 0), std::max(cur.column(), 0));
    const QItemSelection sel = selectionModel()->selection();
    if (sel.isEmpty())
        return area;
    const QItemSelectionRange& r = sel.first();
    area = {r.top(), r.left(), r.bottom(), r.right()};
    for (const QItemSelectionRange& more : sel) {
        area.top = std::min(area.top, more.top());
        area.left = std::min(area.left, more.left());
        area.bottom = std::max(area.bottom, more.bottom());
        area.right = std::max(area.right, more.right());
    }
    // Every row (column) the grid reaches is the whole of the sheet's, as a header's click selects it.
    if (area.top == 0 && area.bottom == model_.rowCount() - 1)
        area.bottom = engine::kLastRow;
    if (area.left == 0 && area.right == model_.columnCount() - 1)
        area.right = engine::kLastColumn;
    return area;
}

void GridView::setCurrentCell(engine::CellAddress cell) {
    reach(cell.row + 1, cell.col + 1);
    QModelIndex i = model_.index(cell.row, cell.col);
    if (i.isValid() && i != currentIndex())
        setCurrentIndex(i);
}

void GridView::showSelection(const engine::Selection& selection) {
    // A copy: the sheet's own selection is what reporting the grid's would overwrite.
    const engine::Selection wanted = selection;
    QScopedValueRollback<bool> quiet(showing_, true);
    setCurrentCell(wanted.active);
    QItemSelection shown;
    for (const engine::Area& a : wanted.areas) {
        if (a.top >= model_.rowCount() || a.left >= model_.columnCount())
            continue;
        shown.select(model_.index(a.top, a.left), model_.index(std::min(a.bottom, model_.rowCount() - 1),
                                                               std::min(a.right, model_.columnCount() - 1)));
    }
    if (shown != selectionModel()->selection())
        selectionModel()->select(shown, QItemSelectionModel::ClearAndSelect);
    QModelIndex cur = currentIndex();
    if (cur.isValid())
        reported_ = {selectedArea(), {cur.row(), cur.column()}};
}

void GridView::moveTo(engine::CellAddress cell, bool extend) {
    cell.row = std::clamp(cell.row, 0, engine::kLastRow);
    cell.col = std::clamp(cell.col, 0, engine::kLastColumn);
    reach(cell.row + 1, cell.col + 1);
    QModelIndex to = model_.index(cell.row, cell.col);
    if (!extend) {
        anchor_ = cell;
        selectionModel()->setCurrentIndex(to, QItemSelectionModel::ClearAndSelect);
        return;
    }
    QModelIndex from = model_.index(anchor_.row, anchor_.col);
    extending_ = true;
    selectionModel()->setCurrentIndex(to, QItemSelectionModel::NoUpdate);
    extending_ = false;
    selectionModel()->select(QItemSelection(from, to), QItemSelectionModel::ClearAndSelect);
}

void GridView::moveBy(int rows, int cols) {
    QModelIndex cur = currentIndex();
    engine::CellAddress to{cur.row() + rows, cur.column() + cols};
    while (rows != 0 && to.row > 0 && to.row < model_.rowCount() && isRowHidden(to.row))
        to.row += rows;
    while (cols != 0 && to.col > 0 && to.col < model_.columnCount() && isColumnHidden(to.col))
        to.col += cols;
    moveTo(to, false);
}

void GridView::pageBy(int direction, bool extend) {
    QModelIndex cur = currentIndex();
    int top = std::max(rowAt(0), 0);
    // The rows wholly on the screen make the page.
    int rows = 0;
    for (int r = top; r < model_.rowCount(); ++r) {
        if (isRowHidden(r))
            continue;
        if (rowViewportPosition(r) + rowHeight(r) > viewport()->height())
            break;
        ++rows;
    }
    rows = std::max(rows, 1);
    auto advance = [&](int row) {
        for (int n = 0; n < rows;) {
            int next = row + direction;
            if (next < 0 || next > engine::kLastRow)
                break;
            reach(next + 1, 0);
            row = next;
            if (!isRowHidden(row))
                ++n;
        }
        return row;
    };
    int newTop = advance(top);
    moveTo({advance(cur.row()), cur.column()}, extend);
    scrollTo(model_.index(newTop, std::max(columnAt(0), 0)), QAbstractItemView::PositionAtTop);
}

bool GridView::hasList(const QModelIndex& index) const {
    const engine::Sheet* sheet = model_.sheet();
    if (!sheet || !index.isValid())
        return false;
    const engine::ValidationRule* rule = sheet->validationAt(index.row(), index.column());
    return rule && rule->type == engine::ValidationType::List && rule->inCellDropdown;
}

QRect GridView::listButton() const {
    QModelIndex cur = currentIndex();
    if (editing() || !hasList(cur))
        return {};
    return besideCell(cur);
}

QRect GridView::besideCell(const QModelIndex& index) const {
    QRect cell = visualRect(index);
    if (cell.isEmpty())
        return {};
    // Beside the cell, as the spreadsheet draws a list's arrow.
    return {cell.right() + 1, cell.top(), kListButtonWidth, std::max(cell.height(), 12)};
}

void GridView::openList() {
    QModelIndex cur = currentIndex();
    if (!hasList(cur))
        return;
    if (!editing())
        QTableView::edit(cur, QAbstractItemView::EditKeyPressed, nullptr);
    if (auto* combo = dynamic_cast<QComboBox*>(indexWidget(cur)))
        combo->showPopup();
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    bool opened = QTableView::edit(index, trigger, event);
    // F2 and a double click edit the text where it ends; a typed key replaces it.
    if (opened &&
        (trigger == QAbstractItemView::EditKeyPressed || trigger == QAbstractItemView::DoubleClicked))
        if (QLineEdit* line = lineEditOf(indexWidget(index))) {
            line->deselect();
            line->end(false);
        }
    return opened;
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (state() == QAbstractItemView::EditingState)
        return QTableView::keyPressEvent(event);
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier,
               alt = mods & Qt::AltModifier;
    QModelIndex cur = currentIndex();
    const engine::CellAddress here{std::max(cur.row(), 0), std::max(cur.column(), 0)};
    auto arrow = [&](int rows, int cols) {
        if (ctrl && model_.sheet())
            moveTo(dataEdge(*model_.sheet(), here, rows, cols), shift);
        else if (shift)
            moveTo({here.row + rows, here.col + cols}, true);
        else
            moveBy(rows, cols);
    };
    switch (event->key()) {
    case Qt::Key_Delete:
        if (handlers_.clear)
            handlers_.clear(selectedArea());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        moveBy(shift ? -1 : 1, 0);
        return;
    case Qt::Key_Tab:
        moveBy(0, 1);
        return;
    case Qt::Key_Backtab:
        moveBy(0, -1);
        return;
    case Qt::Key_Down:
        if (alt)
            return openList();
        return arrow(1, 0);
    case Qt::Key_Up:
        return arrow(-1, 0);
    case Qt::Key_Left:
        return arrow(0, -1);
    case Qt::Key_Right:
        return arrow(0, 1);
    case Qt::Key_Home:
        return moveTo({ctrl ? 0 : here.row, 0}, shift);
    case Qt::Key_End:
        if (ctrl && model_.sheet())
            return moveTo(lastUsedCell(*model_.sheet()), shift);
        break;
    case Qt::Key_PageDown:
        return pageBy(1, shift);
    case Qt::Key_PageUp:
        return pageBy(-1, shift);
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && listButton().contains(event->position().toPoint()))
        return openList();
    QTableView::mousePressEvent(event);
}

void GridView::wheelEvent(QWheelEvent* event) {
    // Rolling on at the end of the grid takes it further.
    QScrollBar* bar = verticalScrollBar();
    if (event->angleDelta().y() < 0 && bar->value() == bar->maximum())
        reach(model_.rowCount() + kMarginRows, 0);
    QTableView::wheelEvent(event);
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (model_.sheet())
        reach(0, 0);
}

void GridView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    QRect button = listButton();
    if (button.isEmpty())
        return;
    QPainter p(viewport());
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.rect = button;
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &opt, &p, this);
    opt.rect = button.adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &opt, &p, this);
}

void GridView::contextMenuEvent(QContextMenuEvent* event) {
    if (handlers_.contextMenu)
        handlers_.contextMenu(event->globalPos());
}

std::pair<int, int> GridView::sectionsOf(Qt::Orientation orientation, int section) const {
    // Dragging or fitting one of several selected whole columns (rows) sizes them all.
    engine::Area sel = selectedArea();
    if (orientation == Qt::Horizontal && sel.isWholeColumns() && section >= sel.left && section <= sel.right)
        return {sel.left, sel.right};
    if (orientation == Qt::Vertical && sel.isWholeRows() && section >= sel.top && section <= sel.bottom)
        return {sel.top, sel.bottom};
    return {section, section};
}

void GridView::commitResize() {
    if (!dragged_)
        return;
    Dragged d = *dragged_;
    dragged_.reset();
    auto [first, last] = sectionsOf(d.orientation, d.section);
    if (d.orientation == Qt::Horizontal && handlers_.resizeColumns)
        handlers_.resizeColumns(first, last,
                                d.pixels <= 0 ? 0 : std::round(std::max(0, d.pixels - 5) / 7.0 * 100) / 100);
    else if (d.orientation == Qt::Vertical && handlers_.resizeRows)
        handlers_.resizeRows(first, last, std::round(d.pixels * 72.0 / 96 * 4) / 4);
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    // A drag ends with the button's release; the header finishes its own handling of it first.
    if (event->type() == QEvent::MouseButtonRelease && dragged_ &&
        (watched == horizontalHeader()->viewport() || watched == verticalHeader()->viewport()))
        QMetaObject::invokeMethod(
            this, [this] { commitResize(); }, Qt::QueuedConnection);
    return QTableView::eventFilter(watched, event);
}

bool GridView::finishEditing() {
    QWidget* editor = editing() ? indexWidget(currentIndex()) : nullptr;
    if (!editor)
        return true;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
    return !editing();
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    bool committed = hint == QAbstractItemDelegate::SubmitModelCache ||
                     hint == QAbstractItemDelegate::EditNextItem ||
                     hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (committed && delegate_->lastRefused()) {
        // The entry stays where it was typed: typed again, or dropped. The editor opens again at once,
        // so that keys typed after the answer reach it.
        QModelIndex at = currentIndex();
        QString text = delegate_->lastText();
        if (handlers_.retryRefused && handlers_.retryRefused()) {
            delegate_->setPendingText(text);
            // Selected whole, as the spreadsheet gives it back: what is typed next replaces it.
            if (QTableView::edit(at, QAbstractItemView::AllEditTriggers, nullptr))
                if (QLineEdit* line = lineEditOf(indexWidget(at)))
                    line->selectAll();
        }
        return;
    }
    if (hint == QAbstractItemDelegate::SubmitModelCache)
        moveBy(1, 0);
    else if (hint == QAbstractItemDelegate::EditNextItem)
        moveBy(0, 1);
    else if (hint == QAbstractItemDelegate::EditPreviousItem)
        moveBy(0, -1);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (current.isValid())
        reach(current.row() + 1, current.column() + 1);
    if (current.isValid() && !extending_)
        anchor_ = {current.row(), current.column()};
    QTableView::currentChanged(current, previous);
    // The arrow beside a list cell moves with the current cell.
    if (hasList(previous))
        viewport()->update(besideCell(previous));
    if (hasList(current))
        viewport()->update(besideCell(current));
    reportSelection();
}

void GridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    reportSelection();
}

void GridView::reportSelection() {
    QModelIndex cur = currentIndex();
    if (!cur.isValid() || !handlers_.select || showing_)
        return;
    std::pair<engine::Area, engine::CellAddress> now{selectedArea(), {cur.row(), cur.column()}};
    if (reported_ == now)
        return;
    reported_ = now;
    handlers_.select(now.first, now.second);
}

} // namespace desktop
