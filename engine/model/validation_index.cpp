#include "engine/model/validation_index.h"

#include <algorithm>
#include <tuple>

namespace engine::detail {

namespace {

auto byTop = [](const auto& run, int top) {
    return run.top < top;
};

} // namespace

ValidationIndex::Column::iterator ValidationIndex::runAt(Column& column, int top) {
    return std::lower_bound(column.begin(), column.end(), top, byTop);
}

ValidationIndex::Column::const_iterator ValidationIndex::firstReaching(const Column& column, int row) {
    auto it = std::lower_bound(column.begin(), column.end(), row, byTop);
    if (it != column.begin() && std::prev(it)->bottom >= row)
        --it;
    return it;
}

void ValidationIndex::add(const Area& area, Place place) {
    Run run{std::uint16_t(area.top), std::uint16_t(area.bottom), place};
    for (int c = area.left; c <= area.right; ++c)
        columns_[c].insert(runAt(columns_[c], area.top), run);
}

void ValidationIndex::remove(const Area& area) {
    for (int c = area.left; c <= area.right; ++c)
        columns_[c].erase(runAt(columns_[c], area.top));
}

void ValidationIndex::move(const Area& area, Place place) {
    for (int c = area.left; c <= area.right; ++c)
        runAt(columns_[c], area.top)->place = place;
}

void ValidationIndex::rebuild(const std::vector<Validation>& validations) {
    for (Column& column : columns_)
        column.clear();
    for (std::uint32_t v = 0; v < validations.size(); ++v) {
        const std::vector<Area>& areas = validations[v].areas;
        for (std::uint32_t k = 0; k < areas.size(); ++k)
            for (int c = areas[k].left; c <= areas[k].right; ++c)
                columns_[c].push_back({std::uint16_t(areas[k].top), std::uint16_t(areas[k].bottom), {v, k}});
    }
    for (Column& column : columns_)
        std::sort(column.begin(), column.end(), [](const Run& a, const Run& b) { return a.top < b.top; });
}

std::optional<ValidationIndex::Place> ValidationIndex::find(int row, int col) const {
    if (col < 0 || col > kLastColumn || row < 0 || row > kLastRow)
        return std::nullopt;
    const Column& column = columns_[col];
    auto it = firstReaching(column, row);
    if (it == column.end() || it->top > row)
        return std::nullopt;
    return it->place;
}

std::vector<ValidationIndex::Place> ValidationIndex::meeting(const Area& range) const {
    std::vector<Place> found;
    for (int c = range.left; c <= range.right; ++c) {
        const Column& column = columns_[c];
        for (auto it = firstReaching(column, range.top); it != column.end() && it->top <= range.bottom; ++it)
            found.push_back(it->place);
    }
    // An area of several columns is met in each of them.
    auto order = [](const Place& a, const Place& b) {
        return std::tie(a.validation, a.area) < std::tie(b.validation, b.area);
    };
    std::sort(found.begin(), found.end(), order);
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

bool ValidationIndex::meets(const Area& range) const {
    for (int c = range.left; c <= range.right; ++c) {
        const Column& column = columns_[c];
        auto it = firstReaching(column, range.top);
        if (it != column.end() && it->top <= range.bottom)
            return true;
    }
    return false;
}

} // namespace engine::detail
