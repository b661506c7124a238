#include "desktop/print_layout.h"

#include "desktop/grid_view.h"

namespace desktop {

std::vector<std::vector<int>> breakLines(const std::vector<PrintLine>& lines, double room,
                                         bool groupPerPage) {
    std::vector<std::vector<int>> pages;
    std::vector<int> page;
    double used = 0;
    bool pageHasGroup = false;
    auto newPage = [&] {
        if (!page.empty())
            pages.push_back(std::move(page));
        page.clear();
        used = 0;
        pageHasGroup = false;
    };
    for (std::size_t i = 0; i < lines.size();) {
        // The run of lines of one group (or one line outside any).
        std::size_t end = i + 1;
        double runSize = lines[i].size;
        if (lines[i].group >= 0)
            while (end < lines.size() && lines[end].group == lines[i].group)
                runSize += lines[end++].size;
        bool group = lines[i].group >= 0;
        if (group && !page.empty() &&
            ((groupPerPage && pageHasGroup) || (used + runSize > room && runSize <= room)))
            newPage();
        pageHasGroup = pageHasGroup || group;
        for (; i < end; ++i) {
            if (used + lines[i].size > room && !page.empty())
                newPage();
            page.push_back(lines[i].index);
            used += lines[i].size;
        }
    }
    newPage();
    return pages;
}

std::vector<int> rowGroups(const engine::Sheet& sheet, int first, int last) {
    std::vector<int> groups(std::size_t(last - first + 1), -1);
    auto detail = [&](int r) {
        return r >= first && r <= last && sheet.row(r).outlineLevel > 0;
    };
    int number = 0;
    for (int r = first; r <= last;) {
        if (!detail(r)) {
            ++r;
            continue;
        }
        // A run of detail rows with the row above that heads it (a unit row) and, when summaries sit
        // below their detail, the row after it (a total, a separator) unless that row heads the next run.
        int start = r;
        while (detail(r))
            ++r;
        int from = start > first ? start - 1 : start;
        int to = r - 1;
        if (sheet.outline().summaryRowsBelow && r <= last && !detail(r + 1))
            to = r;
        for (int i = from; i <= to; ++i)
            groups[std::size_t(i - first)] = number;
        ++number;
        r = to + 1;
    }
    return groups;
}

std::vector<PrintPage> layoutPages(const engine::Sheet& sheet, const engine::Area& area,
                                   const PageSetup& setup, QSizeF room) {
    std::vector<PrintLine> rows, columns;
    std::vector<int> groups = rowGroups(sheet, area.top, area.bottom);
    for (int r = area.top; r <= area.bottom; ++r)
        if (!sheet.row(r).hidden)
            rows.push_back(
                {r, double(GridView::rowPixels(sheet.rowHeight(r))), groups[std::size_t(r - area.top)]});
    for (int c = area.left; c <= area.right; ++c)
        if (!sheet.column(c).hidden && GridView::columnPixels(sheet.column(c).width) > 0)
            columns.push_back({c, double(GridView::columnPixels(sheet.column(c).width))});
    std::vector<PrintPage> pages;
    for (const std::vector<int>& across : breakLines(columns, room.width(), false))
        for (const std::vector<int>& down : breakLines(rows, room.height(), setup.groupPerPage))
            pages.push_back({down, across});
    return pages;
}

std::optional<engine::Area> printArea(const engine::Sheet& sheet) {
    std::optional<engine::Area> used = sheet.usedArea();
    if (!used)
        return std::nullopt;
    return engine::Area{0, 0, used->bottom, used->right};
}

} // namespace desktop
