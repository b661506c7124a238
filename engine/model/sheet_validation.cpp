// Data validation: which rule each cell has. The sheet keeps each rule once with its areas, and an index
// finds the area of a cell, so that adding, removing and looking up cost the same in a short sheet as in
// a full one.
#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

#include <algorithm>
#include <tuple>

namespace engine {

using Place = detail::ValidationIndex::Place;

namespace {

// `area` without `hole`: up to four rectangles.
void subtract(const Area& area, const Area& hole, std::vector<Area>& out) {
    if (!area.intersects(hole)) {
        out.push_back(area);
        return;
    }
    if (area.top < hole.top)
        out.push_back({area.top, area.left, hole.top - 1, area.right});
    if (area.bottom > hole.bottom)
        out.push_back({hole.bottom + 1, area.left, area.bottom, area.right});
    int top = std::max(area.top, hole.top), bottom = std::min(area.bottom, hole.bottom);
    if (area.left < hole.left)
        out.push_back({top, area.left, bottom, hole.left - 1});
    if (area.right > hole.right)
        out.push_back({top, hole.right + 1, bottom, area.right});
}

} // namespace

void Sheet::addValidation(const Area& area, const ValidationRule& rule) {
    checkArea(area);
    clearValidation(area);
    book_.bump();
    // Entry rows are added one below the other: extend a run of cells rather than keep each alone.
    for (int row : {area.top - 1, area.bottom + 1}) {
        auto at = validationIndex_.find(row, area.left);
        if (!at || validations_[at->validation].rule != rule)
            continue;
        Area& a = validations_[at->validation].areas[at->area];
        if (a.left == area.left && a.right == area.right &&
            (a.bottom + 1 == area.top || area.bottom + 1 == a.top)) {
            validationIndex_.remove(a);
            a = {std::min(a.top, area.top), a.left, std::max(a.bottom, area.bottom), a.right};
            validationIndex_.add(a, *at);
            return;
        }
    }
    auto same = std::find_if(validations_.begin(), validations_.end(),
                             [&](const Validation& v) { return v.rule == rule; });
    if (same == validations_.end())
        same = validations_.insert(same, {rule, {}});
    putValidationArea(std::uint32_t(same - validations_.begin()), area);
}

void Sheet::removeValidation(const Area& area) {
    checkArea(area);
    clearValidation(area);
    book_.bump();
}

const ValidationRule* Sheet::validationAt(int row, int col) const {
    auto at = validationIndex_.find(row, col);
    return at ? &validations_[at->validation].rule : nullptr;
}

bool Sheet::hasValidation(const Area& area) const {
    return validationIndex_.meets(area);
}

void Sheet::clearValidation(const Area& area) {
    std::vector<Place> met = validationIndex_.meeting(area);
    // The last places first: taking an area out moves its rule's last area into its place, and taking a
    // rule out moves the last rule, and neither is then still to be visited.
    std::sort(met.begin(), met.end(), [](const Place& a, const Place& b) {
        return std::tie(a.validation, a.area) > std::tie(b.validation, b.area);
    });
    std::vector<Area> kept;
    for (std::size_t i = 0; i < met.size();) {
        const std::uint32_t v = met[i].validation;
        kept.clear();
        for (; i < met.size() && met[i].validation == v; ++i) {
            subtract(validations_[v].areas[met[i].area], area, kept);
            takeValidationArea(v, met[i].area);
        }
        for (const Area& a : kept)
            putValidationArea(v, a);
        if (!validations_[v].areas.empty())
            continue;
        if (v + 1 != validations_.size()) {
            validations_[v] = std::move(validations_.back());
            const std::vector<Area>& moved = validations_[v].areas;
            for (std::uint32_t k = 0; k < moved.size(); ++k)
                validationIndex_.move(moved[k], {v, k});
        }
        validations_.pop_back();
    }
}

void Sheet::takeValidationArea(std::uint32_t validation, std::uint32_t area) {
    std::vector<Area>& areas = validations_[validation].areas;
    validationIndex_.remove(areas[area]);
    if (area + 1 != areas.size()) {
        areas[area] = areas.back();
        validationIndex_.move(areas[area], {validation, area});
    }
    areas.pop_back();
}

void Sheet::putValidationArea(std::uint32_t validation, const Area& area) {
    std::vector<Area>& areas = validations_[validation].areas;
    areas.push_back(area);
    validationIndex_.add(area, {validation, std::uint32_t(areas.size() - 1)});
}

void Sheet::ValidationIndexKeeper::structureChanged(const formula::StructuralEdit&) {
    sheet_.validationIndex_.rebuild(sheet_.validations_);
}

} // namespace engine
