#include "engine/automation/autofit.h"

#include "engine/automation/values.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace engine::automation {

namespace {

// Width of text in characters of the default font: wide (East Asian) characters take two.
double textWidth(std::u16string_view text) {
    double width = 0;
    for (char16_t c : text)
        width +=
            (c >= 0x2E80 && c < 0xD800) || (c >= 0xF900 && c < 0xFB00) || (c >= 0xFF00 && c < 0xFF61) ? 2 : 1;
    return width;
}

int linesOf(std::u16string_view text, bool wrap, double columnWidth) {
    int lines = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find(u'\n', start);
        std::u16string_view line = text.substr(start, end == std::u16string_view::npos ? end : end - start);
        int made = 1;
        if (wrap && columnWidth > 0)
            made = std::max(1, static_cast<int>(std::ceil(textWidth(line) / columnWidth)));
        lines += made;
        if (end == std::u16string_view::npos)
            break;
        start = end + 1;
    }
    return lines;
}

} // namespace

void autoFitRows(Sheet& sheet, int first, int last) {
    std::map<int, int> lines; // rows with shown values: their line count
    sheet.forEachCell(Area::rows(first, last), [&](int row, int col) {
        if (!sheet.hasContent(row, col))
            return;
        std::u16string text = shownText(sheet.value(row, col));
        int n = linesOf(text, sheet.format(row, col).wrapText, sheet.column(col).width);
        int& most = lines[row];
        most = std::max(most, n);
    });
    int end = std::min(last, sheet.rowExtent() - 1);
    for (int r = first; r <= end; ++r) {
        auto it = lines.find(r);
        int n = it == lines.end() ? 1 : it->second;
        const RowProperties& props = sheet.row(r);
        if (n <= 1) {
            if (props.customHeight)
                sheet.editRow(r).customHeight = false;
            continue;
        }
        RowProperties& edit = sheet.editRow(r);
        edit.customHeight = true;
        edit.height = n * sheet.defaultRowHeight();
    }
}

void autoFitColumns(Sheet& sheet, int first, int last) {
    std::map<int, double> widths;
    sheet.forEachCell(Area::columns(first, last), [&](int row, int col) {
        if (!sheet.hasContent(row, col))
            return;
        double& widest = widths[col];
        widest = std::max(widest, textWidth(shownText(sheet.value(row, col))));
    });
    for (const auto& [col, width] : widths) {
        ColumnProperties& props = sheet.editColumn(col);
        props.width = std::min(255.0, width + 0.71);
        props.customWidth = true;
    }
}

} // namespace engine::automation
