#pragma once

#include "engine/formula/evaluator.h"
#include "engine/model/cell.h"

#include <cstdint>
#include <span>
#include <vector>

namespace engine {

class Sheet;
class Workbook;

// Recalculation by lazily computed, cached results. Every content change stamps its sheet (and the
// workbook) with a new revision; a formula's result is current when it was computed at or after the
// last change of its own sheet, or of any sheet for formulas that read other sheets or TODAY() and NOW(). A
// write therefore costs nothing beyond the write, and a read computes only the stale formulas it
// depends on, each once. Formulas waiting for others wait on an explicit work stack, never on the
// call stack, so a chain of any length computes in linear time; meeting a formula that is still being
// computed is a circular reference, which gives #VALUE!.
class Recalc final : public formula::EvalContext {
public:
    explicit Recalc(Workbook& book) : book_(book) {}

    bool isCurrent(const Sheet& sheet, const detail::FormulaSlot& slot) const;
    // Computes the formula in slot `slot` of `sheet`, at `row`, `col`, and whatever it waits for.
    void compute(Sheet& sheet, std::uint32_t slot, int row, int col);
    // Computes a formula that is stored nowhere as if it stood in `row`, `col` of `sheet`.
    Value evaluate(Sheet& sheet, std::span<const formula::Token> program, int row, int col);

    bool ready(formula::SheetId sheet, const Area& area) override;
    bool sheetExists(formula::SheetId sheet) override;
    std::optional<formula::SheetId> sheetNamed(std::u16string_view name) override;
    ValueView value(formula::SheetId sheet, int row, int col) override;
    void forEachValue(formula::SheetId sheet, const Area& area,
                      const std::function<void(int row, int col, const ValueView&)>& visit) override;
    double now() override;
    DateSystem dateSystem() override;
    bool rowHidden(formula::SheetId sheet, int row) override;
    std::span<const formula::Token> definedName(std::u16string_view name, formula::SheetId sheet) override;
    std::span<const formula::Token> formula(formula::SheetId sheet, int row, int col) override;

    // A stored cell's value in place; a formula's last result (see isCurrent).
    ValueView view(const Sheet& sheet, const detail::Cell& cell) const;

private:
    struct Pending {
        Sheet* sheet;
        std::uint32_t slot;
        formula::Frame frame;
    };
    static constexpr std::uint32_t kTransient = 0xFFFFFFFF; // a formula of no cell

    static formula::Frame frameOf(const Sheet& sheet, std::uint32_t slot, int row, int col);
    Value run(Pending root);
    Value runFrom(std::size_t bottom);

    Workbook& book_;
    formula::Interpreter interpreter_;
    std::vector<Pending> work_;
    std::vector<Pending> requests_; // asked for by ready() while a frame runs
};

} // namespace engine
