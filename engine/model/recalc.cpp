#include "engine/model/recalc.h"

#include "engine/model/sheet.h"
#include "engine/model/workbook.h"

#include <algorithm>

namespace engine {
namespace {

const Value kCircular = Value::error(ErrorCode::Value);

} // namespace

bool Recalc::isCurrent(const Sheet& sheet, const detail::FormulaSlot& slot) const {
    if (slot.keepsFileResult)
        return true;
    std::uint64_t changed = slot.otherSheets ? book_.contentChangedAt_ : sheet.changedAt_;
    if (slot.shownRows)
        changed = std::max(changed, book_.rowsShownChangedAt_);
    return slot.computedAt != 0 && slot.computedAt >= changed;
}

formula::Frame Recalc::frameOf(const Sheet& sheet, std::uint32_t slot, int row, int col) {
    const detail::FormulaSlot& f = sheet.formulas_[slot];
    formula::Frame frame{sheet.programOf(f), sheet.id(), row, col};
    frame.arrayFormula = f.inArray;
    frame.arrayRow = f.arrayRow;
    frame.arrayCol = f.arrayCol;
    return frame;
}

void Recalc::compute(Sheet& sheet, std::uint32_t slot, int row, int col) {
    run({&sheet, slot, frameOf(sheet, slot, row, col)});
}

Value Recalc::evaluate(Sheet& sheet, std::span<const formula::Token> program, int row, int col) {
    return run({&sheet, kTransient, {program, sheet.id(), row, col}});
}

Value Recalc::run(Pending root) {
    std::size_t bottom = work_.size();
    work_.push_back(root);
    try {
        return runFrom(bottom);
    } catch (...) {
        // Nothing may stay marked as being computed, or every later read would see a circle.
        for (std::size_t i = bottom; i < work_.size(); ++i)
            if (work_[i].slot != kTransient)
                work_[i].sheet->formulas_[work_[i].slot].running = false;
        work_.resize(bottom);
        interpreter_ = formula::Interpreter();
        throw;
    }
}

Value Recalc::runFrom(std::size_t bottom) {
    Value rootResult;
    while (work_.size() > bottom) {
        std::size_t top = work_.size() - 1;
        bool transient = work_[top].slot == kTransient;
        detail::FormulaSlot* f = transient ? nullptr : &work_[top].sheet->formulas_[work_[top].slot];
        if (!work_[top].frame.started && f) {
            if (f->running || isCurrent(*work_[top].sheet, *f)) {
                work_.pop_back();
                continue;
            }
            f->running = true;
        }
        requests_.clear();
        std::optional<Value> result = interpreter_.run(work_[top].frame, *this);
        if (!result) {
            work_.insert(work_.end(), requests_.begin(), requests_.end());
            continue;
        }
        work_.pop_back();
        if (!f) {
            rootResult = std::move(*result);
            continue;
        }
        f->result = std::move(*result);
        f->computedAt = book_.revision_;
        f->running = false;
    }
    return rootResult;
}

bool Recalc::ready(formula::SheetId id, const Area& area) {
    Sheet* sheet = book_.sheetById(id);
    std::size_t before = requests_.size();
    auto check = [&](int row, const detail::Cell& c) {
        if (c.kind != detail::CellKind::Formula)
            return;
        detail::FormulaSlot& f = sheet->formulas_[c.data.formula];
        if (!f.running && !isCurrent(*sheet, f))
            requests_.push_back({sheet, c.data.formula, frameOf(*sheet, c.data.formula, row, c.col)});
    };
    if (area.top == area.bottom && area.left == area.right) {
        if (const detail::Cell* c = sheet->findCell(area.top, area.left))
            check(area.top, *c);
    } else {
        int last = std::min(area.bottom, sheet->rowExtent() - 1);
        for (int r = area.top; r <= last; ++r) {
            const auto& cells = sheet->rows_[r].cells;
            auto it = std::lower_bound(cells.begin(), cells.end(), area.left,
                                       [](const detail::Cell& c, int col) { return c.col < col; });
            for (; it != cells.end() && it->col <= area.right; ++it)
                check(r, *it);
        }
    }
    return requests_.size() == before;
}

bool Recalc::rowHidden(formula::SheetId id, int row) {
    const Sheet* sheet = book_.sheetById(id);
    return sheet && sheet->row(row).hidden;
}

bool Recalc::sheetExists(formula::SheetId id) {
    return book_.sheetById(id) != nullptr;
}

std::optional<formula::SheetId> Recalc::sheetNamed(std::u16string_view name) {
    const Sheet* sheet = book_.findSheet(name);
    return sheet ? std::optional(sheet->id()) : std::nullopt;
}

ValueView Recalc::view(const Sheet& sheet, const detail::Cell& c) const {
    if (c.kind != detail::CellKind::Formula)
        return detail::storedValue(c, book_.strings_);
    const detail::FormulaSlot& f = sheet.formulas_[c.data.formula];
    return f.running ? ValueView(kCircular) : ValueView(f.result);
}

ValueView Recalc::value(formula::SheetId id, int row, int col) {
    const Sheet* sheet = book_.sheetById(id);
    const detail::Cell* c = sheet ? sheet->findCell(row, col) : nullptr;
    return c ? view(*sheet, *c) : ValueView();
}

void Recalc::forEachValue(formula::SheetId id, const Area& area,
                          const std::function<void(int row, int col, const ValueView&)>& visit) {
    const Sheet* sheet = book_.sheetById(id);
    if (!sheet)
        return;
    int last = std::min(area.bottom, sheet->rowExtent() - 1);
    for (int r = area.top; r <= last; ++r) {
        const auto& cells = sheet->rows_[r].cells;
        auto it = std::lower_bound(cells.begin(), cells.end(), area.left,
                                   [](const detail::Cell& c, int col) { return c.col < col; });
        for (; it != cells.end() && it->col <= area.right; ++it)
            if (it->kind != detail::CellKind::Empty)
                visit(r, it->col, view(*sheet, *it));
    }
}

std::span<const formula::Token> Recalc::definedName(std::u16string_view name, formula::SheetId sheet) {
    return book_.names_.operand(name, sheet);
}

std::span<const formula::Token> Recalc::formula(formula::SheetId id, int row, int col) {
    const Sheet* sheet = book_.sheetById(id);
    return sheet ? sheet->formulaProgram(row, col) : std::span<const formula::Token>();
}

double Recalc::now() {
    return book_.now();
}

DateSystem Recalc::dateSystem() {
    return book_.dateSystem();
}

} // namespace engine
