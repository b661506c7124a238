#include "desktop/grid_view.h"

#include "desktop/cell_delegate.h"
#include "desktop/sheet_model.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>
#include <cmath>

namespace desktop {

namespace {
const int defaultRowPixels = GridView::rowPixels(engine::kDefaultRowHeight);
const int defaultColumnPixels = GridView::columnPixels(engine::kDefaultColumnWidth);
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
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(defaultColumnPixels);
    verticalHeader()->setDefaultSectionSize(defaultRowPixels);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(true);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void GridView::syncLayout() {
    const engine::Sheet* sheet = model_.sheet();
    if (!sheet)
        return;
    widths_.resize(engine::kColumnCount, defaultColumnPixels);
    for (int c = 0; c < engine::kColumnCount; ++c) {
        const engine::ColumnProperties& p = sheet->column(c);
        int px = p.hidden ? 0 : columnPixels(p.width);
        if (px != widths_[size_t(c)]) {
            widths_[size_t(c)] = px;
            setColumnWidth(c, px);
        }
    }
    // Rows beyond the sheet's extent have the default height and are shown; only rows that had
    // properties before, or have them now, are looked at.
    int extent = std::max<int>(sheet->rowExtent(), int(heights_.size()));
    heights_.resize(size_t(extent), defaultRowPixels);
    hidden_.resize(size_t(extent), false);
    int defaultPx = rowPixels(sheet->defaultRowHeight());
    verticalHeader()->setDefaultSectionSize(defaultPx);
    for (int r = 0; r < extent; ++r) {
        bool hide = r < sheet->rowExtent() && sheet->row(r).hidden;
        int px = r < sheet->rowExtent() && sheet->row(r).customHeight ? rowPixels(sheet->row(r).height)
                                                                      : defaultPx;
        if (hide != hidden_[size_t(r)]) {
            hidden_[size_t(r)] = hide;
            setRowHidden(r, hide);
        }
        if (!hide && px != heights_[size_t(r)]) {
            heights_[size_t(r)] = px;
            setRowHeight(r, px);
        }
    }
    if (sheet->merges() != merges_) {
        clearSpans();
        merges_ = sheet->merges();
        for (const engine::Area& m : merges_)
            setSpan(m.top, m.left, m.rowCount(), m.columnCount());
    }
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
    return area;
}

void GridView::setCurrentCell(engine::CellAddress cell) {
    QModelIndex i = model_.index(cell.row, cell.col);
    if (i.isValid() && i != currentIndex())
        setCurrentIndex(i);
}

void GridView::moveBy(int rows, int cols) {
    QModelIndex cur = currentIndex();
    int row = std::clamp(cur.row() + rows, 0, engine::kLastRow);
    int col = std::clamp(cur.column() + cols, 0, engine::kLastColumn);
    while (rows > 0 && row < engine::kLastRow && isRowHidden(row))
        ++row;
    setCurrentIndex(model_.index(row, col));
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (state() != QAbstractItemView::EditingState) {
        switch (event->key()) {
        case Qt::Key_Delete:
            if (handlers_.clear)
                handlers_.clear(selectedArea());
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            moveBy(event->modifiers() & Qt::ShiftModifier ? -1 : 1, 0);
            return;
        case Qt::Key_Tab:
            moveBy(0, 1);
            return;
        case Qt::Key_Backtab:
            moveBy(0, -1);
            return;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

void GridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    bool committed = hint == QAbstractItemDelegate::SubmitModelCache ||
                     hint == QAbstractItemDelegate::EditNextItem ||
                     hint == QAbstractItemDelegate::EditPreviousItem;
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (committed && delegate_->lastRefused()) {
        // The entry stays where it was typed: typed again, or dropped.
        QModelIndex at = currentIndex();
        QString text = delegate_->lastText();
        if (handlers_.retryRefused && handlers_.retryRefused()) {
            delegate_->setPendingText(text);
            QTimer::singleShot(0, this, [this, at] { edit(at); });
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
    QTableView::currentChanged(current, previous);
    if (current.isValid() && handlers_.select)
        handlers_.select(selectedArea(), {current.row(), current.column()});
}

} // namespace desktop
