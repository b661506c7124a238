#include "engine/formula/operands.h"

#include "engine/core/date_text.h"
#include "engine/core/text.h"

namespace engine::formula {

Value scalarOf(const Operand& operand, CallSite& site) {
    if (const Value* v = std::get_if<Value>(&operand))
        return *v;
    if (const ArrayOperand* a = std::get_if<ArrayOperand>(&operand))
        return (*a)->values.front();
    const RefOperand& r = std::get<RefOperand>(operand);
    if (!r.more.empty())
        return Value::error(ErrorCode::Value);
    const Area& a = r.area;
    int row = a.top, col = a.left;
    if (a.rowCount() > 1 || a.columnCount() > 1) {
        // Implicit intersection with the formula's own row or column.
        if (a.columnCount() == 1 && site.row >= a.top && site.row <= a.bottom)
            row = site.row;
        else if (a.rowCount() == 1 && site.col >= a.left && site.col <= a.right)
            col = site.col;
        else
            return Value::error(ErrorCode::Value);
    }
    return site.context.value(r.sheet, row, col).toValue();
}

Shape shapeOf(const Operand& operand) {
    if (const ArrayOperand* a = std::get_if<ArrayOperand>(&operand))
        return {(*a)->rows, (*a)->columns};
    if (const RefOperand* r = std::get_if<RefOperand>(&operand))
        return {r->area.rowCount(), r->area.columnCount()};
    return {};
}

bool spreads(const Operand& operand, bool arrayFormula) {
    if (std::holds_alternative<ArrayOperand>(operand))
        return true;
    Shape s = shapeOf(operand);
    return arrayFormula && (s.rows > 1 || s.columns > 1);
}

Value elementOf(const Operand& operand, int row, int col, CallSite& site) {
    if (const Value* v = std::get_if<Value>(&operand))
        return *v;
    Shape s = shapeOf(operand);
    if (s.rows == 1)
        row = 0;
    if (s.columns == 1)
        col = 0;
    if (row >= s.rows || col >= s.columns)
        return Value::error(ErrorCode::NA);
    if (const ArrayOperand* a = std::get_if<ArrayOperand>(&operand))
        return (*a)->at(row, col);
    const RefOperand& r = std::get<RefOperand>(operand);
    return site.context.value(r.sheet, r.area.top + row, r.area.left + col).toValue();
}

std::variant<double, ErrorCode> toNumber(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Empty:
        return 0.0;
    case Value::Kind::Number:
        return v.asNumber();
    case Value::Kind::Boolean:
        return v.asBoolean() ? 1.0 : 0.0;
    case Value::Kind::Error:
        return v.asError();
    case Value::Kind::Text:
        if (auto n = readNumber(v.asText()))
            return *n;
        break;
    }
    return ErrorCode::Value;
}

std::variant<double, ErrorCode> toNumber(const Value& v, DateSystem system) {
    auto n = toNumber(v);
    if (std::holds_alternative<ErrorCode>(n) && v.isText())
        if (auto serial = readDateTime(v.asText(), system))
            return *serial;
    return n;
}

std::variant<bool, ErrorCode> toBoolean(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Empty:
        return false;
    case Value::Kind::Number:
        return v.asNumber() != 0;
    case Value::Kind::Boolean:
        return v.asBoolean();
    case Value::Kind::Error:
        return v.asError();
    case Value::Kind::Text:
        if (compareFolded(v.asText(), u"TRUE") == 0)
            return true;
        if (compareFolded(v.asText(), u"FALSE") == 0)
            return false;
        break;
    }
    return ErrorCode::Value;
}

int compareValues(const Value& a, const Value& b) {
    using K = Value::Kind;
    // An empty value takes the other side's kind: 0, "" or FALSE.
    auto resolve = [](const Value& v, const Value& other) {
        if (!v.isEmpty())
            return v;
        switch (other.kind()) {
        case K::Text:
            return Value::text(u"");
        case K::Boolean:
            return Value::boolean(false);
        default:
            return Value::number(0);
        }
    };
    Value x = resolve(a, b), y = resolve(b, a);
    auto rank = [](const Value& v) {
        return v.isNumber() ? 0 : v.isText() ? 1 : 2;
    };
    if (rank(x) != rank(y))
        return rank(x) < rank(y) ? -1 : 1;
    if (x.isNumber())
        return x.asNumber() < y.asNumber() ? -1 : (x.asNumber() > y.asNumber() ? 1 : 0);
    if (x.isText())
        return compareFolded(x.asText(), y.asText());
    return static_cast<int>(x.asBoolean()) - static_cast<int>(y.asBoolean());
}

} // namespace engine::formula
