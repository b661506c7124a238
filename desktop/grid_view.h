#pragma once

#include "engine/core/address.h"

#include <QTableView>
#include <functional>
#include <string>
#include <vector>

// The grid of one sheet: column letters, row numbers, the sheet's widths, heights, hidden rows and merged
// cells, and editing as in a spreadsheet (type to replace, F2 or double click, Enter and Tab move, Delete
// clears). What the user does goes to the handlers; the grid itself changes nothing.
namespace desktop {

class CellDelegate;
class SheetModel;

struct GridHandlers {
    std::function<void(const engine::Area& area)> clear;
    std::function<void(const engine::Area& area, engine::CellAddress active)> select;
    // A typed value was refused: true to edit it again, false to drop it.
    std::function<bool()> retryRefused;
};

class GridView : public QTableView {
public:
    GridView(SheetModel& model, QWidget* parent);

    void setHandlers(GridHandlers handlers) { handlers_ = std::move(handlers); }
    // Reads the sheet's sizes, hidden rows and merges again; cheap when little changed.
    void syncLayout();
    // The selected cells as one rectangle (the current cell's when nothing is selected).
    engine::Area selectedArea() const;
    void setCurrentCell(engine::CellAddress cell);
    bool editing() const { return state() == QAbstractItemView::EditingState; }

    static int columnPixels(double characters);
    static int rowPixels(double points);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void moveBy(int rows, int cols);

    SheetModel& model_;
    CellDelegate* delegate_;
    GridHandlers handlers_;
    std::vector<int> heights_; // as last applied, per row
    std::vector<bool> hidden_; // as last applied, per row
    std::vector<int> widths_;  // as last applied, per column
    std::vector<engine::Area> merges_;
};

} // namespace desktop
