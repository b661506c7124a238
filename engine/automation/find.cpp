#include "engine/automation/find.h"

#include "engine/automation/values.h"
#include "engine/formula/criteria.h"

#include <utility>

namespace engine::automation {

std::optional<CellAddress> findCell(const Sheet& sheet, const std::vector<Area>& areas, CellAddress after,
                                    std::u16string_view what, const FindSettings& settings, bool previous) {
    if (what.empty())
        return std::nullopt;
    std::u16string pattern(what);
    if (!settings.wholeCell)
        pattern = u"*" + pattern + u"*";
    // Cells are ranked in search order; the answer is the nearest match past `after`, else the first
    // one from the other end (the search wraps around).
    auto rank = [&](int row, int col) {
        return settings.byColumns ? std::pair(col, row) : std::pair(row, col);
    };
    const auto start = rank(after.row, after.col);
    std::optional<std::pair<int, int>> nearest, wrapped;
    for (const Area& area : areas) {
        sheet.forEachCell(area, [&](int row, int col) {
            if (!sheet.hasContent(row, col))
                return;
            std::u16string text = settings.lookInFormulas && sheet.hasFormula(row, col)
                                      ? sheet.formulaText(row, col)
                                      : shownText(sheet.value(row, col));
            if (!formula::wildcardMatch(pattern, text, settings.matchCase))
                return;
            auto key = rank(row, col);
            bool beyond = previous ? key < start : key > start;
            auto& slot = beyond ? nearest : wrapped;
            // Going forward the smallest key wins, going back the largest.
            if (!slot || (previous ? key > *slot : key < *slot))
                slot = key;
        });
    }
    std::optional<std::pair<int, int>> hit = nearest ? nearest : wrapped;
    if (!hit)
        return std::nullopt;
    return settings.byColumns ? CellAddress{hit->second, hit->first} : CellAddress{hit->first, hit->second};
}

} // namespace engine::automation
