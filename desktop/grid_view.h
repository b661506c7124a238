#pragma once

#include "engine/core/address.h"
#include "engine/model/properties.h"

#include <QTableView>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The grid of one sheet: column letters, row numbers, the sheet's widths, heights, hidden rows and merged
// cells, and the keyboard and mouse of a spreadsheet: type to replace, F2 or a double click to edit at
// the end of the text, Enter and Tab move, Delete clears, Ctrl+arrows to the edge of the data, Ctrl+Home
// and Ctrl+End, PageUp and PageDown a screenful, Alt+Down or the arrow beside a list cell opens its list;
// widths and heights dragged at the headers' borders, a double click there fits them. The grid reaches
// over the sheet's used area and a margin, and further as the user goes further. What the user does goes
// to the handlers; the grid itself changes nothing.
namespace desktop {

class CellDelegate;
class SheetModel;

struct GridHandlers {
    std::function<void(const engine::Area& area)> clear;
    std::function<void(const engine::Area& area, engine::CellAddress active)> select;
    // A typed value was refused: true to edit it again, false to drop it.
    std::function<bool()> retryRefused;
    // Dragged to a width in characters (columns) or a height in points (rows), 0 hiding them.
    std::function<void(int first, int last, double width)> resizeColumns;
    std::function<void(int first, int last, double height)> resizeRows;
    std::function<void(int first, int last)> fitColumns;
    std::function<void(int first, int last)> fitRows;
    std::function<void(const QPoint& global)> contextMenu;
};

class GridView : public QTableView {
public:
    GridView(SheetModel& model, QWidget* parent);

    void setHandlers(GridHandlers handlers) { handlers_ = std::move(handlers); }
    // Reads the sheet's sizes, hidden rows and merges again; cheap when little changed.
    void syncLayout();
    // The sheet's used area as the last syncLayout found it.
    const std::optional<engine::Area>& usedArea() const { return used_; }
    // The selected cells as one rectangle (the current cell's when nothing is selected).
    engine::Area selectedArea() const;
    void setCurrentCell(engine::CellAddress cell);
    // Shows the sheet's own selection: its areas, as far as the grid reaches, and its active cell.
    void showSelection(const engine::Selection& selection);
    bool editing() const { return state() == QAbstractItemView::EditingState; }
    // Enters what the open editor holds, as Enter would; false when the entry was refused and is being
    // typed again.
    bool finishEditing();
    // Opens the current cell's list, when it has one.
    void openList();
    // Where the current cell's list arrow is drawn, in the viewport; empty when it has no list.
    QRect listButton() const;

    using QTableView::edit;

    static int columnPixels(double characters);
    static int rowPixels(double points);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void reportSelection();
    void moveBy(int rows, int cols);
    void moveTo(engine::CellAddress cell, bool extend);
    void pageBy(int direction, bool extend);
    bool hasList(const QModelIndex& index) const;
    QRect besideCell(const QModelIndex& index) const;
    // Scrolls so that the row, or the nearest shown row above it, is at the top, as before rows were hidden
    // or shown.
    void keepAtTop(int row);
    // Makes the grid reach at least `rows` rows and `cols` columns, and past the sheet's used area.
    void reach(int rows, int cols);
    void commitResize();
    std::pair<int, int> sectionsOf(Qt::Orientation orientation, int section) const;

    SheetModel& model_;
    CellDelegate* delegate_;
    GridHandlers handlers_;
    const void* sheetShown_ = nullptr;
    std::optional<engine::Area> used_;
    std::vector<int> heights_; // as last applied, per row
    std::vector<bool> hidden_; // as last applied, per row
    std::vector<int> widths_;  // as last applied, per column
    std::vector<engine::Area> merges_;
    engine::CellAddress anchor_{}; // where an extended selection started
    bool extending_ = false;
    std::optional<std::pair<engine::Area, engine::CellAddress>> reported_; // the selection last handed on
    bool applying_ = false; // sizes are being applied from the sheet, not dragged
    bool showing_ = false;  // the sheet's selection is being shown, not made by the user
    struct Dragged {
        Qt::Orientation orientation;
        int section;
        int pixels;
    };
    std::optional<Dragged> dragged_;
};

} // namespace desktop
