#pragma once

#include "engine/model/sheet.h"

// The advanced filter that copies: the rows of a list that meet a criteria range, written elsewhere.
namespace engine::automation {

struct FilterRequest {
    const Sheet* list = nullptr;
    Area listArea; // its first row holds the titles
    const Sheet* criteria = nullptr;
    Area criteriaArea; // titles, then one row per alternative
    Sheet* destination = nullptr;
    CellAddress copyTo;
    bool unique = false;
};

// Clears the destination's columns from copyTo down, then writes the title row and every passing row
// there, values and formats only. The area written.
//
// A row passes when it meets every filled cell of at least one criteria row. Under a title that names a
// list column (without regard to case): a text means "begins with", "=text" the whole value, a leading
// comparison operator compares ("<>" alone: not empty), a number equals or begins a text, a boolean equals;
// an empty cell accepts anything. A formula under an empty or unknown title is computed for each list row
// with its relative references moved from the list's first data row to that row, and passes the row when
// true.
Area advancedFilterCopy(const FilterRequest& request);

} // namespace engine::automation
