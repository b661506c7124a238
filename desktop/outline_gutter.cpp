#include "desktop/outline_gutter.h"

#include "desktop/grid_view.h"
#include "desktop/sheet_model.h"
#include "engine/core/address.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace desktop {

namespace {
constexpr int step = 14; // pixels per level
constexpr int box = 11;  // a +/- or level button
} // namespace

std::vector<RowGroup> rowGroups(const std::vector<int>& levels, const std::vector<bool>& hidden,
                                bool summaryBelow) {
    std::vector<RowGroup> groups;
    int deepest = levels.empty() ? 0 : *std::max_element(levels.begin(), levels.end());
    int n = int(levels.size());
    for (int level = 1; level <= deepest; ++level) {
        for (int r = 0; r < n;) {
            if (levels[size_t(r)] < level) {
                ++r;
                continue;
            }
            int first = r;
            while (r < n && levels[size_t(r)] >= level)
                ++r;
            int last = r - 1;
            int summary = summaryBelow ? last + 1 : first - 1;
            if (summary < 0 || summary > engine::kLastRow)
                summary = -1;
            bool collapsed = true;
            for (int i = first; i <= last && collapsed; ++i)
                collapsed = i < int(hidden.size()) && hidden[size_t(i)];
            groups.push_back({level, first, last, summary, collapsed});
        }
    }
    return groups;
}

OutlineGutter::OutlineGutter(GridView& grid, QWidget* parent) : QWidget(parent), grid_(grid) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void OutlineGutter::sync() {
    const engine::Sheet* sheet = dynamic_cast<SheetModel*>(grid_.model())->sheet();
    std::vector<int> levels;
    std::vector<bool> hidden;
    if (sheet) {
        int extent = sheet->rowExtent();
        levels.resize(size_t(extent));
        hidden.resize(size_t(extent));
        for (int r = 0; r < extent; ++r) {
            levels[size_t(r)] = sheet->row(r).outlineLevel;
            hidden[size_t(r)] = sheet->row(r).hidden;
        }
    }
    groups_ = rowGroups(levels, hidden, sheet ? sheet->outline().summaryRowsBelow : true);
    int deepest = 0;
    for (const RowGroup& g : groups_)
        deepest = std::max(deepest, g.level);
    if (deepest != maxLevel_) {
        maxLevel_ = deepest;
        updateGeometry();
    }
    setVisible(maxLevel_ > 0);
    update();
}

QSize OutlineGutter::sizeHint() const {
    return {maxLevel_ > 0 ? (maxLevel_ + 1) * step + 4 : 0, 100};
}

int OutlineGutter::rowTop(int row) const {
    return grid_.horizontalHeader()->height() + grid_.rowViewportPosition(row) + grid_.frameWidth();
}

int OutlineGutter::rowsTop() const {
    return grid_.horizontalHeader()->height() + grid_.frameWidth();
}

int OutlineGutter::rowsBottom() const {
    return rowsTop() + grid_.viewport()->height();
}

QRect OutlineGutter::levelButton(int level) const {
    int top = (grid_.horizontalHeader()->height() - box) / 2 + grid_.frameWidth();
    return {2 + (level - 1) * step, top, box, box};
}

QRect OutlineGutter::groupButton(const RowGroup& g) const {
    if (g.summary < 0 || grid_.isRowHidden(g.summary))
        return {};
    int top = rowTop(g.summary);
    int h = grid_.rowHeight(g.summary);
    // Only beside rows the grid shows: not beside its header nor its horizontal scroll bar.
    if (top < rowsTop() || top + h > rowsBottom())
        return {};
    return {2 + (g.level - 1) * step, top + (h - box) / 2, box, box};
}

void OutlineGutter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (maxLevel_ == 0)
        return;
    QFont small = font();
    small.setPixelSize(9);
    p.setFont(small);
    for (int level = 1; level <= maxLevel_ + 1; ++level) {
        QRect b = levelButton(level);
        p.setPen(Qt::gray);
        p.setBrush(palette().button());
        p.drawRect(b);
        p.setPen(palette().buttonText().color());
        p.drawText(b, Qt::AlignCenter, QString::number(level));
    }
    int headerBottom = rowsTop();
    p.setClipRect(0, headerBottom, width(), rowsBottom() - headerBottom);
    for (const RowGroup& g : groups_) {
        int x = 2 + (g.level - 1) * step + box / 2;
        if (!g.collapsed) {
            // The bracket along the detail rows, ending in a tick at the last (first) of them.
            int top = rowTop(g.first), bottom = rowTop(g.last) + grid_.rowHeight(g.last);
            if (bottom >= headerBottom && top <= rowsBottom()) {
                p.setPen(Qt::darkGray);
                p.drawLine(x, top + 2, x, bottom - 3);
                int tickY = g.summary > g.last ? top + 2 : bottom - 3;
                p.drawLine(x, tickY, x + 4, tickY);
            }
        }
        QRect b = groupButton(g);
        if (b.isEmpty())
            continue;
        p.setPen(Qt::darkGray);
        p.setBrush(Qt::white);
        p.drawRect(b);
        p.setPen(Qt::black);
        int cy = b.center().y(), cx = b.center().x();
        p.drawLine(b.left() + 3, cy, b.right() - 3, cy);
        if (g.collapsed)
            p.drawLine(cx, b.top() + 3, cx, b.bottom() - 3);
    }
}

void OutlineGutter::showLevel(int level) {
    if (showLevels_)
        showLevels_(level);
}

void OutlineGutter::mousePressEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    for (int level = 1; level <= maxLevel_ + 1; ++level)
        if (levelButton(level).contains(at)) {
            showLevel(level);
            return;
        }
    for (const RowGroup& g : groups_)
        if (groupButton(g).contains(at)) {
            if (showDetail_)
                showDetail_(g.summary, g.collapsed);
            return;
        }
}

} // namespace desktop
