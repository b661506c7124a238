#pragma once

#include "engine/core/address.h"
#include "engine/formula/program.h"

#include <optional>
#include <span>

namespace engine::formula {

// Rows or columns inserted into or deleted from one sheet. A vertical edit moves the cells of the
// columns first..last (all columns for whole rows) at and below row `at` down by `count` (insertion)
// or deletes rows at..at+count-1 of those columns and moves the cells below up; a horizontal edit
// does the same along rows first..last with columns.
struct StructuralEdit {
    SheetId sheet = 0;
    bool vertical = true;
    bool insert = true;
    int at = 0;
    int count = 1;
    int first = 0; // the band of columns (vertical) or rows (horizontal) that moves
    int last = kLastColumn;
};

// Where a rectangle of the edited sheet ends up, as Excel adjusts references: a rectangle spanning
// the insertion point grows, one losing some of its rows (columns) shrinks, one that lies only
// partly in the moving band stays, and one whose cells are all deleted is gone (nothing).
std::optional<Area> adjustArea(const Area& area, const StructuralEdit& edit);

// How far references into one sheet reach: the lowest row and the rightmost column they cover, -1
// for none. A reference to whole columns does not count for rows, nor one to whole rows for columns:
// edits across them leave them whole.
struct Reach {
    int bottom = -1;
    int right = -1;
    friend bool operator==(const Reach&, const Reach&) = default;
};

// Widens `reach` to cover a Ref or Area token.
void extendReach(Reach& reach, const Token& reference);
// Whether the edit can change a reference within `reach`: not when it lies wholly below (right of) it.
bool mayAffect(const Reach& reach, const StructuralEdit& edit);

// Adjusts every reference of a formula that lives on sheet `host`; references whose cells were
// deleted become #REF!. Widens `reach` to cover the references into the edited sheet as they are
// afterwards. Whether any token changed.
bool adjustProgram(std::span<Token> program, SheetId host, const StructuralEdit& edit, Reach& reach);

// Moves the relative parts of every reference by the offset of a paste, in place; references that would
// leave the sheet become #REF!, keeping the sheet they named.
void moveRelative(std::span<Token> program, int rows, int cols);

} // namespace engine::formula
