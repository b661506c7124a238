#pragma once

#include "engine/model/sheet.h"

#include <QString>
#include <vector>

// What a spreadsheet's status bar says about the sheet shown and the cells selected.
namespace desktop {

// Over the cells of the selection that are shown (hidden rows and columns left out): how many hold
// something, and the count and sum of those that hold numbers.
struct SelectionTotals {
    long long filled = 0;
    long long numbers = 0;
    double sum = 0;
};
SelectionTotals selectionTotals(const engine::Sheet& sheet, const std::vector<engine::Area>& areas);

// "平均值: 12    计数: 3    求和: 36" for a selection of several cells with numbers, "计数: 2" for one
// without; empty for a single cell or nothing filled.
QString selectionText(const SelectionTotals& totals);

// "共 N 行": the rows up to the last one of the sheet's used area.
QString rowCountText(const std::optional<engine::Area>& used);

} // namespace desktop
