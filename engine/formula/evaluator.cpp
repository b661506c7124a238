#include "engine/formula/evaluator.h"

#include "engine/core/text.h"
#include "engine/formula/functions.h"
#include "engine/formula/operands.h"
#include "engine/formula/reference_operators.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace engine::formula {
namespace {

// The value of the constant token at `i`: a number, a text (`i` is left on its last character), a
// boolean or an error.
Value constant(std::span<const Token> p, std::size_t& i) {
    const Token& t = p[i];
    switch (t.kind) {
    case TokenKind::Number:
        return Value::number(t.payload.number);
    case TokenKind::Text:
        return Value::text(readChars(p, i, t.payload.length));
    case TokenKind::Boolean:
        return Value::boolean(t.payload.code != 0);
    case TokenKind::Error:
        return Value::error(static_cast<ErrorCode>(t.payload.code));
    default:
        return Value::error(ErrorCode::Ref);
    }
}

Value numberResult(double n) {
    if (!std::isfinite(n))
        return Value::error(ErrorCode::Num);
    return Value::number(n);
}

Value arithmetic(Op op, const Value& a, const Value& b, DateSystem system) {
    auto x = toNumber(a, system);
    if (auto* e = std::get_if<ErrorCode>(&x))
        return Value::error(*e);
    auto y = toNumber(b, system);
    if (auto* e = std::get_if<ErrorCode>(&y))
        return Value::error(*e);
    double l = std::get<double>(x), r = std::get<double>(y);
    switch (op) {
    case Op::Add:
        return numberResult(l + r);
    case Op::Subtract:
        return numberResult(l - r);
    case Op::Multiply:
        return numberResult(l * r);
    case Op::Divide:
        return r == 0 ? Value::error(ErrorCode::Div0) : numberResult(l / r);
    default:
        if (l == 0 && r == 0)
            return Value::error(ErrorCode::Num);
        if (l == 0 && r < 0)
            return Value::error(ErrorCode::Div0);
        return numberResult(std::pow(l, r));
    }
}

Value binary(Op op, const Value& a, const Value& b, DateSystem system) {
    if (a.isError())
        return a;
    if (b.isError())
        return b;
    switch (op) {
    case Op::Concat:
        return Value::text(toText(a) + toText(b));
    case Op::Equal:
        return Value::boolean(compareValues(a, b) == 0);
    case Op::NotEqual:
        return Value::boolean(compareValues(a, b) != 0);
    case Op::Less:
        return Value::boolean(compareValues(a, b) < 0);
    case Op::LessEqual:
        return Value::boolean(compareValues(a, b) <= 0);
    case Op::Greater:
        return Value::boolean(compareValues(a, b) > 0);
    case Op::GreaterEqual:
        return Value::boolean(compareValues(a, b) >= 0);
    default:
        return arithmetic(op, a, b, system);
    }
}

Value unary(Op op, const Value& a, DateSystem system) {
    if (op == Op::Plus)
        return a;
    auto x = toNumber(a, system);
    if (auto* e = std::get_if<ErrorCode>(&x))
        return Value::error(*e);
    double n = std::get<double>(x);
    return Value::number(op == Op::Negate ? -n : n / 100);
}

// An array constant whose values follow the token at `i`; `i` is left on the last of them.
ArrayOperand arrayConstant(std::span<const Token> p, std::size_t& i) {
    const ArrayBits& bits = p[i].payload.array;
    auto a = std::make_shared<ArrayValue>();
    a->rows = bits.rows;
    a->columns = bits.columns;
    a->values.reserve(static_cast<std::size_t>(bits.rows) * bits.columns);
    std::size_t last = i + bits.tokens;
    while (i < last) {
        ++i;
        a->values.push_back(constant(p, i));
    }
    a->values.resize(static_cast<std::size_t>(a->rows) * static_cast<std::size_t>(a->columns),
                     Value::error(ErrorCode::NA));
    return a;
}

// An operation over operands of which some spread (operands.h): one result for every place of the
// largest of them, computed by `at` from the elements there.
template <class At> ArrayOperand elementwise(std::span<const Operand> operands, At at) {
    auto out = std::make_shared<ArrayValue>();
    out->rows = out->columns = 1;
    for (const Operand& o : operands) {
        Shape s = shapeOf(o);
        out->rows = std::max(out->rows, s.rows);
        out->columns = std::max(out->columns, s.columns);
    }
    out->values.reserve(static_cast<std::size_t>(out->rows) * static_cast<std::size_t>(out->columns));
    for (int r = 0; r < out->rows; ++r)
        for (int c = 0; c < out->columns; ++c)
            out->values.push_back(at(r, c));
    return out;
}

// What a call gave: a reference or an array it passed on, else its value.
Operand callResult(Call& call, Value result) {
    if (call.referenceResult)
        return *call.referenceResult;
    if (call.arrayResult)
        return call.arrayResult;
    // A function's number beyond the range of a double is #NUM!, as an operator's is.
    if (result.isNumber() && !std::isfinite(result.asNumber()))
        return Value::error(ErrorCode::Num);
    return result;
}

} // namespace

