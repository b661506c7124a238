#include "engine/automation/find.h"

#include "engine/automation/values.h"
#include "engine/core/text.h"
#include "engine/formula/criteria.h"

#include <algorithm>
#include <utility>

namespace engine::automation {

namespace {

// "*what*", built by appending, which GCC's overlap warning does not misread.
std::u16string partPattern(std::u16string_view what) {
    std::u16string pattern(u"*");
    pattern.append(what);
    pattern += u'*';
    return pattern;
}

// What a cell must show to be found, prepared once for the thousands of cells a search meets.
class Sought {
public:
    Sought(std::u16string_view what, const FindSettings& settings)
        : pattern_(settings.wholeCell ? std::u16string(what) : partPattern(what), settings.matchCase),
          numbers_(std::ranges::all_of(pattern_.literals(), [](char16_t c) {
              // Every character a number can show: "-1.5E+20", "INF", "NAN".
              return std::u16string_view(u"0123456789.+-einfa").find(foldChar(c)) !=
                     std::u16string_view::npos;
          })) {}

    bool matches(std::u16string_view text) const { return pattern_.matches(text); }
    bool matches(const ValueView& value) const {
        switch (value.kind) {
        case Value::Kind::Text:
            return pattern_.matches(value.text);
        case Value::Kind::Number:
            // Turning a number into text is the dear part; most searches need no number at all.
            return numbers_ && pattern_.matches(formatNumber(value.number));
        default:
            return pattern_.matches(shownText(value.toValue()));
        }
    }

private:
    formula::WildcardPattern pattern_;
    bool numbers_; // whether any number's text could match
};

} // namespace

std::optional<CellAddress> findCell(const Sheet& sheet, const std::vector<Area>& areas, CellAddress after,
                                    std::u16string_view what, const FindSettings& settings, bool previous) {
    if (what.empty())
        return std::nullopt;
    const Sought sought(what, settings);
    // Cells are ranked in search order; the answer is the nearest match past `after`, else the first
    // one from the other end (the search wraps around).
    auto rank = [&](int row, int col) {
        return settings.byColumns ? std::pair(col, row) : std::pair(row, col);
    };
    const auto start = rank(after.row, after.col);
    std::optional<std::pair<int, int>> nearest, wrapped;
    auto found = [&](int row, int col) {
        auto key = rank(row, col);
        bool beyond = previous ? key < start : key > start;
        auto& slot = beyond ? nearest : wrapped;
        // Going forward the smallest key wins, going back the largest.
        if (!slot || (previous ? key > *slot : key < *slot))
            slot = key;
    };
    for (const Area& area : areas) {
        if (!settings.lookInFormulas) {
            sheet.forEachValue(area, [&](int row, int col, const ValueView& value) {
                if (sought.matches(value))
                    found(row, col);
            });
            continue;
        }
        // A formula is searched by its text, which leaves its result uncomputed.
        sheet.forEachCell(area, [&](int row, int col) {
            if (sheet.hasFormula(row, col)) {
                if (sought.matches(sheet.formulaText(row, col)))
                    found(row, col);
            } else if (sheet.hasContent(row, col)) {
                if (sought.matches(sheet.value(row, col)))
                    found(row, col);
            }
        });
    }
    std::optional<std::pair<int, int>> hit = nearest ? nearest : wrapped;
    if (!hit)
        return std::nullopt;
    return settings.byColumns ? CellAddress{hit->second, hit->first} : CellAddress{hit->first, hit->second};
}

} // namespace engine::automation
