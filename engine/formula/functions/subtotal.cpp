#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"
#include "engine/formula/program.h"

#include <array>
#include <cmath>

namespace engine::formula {
namespace {

using namespace arguments;

// The workbook as SUBTOTAL sees it: cells whose formulas hold a SUBTOTAL are empty, so that the
// subtotals within a range are not counted twice in a total over it, and so are the cells of hidden rows
// for the numbers from 101 on.
class WithoutSubtotals final : public EvalContext {
public:
    WithoutSubtotals(EvalContext& inner, bool skipHidden)
        : inner_(inner), subtotal_(findFunction(u"SUBTOTAL")), skipHidden_(skipHidden) {}

    bool ready(SheetId sheet, const Area& area) override { return inner_.ready(sheet, area); }
    bool sheetExists(SheetId sheet) override { return inner_.sheetExists(sheet); }
    std::optional<SheetId> sheetNamed(std::u16string_view name) override { return inner_.sheetNamed(name); }
    ValueView value(SheetId sheet, int row, int col) override {
        return leftOut(sheet, row, col) ? ValueView() : inner_.value(sheet, row, col);
    }
    void forEachValue(SheetId sheet, const Area& area,
                      const std::function<void(int row, int col, const ValueView&)>& visit) override {
        inner_.forEachValue(sheet, area, [&](int row, int col, const ValueView& v) {
            if (!leftOut(sheet, row, col))
                visit(row, col, v);
        });
    }
    double now() override { return inner_.now(); }
    DateSystem dateSystem() override { return inner_.dateSystem(); }
    bool rowHidden(SheetId sheet, int row) override { return inner_.rowHidden(sheet, row); }
    std::span<const Token> definedName(std::u16string_view name, SheetId sheet) override {
        return inner_.definedName(name, sheet);
    }
    std::span<const Token> formula(SheetId sheet, int row, int col) override {
        return inner_.formula(sheet, row, col);
    }

private:
    bool leftOut(SheetId sheet, int row, int col) {
        return (skipHidden_ && inner_.rowHidden(sheet, row)) || holdsSubtotal(sheet, row, col);
    }
    bool holdsSubtotal(SheetId sheet, int row, int col) {
        for (const Token& t : inner_.formula(sheet, row, col))
            if (t.kind == TokenKind::Function && t.payload.call.id == subtotal_)
                return true;
        return false;
    }

    EvalContext& inner_;
    std::optional<std::uint16_t> subtotal_;
    bool skipHidden_;
};

// The function each number names.
constexpr std::array<std::u16string_view, 11> kSubtotals = {
    u"AVERAGE", u"COUNT", u"COUNTA", u"MAX", u"MIN", u"PRODUCT", u"STDEV", u"STDEVP", u"SUM", u"VAR", u"VARP",
};

Value subtotal(Call& call) {
    double which = 0;
    if (auto e = numbers(call, {&which}))
        return err(*e);
    which = std::trunc(which);
    // 101 to 111 are 1 to 11 leaving hidden rows out.
    constexpr double kWithoutHidden = 100;
    bool skipHidden = which > kWithoutHidden;
    if (skipHidden)
        which -= kWithoutHidden;
    if (which < 1 || which > kSubtotals.size())
        return err(ErrorCode::Value);
    auto id = findFunction(kSubtotals[static_cast<std::size_t>(which) - 1]);
    if (!id)
        return err(ErrorCode::Value);
    // Its ranges must be references.
    for (std::size_t i = 1; i < call.count(); ++i)
        if (!call.reference(i))
            return err(ErrorCode::Value);
    WithoutSubtotals context(call.site.context, skipHidden);
    CallSite site{context, call.site.sheet, call.site.row, call.site.col};
    Call inner{call.args.subspan(1), site};
    return function(*id).compute(inner);
}

constexpr Function kRows[] = {
    {u"SUBTOTAL", 2, kManyArgs, false, "VR", subtotal},
};

} // namespace

std::span<const Function> subtotalFunctions() {
    return kRows;
}

} // namespace engine::formula