namespace {

// The cells of a reference token; a defined name's relative parts are offsets from the cell whose
// formula uses it, wrapping round the sheet's edges as Excel's do.
Area areaOf(const Token& t, const Frame& frame, bool relative) {
    const AreaBits& b = t.payload.area;
    Area a = t.kind == TokenKind::Ref ? Area::cell(b.top, b.left) : Area{b.top, b.left, b.bottom, b.right};
    if (!relative)
        return a;
    auto row = [&](int r, std::uint8_t absolute) {
        return (t.flags & (absolute | kWholeColumns)) ? r : (r + frame.row) % kRowCount;
    };
    auto col = [&](int c, std::uint8_t absolute) {
        return (t.flags & (absolute | kWholeRows)) ? c : (c + frame.col) % kColumnCount;
    };
    a = {row(a.top, kTopAbsolute), col(a.left, kLeftAbsolute), row(a.bottom, kBottomAbsolute),
         col(a.right, kRightAbsolute)};
    if (a.top > a.bottom)
        std::swap(a.top, a.bottom);
    if (a.left > a.right)
        std::swap(a.left, a.right);
    return a;
}

} // namespace

bool Interpreter::pushNameReference(std::span<const Token> d, const Frame& frame, EvalContext& context) {
    std::size_t base = stack_.size();
    for (const Token& t : d) {
        if (t.kind == TokenKind::Ref || t.kind == TokenKind::Area) {
            if (!pushReference(t, frame, context, true)) {
                stack_.resize(base);
                return false;
            }
        } else if (t.kind == TokenKind::RefError) {
            stack_.emplace_back(Value::error(ErrorCode::Ref));
        } else if (t.kind == TokenKind::Binary) {
            if (stack_.size() < base + 2) {
                stack_.resize(base);
                stack_.emplace_back(Value::error(ErrorCode::Ref));
                return true;
            }
            Operand joined =
                referenceOperation(static_cast<Op>(t.payload.code), stack_[stack_.size() - 2], stack_.back());
            if (const RefOperand* r = std::get_if<RefOperand>(&joined))
                if (!context.ready(r->sheet, r->area)) {
                    stack_.resize(base);
                    return false;
                }
            stack_.resize(stack_.size() - 2);
            stack_.push_back(std::move(joined));
        }
    }
    if (stack_.size() != base + 1) {
        stack_.resize(base);
        stack_.emplace_back(Value::error(ErrorCode::Ref));
    }
    return true;
}

bool Interpreter::pushReference(const Token& t, const Frame& frame, EvalContext& context, bool relative) {
    SheetId sheet = t.sheet == kOwnSheet ? frame.sheet : t.sheet;
    if (!context.sheetExists(sheet)) {
        stack_.emplace_back(Value::error(ErrorCode::Ref));
        return true;
    }
    Area area = areaOf(t, frame, relative);
    if (!context.ready(sheet, area))
        return false;
    stack_.emplace_back(RefOperand{sheet, area});
    return true;
}

