#include "engine/core/address.h"
#include "engine/formula/functions/arguments.h"
#include "engine/formula/functions/groups.h"
#include "engine/formula/functions/text_reference.h"

#include <cctype>
#include <cmath>
#include <memory>

// Functions about references: where they are, how large, and references made from others.
namespace engine::formula {
namespace {

using namespace arguments;

template <bool row> Value position(Call& call) {
    if (call.count() == 0 || isMissing(call.args[0]))
        return Value::number((row ? call.site.row : call.site.col) + 1);
    const RefOperand* r = call.reference(0);
    if (!r)
        return call.value(0).isError() ? call.value(0) : err(ErrorCode::Value);
    return Value::number((row ? r->area.top : r->area.left) + 1);
}

template <bool rows> Value size(Call& call) {
    if (!std::holds_alternative<Value>(call.args[0])) {
        Shape s = shapeOf(call.args[0]);
        return Value::number(rows ? s.rows : s.columns);
    }
    return call.value(0).isError() ? call.value(0) : Value::number(1);
}

Value areas(Call& call) {
    if (const RefOperand* r = call.reference(0))
        return Value::number(static_cast<double>(r->areaCount()));
    return call.value(0).isError() ? call.value(0) : err(ErrorCode::Value);
}

// The argument the index picks, a reference passed on as one.
Value choose(Call& call) {
    ErrorCode e = ErrorCode::Value;
    auto n = number(call.value(0), e);
    if (!n)
        return err(e);
    double i = std::trunc(*n);
    if (i < 1 || i >= static_cast<double>(call.count()))
        return err(ErrorCode::Value);
    const Operand& picked = call.args[static_cast<std::size_t>(i)];
    if (const RefOperand* r = std::get_if<RefOperand>(&picked)) {
        call.referenceResult = *r;
        return {};
    }
    if (const ArrayOperand* a = std::get_if<ArrayOperand>(&picked)) {
        call.arrayResult = *a;
        return {};
    }
    return std::get<Value>(picked);
}

// The rows of a reference or an array as columns; a single value stays as it is.
Value transpose(Call& call) {
    const Operand& given = call.args[0];
    if (const Value* v = std::get_if<Value>(&given))
        return *v;
    Shape s = shapeOf(given);
    auto out = std::make_shared<ArrayValue>();
    out->rows = s.columns;
    out->columns = s.rows;
    out->values.reserve(static_cast<std::size_t>(s.rows) * static_cast<std::size_t>(s.columns));
    for (int r = 0; r < out->rows; ++r)
        for (int c = 0; c < out->columns; ++c)
            out->values.push_back(elementOf(given, c, r, call.site));
    call.arrayResult = std::move(out);
    return {};
}

// INDEX of an array: the value at row and column, or with a row or column of 0 the whole column or
// row as an array.
Value arrayIndex(Call& call, const ArrayValue& a, double row, double col, double area) {
    if (area > 1)
        return err(ErrorCode::Ref);
    if (call.count() < 3 && a.rows == 1 && a.columns > 1)
        std::swap(row, col);
    if (row > a.rows || col > a.columns)
        return err(ErrorCode::Ref);
    if (row > 0 && col > 0)
        return a.at(static_cast<int>(row) - 1, static_cast<int>(col) - 1);
    auto out = std::make_shared<ArrayValue>();
    out->rows = row > 0 ? 1 : a.rows;
    out->columns = col > 0 ? 1 : a.columns;
    for (int r = 0; r < a.rows; ++r)
        for (int c = 0; c < a.columns; ++c)
            if ((row == 0 || r == row - 1) && (col == 0 || c == col - 1))
                out->values.push_back(a.at(r, c));
    call.arrayResult = std::move(out);
    return {};
}

// INDEX(reference, row, column, area): the cell at row and column of the area-th area of the
// reference, or with a row or column of 0 the whole column or row. A single value is an array of one.
Value index(Call& call) {
    double row = 0, col = 0, area = 1;
    for (auto [i, out] : {std::pair{1u, &row}, std::pair{2u, &col}, std::pair{3u, &area}}) {
        if (i >= call.count() || call.value(i).isEmpty())
            continue;
        ErrorCode e = ErrorCode::Value;
        auto n = number(call.value(i), e);
        if (!n)
            return err(e);
        *out = std::trunc(*n);
    }
    if (row < 0 || col < 0 || area < 1)
        return err(ErrorCode::Value);
    if (const ArrayValue* a = call.array(0))
        return arrayIndex(call, *a, row, col, area);
    const RefOperand* r = call.reference(0);
    if (!r) {
        const Value& v = call.value(0);
        if (v.isError())
            return v;
        return row <= 1 && col <= 1 && area == 1 ? v : err(ErrorCode::Ref);
    }
    if (area > static_cast<double>(r->areaCount()))
        return err(ErrorCode::Ref);
    Area a = r->areaAt(static_cast<std::size_t>(area) - 1);
    // One row or one column takes a single index along it.
    if (call.count() < 3 && a.rowCount() == 1 && a.columnCount() > 1)
        std::swap(row, col);
    if (row > a.rowCount() || col > a.columnCount())
        return err(ErrorCode::Ref);
    if (row > 0)
        a.top = a.bottom = a.top + static_cast<int>(row) - 1;
    if (col > 0)
        a.left = a.right = a.left + static_cast<int>(col) - 1;
    call.referenceResult = RefOperand{r->sheet, a};
    return {};
}

// The area OFFSET points at, or the error it gives.
std::variant<RefOperand, ErrorCode> offsetTarget(std::span<const Operand> args, CallSite& site) {
    const RefOperand* base = std::get_if<RefOperand>(&args[0]);
    if (!base) {
        const Value& v = std::get<Value>(args[0]);
        return v.isError() ? v.asError() : ErrorCode::Value;
    }
    double n[4] = {0, 0, static_cast<double>(base->area.rowCount()),
                   static_cast<double>(base->area.columnCount())};
    for (std::size_t i = 1; i < args.size() && i < 5; ++i) {
        if (isMissing(args[i]))
            continue;
        auto x = toNumber(scalarOf(args[i], site));
        if (auto* e = std::get_if<ErrorCode>(&x))
            return *e;
        n[i - 1] = std::trunc(std::get<double>(x));
    }
    if (n[2] == 0 || n[3] == 0)
        return ErrorCode::Ref;
    double top = base->area.top + n[0], left = base->area.left + n[1];
    double bottom = top + n[2] + (n[2] > 0 ? -1 : 1), right = left + n[3] + (n[3] > 0 ? -1 : 1);
    if (std::min(top, bottom) < 0 || std::min(left, right) < 0 || std::max(top, bottom) > kLastRow ||
        std::max(left, right) > kLastColumn)
        return ErrorCode::Ref;
    return RefOperand{base->sheet,
                      Area{static_cast<int>(std::min(top, bottom)), static_cast<int>(std::min(left, right)),
                           static_cast<int>(std::max(top, bottom)), static_cast<int>(std::max(left, right))}};
}

std::optional<RefOperand> offsetCells(std::span<const Operand> args, CallSite& site) {
    auto target = offsetTarget(args, site);
    if (auto* r = std::get_if<RefOperand>(&target))
        return *r;
    return std::nullopt;
}

Value offset(Call& call) {
    auto target = offsetTarget(call.args, call.site);
    if (auto* e = std::get_if<ErrorCode>(&target))
        return err(*e);
    call.referenceResult = std::get<RefOperand>(target);
    return {};
}

// The reference INDIRECT's text names, or the error it gives.
std::variant<RefOperand, ErrorCode> indirectTarget(std::span<const Operand> args, CallSite& site) {
    Value text = scalarOf(args[0], site);
    if (text.isError())
        return text.asError();
    bool a1 = true;
    if (args.size() > 1 && !isMissing(args[1])) {
        auto b = toBoolean(scalarOf(args[1], site));
        if (auto* e = std::get_if<ErrorCode>(&b))
            return *e;
        a1 = std::get<bool>(b);
    }
    auto r = readReference(toText(text), a1, site.context, site.sheet, site.row, site.col);
    if (!r)
        return ErrorCode::Ref;
    return *r;
}

std::optional<RefOperand> indirectCells(std::span<const Operand> args, CallSite& site) {
    auto target = indirectTarget(args, site);
    if (auto* r = std::get_if<RefOperand>(&target))
        return *r;
    return std::nullopt;
}

Value indirect(Call& call) {
    auto target = indirectTarget(call.args, call.site);
    if (auto* e = std::get_if<ErrorCode>(&target))
        return err(*e);
    call.referenceResult = std::get<RefOperand>(target);
    return {};
}

// A sheet name as a reference writes it: quoted when it holds more than letters, digits and _, or
// starts with a digit.
std::u16string sheetPrefix(const std::u16string& name) {
    bool plain = !name.empty() && !(name[0] >= u'0' && name[0] <= u'9');
    for (char16_t c : name)
        plain = plain && (c == u'_' || c > 0x7F || (c < 0x80 && std::isalnum(static_cast<int>(c))));
    if (plain)
        return name + u'!';
    std::u16string out(u"'");
    for (char16_t c : name)
        out.append(c == u'\'' ? 2 : 1, c);
    return out + u"'!";
}

Value address(Call& call) {
    double row = 0, col = 0, kind = 1;
    if (auto e = numbers(call, {&row, &col}))
        return err(*e);
    if (call.count() > 2 && !call.value(2).isEmpty()) {
        ErrorCode e = ErrorCode::Value;
        auto n = number(call.value(2), e);
        if (!n)
            return err(e);
        kind = std::trunc(*n);
    }
    bool a1 = true;
    if (call.count() > 3 && !call.value(3).isEmpty()) {
        auto b = toBoolean(call.value(3));
        if (auto* e = std::get_if<ErrorCode>(&b))
            return err(*e);
        a1 = std::get<bool>(b);
    }
    row = std::trunc(row);
    col = std::trunc(col);
    if (row < 1 || col < 1 || row > kRowCount || col > kColumnCount || kind < 1 || kind > 4)
        return err(ErrorCode::Value);
    bool absRow = kind == 1 || kind == 2, absCol = kind == 1 || kind == 3;
    std::u16string out;
    if (call.count() > 4 && !call.value(4).isEmpty()) {
        std::u16string sheet;
        if (Value bad = text(call.value(4), sheet); bad.isError())
            return bad;
        out = sheetPrefix(sheet);
    }
    if (a1) {
        out += (absCol ? u"$" : u"") + columnName(static_cast<int>(col) - 1);
        out += (absRow ? u"$" : u"") + formatNumber(row);
    } else {
        out += absRow ? u"R" + formatNumber(row) : u"R[" + formatNumber(row) + u"]";
        out += absCol ? u"C" + formatNumber(col) : u"C[" + formatNumber(col) + u"]";
    }
    return Value::text(std::move(out));
}

constexpr Function kRows[] = {
    {u"ROW", 0, 1, false, "R", position<true>},
    {u"COLUMN", 0, 1, false, "R", position<false>},
    {u"ROWS", 1, 1, false, "R", size<true>},
    {u"TRANSPOSE", 1, 1, false, "R", transpose},
    {u"COLUMNS", 1, 1, false, "R", size<false>},
    {u"AREAS", 1, 1, false, "R", areas, nullptr, true},
    {u"CHOOSE", 2, kManyArgs, false, "VR", choose},
    {u"INDEX", 2, 4, false, "RV", index, nullptr, true},
    {u"OFFSET", 3, 5, true, "R", offset, offsetCells},
    {u"INDIRECT", 1, 2, true, "R", indirect, indirectCells},
    {u"ADDRESS", 2, 5, false, "V", address},
};

} // namespace

std::span<const Function> referenceFunctions() {
    return kRows;
}

} // namespace engine::formula
