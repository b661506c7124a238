#pragma once

#include "engine/model/sheet.h"

#include <optional>
#include <string>
#include <vector>

// Range.Find: the next cell, in a given order and direction, whose shown value (or formula) matches.
namespace engine::automation {

struct FindSettings {
    bool lookInFormulas = true; // xlFormulas; else xlValues
    bool wholeCell = false;     // xlWhole; else xlPart
    bool byColumns = false;     // xlByColumns; else xlByRows
    bool matchCase = false;
};

// Searches `areas` (only cells with content) for `what`, starting after `after` and wrapping around;
// `after` itself comes last. * and ? match any run and any one character, ~ escapes them.
std::optional<CellAddress> findCell(const Sheet& sheet, const std::vector<Area>& areas, CellAddress after,
                                    std::u16string_view what, const FindSettings& settings, bool previous);

} // namespace engine::automation