std::optional<Value> Interpreter::run(Frame& frame, EvalContext& context) {
    if (!frame.started) {
        frame.base = stack_.size();
        frame.started = true;
    }
    std::span<const Token> p = frame.program;
    CallSite site{context, frame.sheet, frame.row, frame.col};
    auto pop = [this] {
        Operand o = std::move(stack_.back());
        stack_.pop_back();
        return o;
    };
    while (frame.pc < p.size()) {
        const Token& t = p[frame.pc];
        switch (t.kind) {
        case TokenKind::Number:
            stack_.emplace_back(Value::number(t.payload.number));
            break;
        case TokenKind::Text:
            stack_.emplace_back(Value::text(readChars(p, frame.pc, t.payload.length)));
            break;
        case TokenKind::Chars:
        case TokenKind::Paren:
            break;
        case TokenKind::Boolean:
            stack_.emplace_back(Value::boolean(t.payload.code != 0));
            break;
        case TokenKind::Error:
            stack_.emplace_back(Value::error(static_cast<ErrorCode>(t.payload.code)));
            break;
        case TokenKind::Missing:
            stack_.emplace_back(Value());
            break;
        case TokenKind::RefError:
            stack_.emplace_back(Value::error(ErrorCode::Ref));
            break;
        case TokenKind::Ref:
        case TokenKind::Area:
            if (!pushReference(t, frame, context))
                return std::nullopt; // run again at this token once the cells are current
            break;
        case TokenKind::Function: {
            const Function& f = function(t.payload.call.id);
            std::size_t argc = t.payload.call.argc;
            std::span<Operand> args(stack_.data() + (stack_.size() - argc), argc);
            if (f.cellsRead)
                if (auto extra = f.cellsRead(args, site)) {
                    if (!context.ready(extra->sheet, extra->area))
                        return std::nullopt; // run again at this call once the cells are current
                }
            // Arrays where it takes single values: called once for each element (not for functions
            // that read further cells, which are named for the arguments as given).
            bool lifted = false;
            for (std::size_t i = 0; i < argc && !f.cellsRead; ++i)
                lifted = lifted || (f.takesValue(i) && spreads(args[i], frame.arrayFormula));
            if (lifted) {
                std::vector<Operand> given(args.begin(), args.end());
                ArrayOperand out = elementwise(given, [&](int r, int c) {
                    for (std::size_t i = 0; i < argc; ++i)
                        args[i] = f.takesValue(i) ? Operand(elementOf(given[i], r, c, site)) : given[i];
                    Call call{args, site};
                    Value v = f.compute(call);
                    return elementOf(callResult(call, std::move(v)), r, c, site);
                });
                stack_.resize(stack_.size() - argc);
                stack_.emplace_back(std::move(out));
                break;
            }
            bool union_ = false;
            for (std::size_t i = 0; i < argc; ++i) {
                if (f.takesValue(i) && !std::holds_alternative<Value>(args[i]))
                    args[i] = scalarOf(args[i], site);
                else if (const RefOperand* r = std::get_if<RefOperand>(&args[i]))
                    union_ = union_ || !r->more.empty();
            }
            Call call{args, site};
            Value result = union_ && !f.takesUnions ? Value::error(ErrorCode::Value) : f.compute(call);
            // A reference passed on is current: within an argument, or what cellsRead named.
            Operand out = callResult(call, std::move(result));
            stack_.resize(stack_.size() - argc);
            stack_.push_back(std::move(out));
            break;
        }
        case TokenKind::Name: {
            std::size_t last = frame.pc;
            std::u16string name = readChars(p, last, t.payload.call.id);
            std::span<const Token> d;
            if (!(t.flags & kUnknownCall))
                d = context.definedName(name, frame.sheet);
            if (d.empty()) {
                if (t.flags & kUnknownCall)
                    stack_.resize(stack_.size() - t.payload.call.argc);
                stack_.emplace_back(Value::error(ErrorCode::Name));
            } else if (isReferenceExpression(d)) {
                if (!pushNameReference(d, frame, context))
                    return std::nullopt; // run again at this name once the cells are current
            } else {
                std::size_t i = 0;
                stack_.emplace_back(constant(d, i));
            }
            frame.pc = last;
            break;
        }
        case TokenKind::Unary: {
            Op op = static_cast<Op>(t.payload.code);
            Operand a = pop();
            if (spreads(a, frame.arrayFormula)) {
                stack_.emplace_back(elementwise(std::span(&a, 1), [&](int r, int c) {
                    return unary(op, elementOf(a, r, c, site), context.dateSystem());
                }));
                break;
            }
            stack_.emplace_back(unary(op, scalarOf(a, site), context.dateSystem()));
            break;
        }
        case TokenKind::Binary: {
            Op op = static_cast<Op>(t.payload.code);
            if (isReferenceOperator(op)) {
                Operand joined = referenceOperation(op, stack_[stack_.size() - 2], stack_.back());
                // A range may take in cells neither operand held.
                if (const RefOperand* r = std::get_if<RefOperand>(&joined))
                    if (!context.ready(r->sheet, r->area))
                        return std::nullopt; // run again at this operator once the cells are current
                stack_.resize(stack_.size() - 2);
                stack_.push_back(std::move(joined));
                break;
            }
            Operand both[2];
            both[1] = pop();
            both[0] = pop();
            if (spreads(both[0], frame.arrayFormula) || spreads(both[1], frame.arrayFormula)) {
                stack_.emplace_back(elementwise(both, [&](int r, int c) {
                    return binary(op, elementOf(both[0], r, c, site), elementOf(both[1], r, c, site),
                                  context.dateSystem());
                }));
                break;
            }
            stack_.emplace_back(
                binary(op, scalarOf(both[0], site), scalarOf(both[1], site), context.dateSystem()));
            break;
        }
        case TokenKind::Array:
            stack_.emplace_back(arrayConstant(p, frame.pc));
            break;
        }
        ++frame.pc;
    }
    Value result;
    if (stack_.size() > frame.base)
        result = frame.arrayFormula ? elementOf(stack_.back(), frame.arrayRow, frame.arrayCol, site)
                                    : scalarOf(stack_.back(), site);
    stack_.resize(frame.base);
    if (result.isEmpty())
        return Value::number(0); // a formula showing an empty cell shows 0
    return result;
}

} // namespace engine::formula
