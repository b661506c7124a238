#pragma once

#include "engine/core/address.h"
#include "engine/model/properties.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace engine::detail {

// Finds the validated area holding a cell, or every area meeting a range, without looking at the
// others: a register keeps thousands of entry-row runs, and each keystroke asks about a few cells. For
// each column it keeps the runs of rows the areas cover there, ordered by their first row. No cell
// has two rules, so the runs of a column never overlap and a binary search finds the one with a row.
class ValidationIndex {
public:
    // Where a sheet keeps an area: validations[validation].areas[area].
    struct Place {
        std::uint32_t validation;
        std::uint32_t area;
        friend bool operator==(const Place&, const Place&) = default;
    };

    // `area` must not meet an area already indexed.
    void add(const Area& area, Place place);
    // `area` as it was added.
    void remove(const Area& area);
    // The area is kept at another place now.
    void move(const Area& area, Place place);
    void rebuild(const std::vector<Validation>& validations);

    std::optional<Place> find(int row, int col) const;
    // Each area meeting `range` once, in no particular order.
    std::vector<Place> meeting(const Area& range) const;
    bool meets(const Area& range) const;

private:
    struct Run {
        std::uint16_t top, bottom;
        Place place;
    };
    using Column = std::vector<Run>;
    // The run of `column` that begins at `top`.
    static Column::iterator runAt(Column& column, int top);
    // The first run of `column` that ends at or below `row`.
    static Column::const_iterator firstReaching(const Column& column, int row);

    std::array<Column, kColumnCount> columns_;
};

} // namespace engine::detail
