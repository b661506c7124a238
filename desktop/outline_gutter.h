#pragma once

#include <QWidget>
#include <functional>
#include <vector>

// The outline gutter left of the row numbers: a level button for each outline level at the top, and beside
// the rows a bracket for each row group with the +/- button on its summary row, as the spreadsheet draws
// them. Clicking asks `showDetail` to expand or collapse a group, or `showLevels` to show the rows up to a
// level; the sheet itself changes nothing here.
namespace desktop {

class GridView;

// A run of rows that one outline level groups, and the summary row beside it.
struct RowGroup {
    int level; // 1 for the outermost groups
    int first, last;
    int summary; // -1 when the group runs into the sheet's edge
    bool collapsed;
};

class OutlineGutter : public QWidget {
public:
    using ShowDetail = std::function<void(int summaryRow, bool show)>;
    using ShowLevels = std::function<void(int level)>;

    OutlineGutter(GridView& grid, QWidget* parent);
    void setShowDetail(ShowDetail showDetail) { showDetail_ = std::move(showDetail); }
    void setShowLevels(ShowLevels showLevels) { showLevels_ = std::move(showLevels); }
    // Reads the sheet's row levels again.
    void sync();
    int maxLevel() const { return maxLevel_; }
    const std::vector<RowGroup>& groups() const { return groups_; }
    // What clicking level button `level` (1 = only the outermost rows) does.
    void showLevel(int level);
    // Where a group's +/- button and a level button are; empty when not on the screen.
    QRect groupButton(const RowGroup& g) const;
    QRect levelButton(int level) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int rowTop(int row) const; // in this widget's coordinates
    int rowsTop() const;       // where the grid's rows are shown, between these two
    int rowsBottom() const;

    GridView& grid_;
    ShowDetail showDetail_;
    ShowLevels showLevels_;
    std::vector<RowGroup> groups_;
    int maxLevel_ = 0;
};

// The groups of rows by their outline levels (0 for rows in no group), as the spreadsheet finds them.
std::vector<RowGroup> rowGroups(const std::vector<int>& levels, const std::vector<bool>& hidden,
                                bool summaryBelow);

} // namespace desktop
