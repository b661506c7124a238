#pragma once

#include "engine/formula/adjust.h"
#include "engine/formula/program.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A name a workbook defines for a reference or a constant, for the workbook or for one sheet.
struct DefinedName {
    std::u16string name; // as formulas spell it; Excel's own spelling for a built-in name (Print_Area)
    std::optional<formula::SheetId> sheet; // the sheet it belongs to; nothing for the whole workbook
    // Excel's code of a built-in name: print area 0x06, print titles 0x07, filter database 0x0D, ...
    std::optional<std::uint8_t> builtIn;
    bool hidden = false;
    formula::Program definition; // compiled as a formula; its references name their sheets
};

// The names of one workbook. Names compare without regard to case, as in Excel; a sheet's own name
// hides a workbook name spelt alike for formulas on that sheet.
class DefinedNames {
public:
    const std::vector<DefinedName>& all() const { return names_; }
    // Adds the name, or replaces the one of the same spelling and sheet.
    void define(DefinedName name);
    // The name a formula on `sheet` means by `name`; nullptr when there is none.
    const DefinedName* find(std::u16string_view name, formula::SheetId sheet) const;
    // What `name` stands for on `sheet` when the engine can compute it: a single constant, or
    // references joined by reference operators. Empty otherwise.
    std::span<const formula::Token> operand(std::u16string_view name, formula::SheetId sheet) const;

    // Moves the names' references with an insertion or deletion, widening `reach` as adjustProgram does.
    void adjust(const formula::StructuralEdit& edit, formula::Reach& reach);
    // Forgets the names of a sheet that is removed.
    void removeSheet(formula::SheetId sheet);

private:
    std::vector<DefinedName> names_;
};

} // namespace engine
