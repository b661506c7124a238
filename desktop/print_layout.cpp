#include "desktop/print_layout.h"

#include "desktop/grid_view.h"

namespace desktop {

std::vector<std::vector<int>> breakLines(const std::vector<PrintLine>& lines, double room,
                                         bool groupPerPage) {
    std::vector<std::vector<int>> pages;
    std::vector<int> page;
    double used = 0;
    auto newPage = [&] {
        if (!page.empty())
            pages.push_back(std::move(page));
        page.clear();
        used = 0;
    };
    for (std::size_t i = 0; i < lines.size();) {
        // The run of lines of one group (or one line outside any).
        std::size_t end = i + 1;
        double runSize = lines[i].size;
        if (lines[i].group >= 0)
            while (end < lines.size() && lines[end].group == lines[i].group)
                runSize += lines[end++].size;
        bool group = lines[i].group >= 0;
        if (group && !page.empty() && (groupPerPage || (used + runSize > room && runSize <= room)))
            newPage();
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
    const bool below = sheet.outline().summaryRowsBelow;
    int number = 0;
    for (int r = first; r <= last;) {
        if (sheet.row(r).outlineLevel == 0) {
            ++r;
            continue;
        }
        // A run of detail rows, with the summary row beside it.
        int start = r;
        while (r <= last && sheet.row(r).outlineLevel > 0)
            ++r;
        int from = below ? start : std::max(first, start - 1);
        int to = below ? std::min(last, r) : r - 1;
        for (int i = from; i <= to; ++i)
            groups[std::size_t(i - first)] = number;
        ++number;
        if (below)
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
