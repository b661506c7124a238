#include "engine/formula/functions.h"
#include "engine/xls/bytes.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/ptg.h"
#include "engine/xls/unicode_string.h"
#include "platform/text/utf.h"

#include <cmath>
#include <optional>
#include <string>

namespace engine::xls {

using formula::Op;
using formula::TokenKind;

namespace {

uint8_t classed(uint8_t base, OperandClass c) {
    return uint8_t(base + (c == OperandClass::Value ? 0x20 : c == OperandClass::Array ? 0x40 : 0));
}

// A corner's column with the flags of its relative parts on top.
uint16_t columnBits(int col, bool colAbsolute, bool rowAbsolute) {
    return uint16_t((col & 0xFF) | (colAbsolute ? 0 : 0x4000) | (rowAbsolute ? 0 : 0x8000));
}

std::string asciiUpper(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c > 0x7F)
            return {};
        out.push_back(char(c >= 'a' && c <= 'z' ? c - 32 : c));
    }
    return out;
}

uint8_t binaryToken(Op op) {
    switch (op) {
    case Op::Add:
        return ptg::Add;
    case Op::Subtract:
        return ptg::Sub;
    case Op::Multiply:
        return ptg::Mul;
    case Op::Divide:
        return ptg::Div;
    case Op::Power:
        return ptg::Power;
    case Op::Concat:
        return ptg::Concat;
    case Op::Equal:
        return ptg::Eq;
    case Op::NotEqual:
        return ptg::Ne;
    case Op::Less:
        return ptg::Lt;
    case Op::LessEqual:
        return ptg::Le;
    case Op::Greater:
        return ptg::Gt;
    case Op::GreaterEqual:
        return ptg::Ge;
    case Op::Union:
        return ptg::Union;
    case Op::Intersect:
        return ptg::Isect;
    case Op::Range:
        return ptg::Range;
    default:
        throw FormatError("a formula holds an operator that cannot be stored");
    }
}

// Writes the compiled tokens of a formula as BIFF8 tokens. Both are postfix, but a token's operand
// class depends on the call it is an argument of, IF takes jumps between its arguments and an add-in
// call names its function before the arguments; so the tokens are first read into items (an operand or
// operator, with the items of its arguments), which are then written from the root down.
class Encoder {
public:
    Encoder(const FormulaEncoder& e, std::span<const formula::Token> p, std::vector<uint8_t>& out,
            std::optional<CellAddress> origin, std::vector<uint8_t>* arrays, bool name = false)
        : e_(e), p_(p), s_(e.scratch_), out_(out), origin_(origin), arrays_(arrays), name_(name) {
        s_.items.clear();
        s_.firstArg.clear();
        s_.args.clear();
        s_.pending.clear();
        for (size_t i = 0; i < p.size(); ++i) {
            const formula::Token& t = p[i];
            size_t argc = 0;
            switch (t.kind) {
            case TokenKind::Chars:
                continue;
            case TokenKind::Array:
                // Its values are written by the item; the tokens holding them are no items.
                s_.firstArg.push_back(uint32_t(s_.args.size()));
                s_.pending.push_back(uint32_t(s_.items.size()));
                s_.items.push_back(uint32_t(i));
                i += t.payload.array.tokens;
                if (i >= p.size())
                    throw FormatError("a formula's compiled form is malformed");
                continue;
            case TokenKind::Function:
                argc = t.payload.call.argc;
                break;
            case TokenKind::Name:
                argc = t.flags & formula::kUnknownCall ? t.payload.call.argc : 0;
                break;
            case TokenKind::Unary:
            case TokenKind::Paren:
                argc = 1;
                break;
            case TokenKind::Binary:
                argc = 2;
                break;
            default:
                break;
            }
            if (s_.pending.size() < argc)
                throw FormatError("a formula's compiled form is malformed");
            s_.firstArg.push_back(uint32_t(s_.args.size()));
            s_.args.insert(s_.args.end(), s_.pending.end() - std::ptrdiff_t(argc), s_.pending.end());
            s_.pending.resize(s_.pending.size() - argc);
            s_.pending.push_back(uint32_t(s_.items.size()));
            s_.items.push_back(uint32_t(i));
        }
        if (s_.pending.size() != 1)
            throw FormatError("a formula's compiled form is malformed");
    }

    void run(OperandClass cls) { item(s_.pending.back(), cls); }

private:
    using Item = uint32_t;

    const formula::Token& token(Item n) const { return p_[s_.items[n]]; }
    size_t argc(Item n) const {
        return (n + 1 < s_.firstArg.size() ? s_.firstArg[n + 1] : s_.args.size()) - s_.firstArg[n];
    }
    Item arg(Item n, size_t i) const { return s_.args[s_.firstArg[n] + i]; }
    // The name of a Name token, or the characters of a Text token.
    std::u16string chars(Item n) const {
        size_t i = s_.items[n];
        const formula::Token& t = p_[i];
        return formula::readChars(p_, i, t.kind == TokenKind::Text ? t.payload.length : t.payload.call.id);
    }

    void item(Item n, OperandClass cls) {
        const formula::Token& t = token(n);
        switch (t.kind) {
        case TokenKind::Number: {
            double number = t.payload.number;
            if (number >= 0 && number <= 65535 && number == std::floor(number)) {
                putU8(out_, ptg::Int);
                putU16(out_, uint16_t(number));
            } else {
                putU8(out_, ptg::Num);
                putF64(out_, number);
            }
            return;
        }
        case TokenKind::Text: {
            std::u16string text = chars(n);
            if (text.size() > 255)
                throw FormatError("a formula holds a text of more than 255 characters");
            putU8(out_, ptg::Str);
            putUnicode8(out_, text);
            return;
        }
        case TokenKind::Boolean:
            putU8(out_, ptg::Bool);
            putU8(out_, t.payload.code ? 1 : 0);
            return;
        case TokenKind::Error:
            return error(static_cast<ErrorCode>(t.payload.code));
        case TokenKind::RefError:
            return error(ErrorCode::Ref);
        case TokenKind::Missing:
            putU8(out_, ptg::MissArg);
            return;
        case TokenKind::Ref:
        case TokenKind::Area:
            return reference(t, cls);
        case TokenKind::Function:
            return function(n, formula::function(t.payload.call.id).name, biffFunctionOf(t.payload.call.id),
                            cls);
        case TokenKind::Name: {
            std::u16string name = chars(n);
            if (t.flags & formula::kUnknownCall)
                return function(n, name, biffFunctionByName(asciiUpper(name)), cls);
            if (auto index = e_.definedName ? e_.definedName(name) : std::nullopt) {
                putU8(out_, classed(ptg::Name, cls));
                putU16(out_, *index);
                putU16(out_, 0);
                return;
            }
            // A name that names nothing: stored as an add-in name, which every reader shows as #NAME?.
            if (!e_.addInFunction)
                throw FormatError("a formula uses the name " + text::toUtf8(name) +
                                  ", which this program cannot store");
            auto [x, index] = e_.addInFunction(name);
            putU8(out_, classed(ptg::NameX, cls));
            putU16(out_, x);
            putU16(out_, index);
            putU16(out_, 0);
            return;
        }
        case TokenKind::Unary: {
            item(arg(n, 0), OperandClass::Value);
            auto op = static_cast<Op>(t.payload.code);
            putU8(out_, op == Op::Negate ? ptg::Uminus : op == Op::Plus ? ptg::Uplus : ptg::Percent);
            return;
        }
        case TokenKind::Binary: {
            auto op = static_cast<Op>(t.payload.code);
            if (formula::isReferenceOperator(op))
                return referenceOperation(n, op, cls);
            item(arg(n, 0), OperandClass::Value);
            item(arg(n, 1), OperandClass::Value);
            putU8(out_, binaryToken(op));
            return;
        }
        case TokenKind::Paren:
            item(arg(n, 0), cls);
            putU8(out_, ptg::Paren);
            return;
        case TokenKind::Chars:
            return;
        case TokenKind::Array:
            return array(n, cls);
        }
    }

    // tArray holds no values itself: they follow the whole token stream, one array after another.
    void array(Item n, OperandClass cls) {
        if (!arrays_)
            throw FormatError("an array constant cannot be stored in this kind of formula");
        putU8(out_, classed(ptg::Array, cls == OperandClass::Reference ? OperandClass::Array : cls));
        out_.insert(out_.end(), 7, 0);
        size_t i = s_.items[n];
        const formula::ArrayBits& a = p_[i].payload.array;
        std::vector<uint8_t>& o = *arrays_;
        putU8(o, uint8_t(a.columns - 1));
        putU16(o, uint16_t(a.rows - 1));
        size_t last = i + a.tokens;
        while (i < last) {
            const formula::Token& v = p_[++i];
            switch (v.kind) {
            case TokenKind::Number:
                putU8(o, 0x01);
                putF64(o, v.payload.number);
                break;
            case TokenKind::Text: {
                std::u16string text = formula::readChars(p_, i, v.payload.length);
                if (text.size() > 255)
                    throw FormatError("a formula holds a text of more than 255 characters");
                putU8(o, 0x02);
                putUnicode16(o, text);
                break;
            }
            case TokenKind::Boolean:
            case TokenKind::Error:
                putU8(o, v.kind == TokenKind::Boolean ? 0x04 : 0x10);
                putU8(o, v.kind == TokenKind::Boolean
                             ? v.payload.code
                             : ptg::errorCode(static_cast<ErrorCode>(v.payload.code)));
                o.insert(o.end(), 7, 0);
                break;
            default:
                throw FormatError("a formula's compiled form is malformed");
            }
        }
    }

    void error(ErrorCode code) {
        putU8(out_, ptg::Err);
        putU8(out_, ptg::errorCode(code));
    }

    // tRef, tArea and their 3-D forms; a reference to a sheet that is gone is written as #REF!.
    void reference(const formula::Token& t, OperandClass cls) {
        std::optional<uint16_t> x;
        if (t.sheet != formula::kOwnSheet) {
            x = e_.sheetIndex ? e_.sheetIndex(t.sheet) : std::nullopt;
            if (!x)
                return error(ErrorCode::Ref);
        }
        const formula::AreaBits& a = t.payload.area;
        bool topAbs = t.flags & formula::kTopAbsolute, leftAbs = t.flags & formula::kLeftAbsolute;
        // Relative to an origin, the relative parts are offsets from it (tRefN and tAreaN).
        const bool offsets = origin_ && !x;
        auto row = [&](int r, bool absolute) {
            return uint16_t(offsets && !absolute ? r - origin_->row : r);
        };
        auto col = [&](int c, bool absolute) {
            return offsets && !absolute ? c - origin_->col : c;
        };
        if (t.kind == TokenKind::Ref) {
            putU8(out_, classed(x ? ptg::Ref3d : offsets ? ptg::RefN : ptg::Ref, cls));
            if (x)
                putU16(out_, *x);
            putU16(out_, row(a.top, topAbs));
            putU16(out_, columnBits(col(a.left, leftAbs), leftAbs, topAbs));
            return;
        }
        bool bottomAbs = t.flags & formula::kBottomAbsolute, rightAbs = t.flags & formula::kRightAbsolute;
        // Whole columns are rows 0 to the last, relative (absolute where offsets are written, so that
        // they stay whole); whole rows likewise columns.
        if (t.flags & formula::kWholeColumns)
            topAbs = bottomAbs = offsets || name_;
        if (t.flags & formula::kWholeRows)
            leftAbs = rightAbs = offsets || name_;
        putU8(out_, classed(x ? ptg::Area3d : offsets ? ptg::AreaN : ptg::Area, cls));
        if (x)
            putU16(out_, *x);
        putU16(out_, row(a.top, topAbs));
        putU16(out_, row(a.bottom, bottomAbs));
        putU16(out_, columnBits(col(a.left, leftAbs), leftAbs, topAbs));
        putU16(out_, columnBits(col(a.right, rightAbs), rightAbs, bottomAbs));
    }

    // A union, intersection or range: its operands are references. Excel announces the outermost such
    // expression with a tMemFunc giving its length, so that a reader can skip computing it.
    void referenceOperation(Item n, Op op, OperandClass cls) {
        const bool outermost = !insideReferenceOperation_;
        size_t memAt = out_.size();
        if (outermost) {
            putU8(out_, classed(ptg::MemFunc, cls));
            putU16(out_, 0);
        }
        insideReferenceOperation_ = true;
        item(arg(n, 0), OperandClass::Reference);
        item(arg(n, 1), OperandClass::Reference);
        putU8(out_, binaryToken(op));
        if (outermost) {
            insideReferenceOperation_ = false;
            patchU16(out_, memAt + 1, uint16_t(out_.size() - memAt - 3));
        }
    }

    void attr(uint8_t options, uint16_t data) {
        putU8(out_, ptg::Attr);
        putU8(out_, options);
        putU16(out_, data);
    }

    // A call: of a function in Excel's table by its index, of any other as an add-in by name.
    void function(Item n, std::u16string_view name, const BiffFunction* f, OperandClass cls) {
        if (!f)
            return external(n, name, cls);
        size_t count = argc(n);
        if (count < f->minArgs || count > f->maxArgs)
            throw FormatError("a formula calls " + std::string(f->name) +
                              " with a wrong number of arguments");
        OperandClass self = cls == OperandClass::Array         ? OperandClass::Array
                            : f->result == OperandClass::Value ? OperandClass::Value
                                                               : cls;
        // A reference-returning function used for its value passes that need on to its reference
        // arguments, as Excel does.
        auto argClass = [&](size_t i) {
            OperandClass p = f->param(i);
            if (p == OperandClass::Reference && f->result == OperandClass::Reference &&
                self == OperandClass::Value)
                return OperandClass::Value;
            return p;
        };

        if (f->index == 1)
            return conditional(n, *f, self, argClass);
        for (size_t i = 0; i < count; ++i)
            item(arg(n, i), argClass(i));
        if (f->index == 4 && count == 1)
            return attr(ptg::AttrSum, 0); // the optimised SUM Excel writes for one argument
        if (f->fixedArity()) {
            putU8(out_, classed(ptg::Func, self));
            putU16(out_, f->index);
        } else {
            putU8(out_, classed(ptg::FuncVar, self));
            putU8(out_, uint8_t(count));
            putU16(out_, f->index);
        }
    }

    // IF with the jumps Excel evaluates it by: tAttrIf skips the true branch when the condition fails,
    // each tAttrSkip jumps to the end of the call.
    template <class ArgClass>
    void conditional(Item n, const BiffFunction& f, OperandClass self, ArgClass argClass) {
        size_t count = argc(n);
        item(arg(n, 0), argClass(0));
        size_t ifAt = out_.size();
        attr(ptg::AttrIf, 0);
        item(arg(n, 1), argClass(1));
        size_t skip1 = out_.size();
        attr(ptg::AttrSkip, 0);
        patchU16(out_, ifAt + 2, uint16_t(out_.size() - ifAt - 4));
        size_t skip2 = 0;
        if (count == 3) {
            item(arg(n, 2), argClass(2));
            skip2 = out_.size();
            attr(ptg::AttrSkip, 0);
        }
        putU8(out_, classed(ptg::FuncVar, self));
        putU8(out_, uint8_t(count));
        putU16(out_, f.index);
        patchU16(out_, skip1 + 2, uint16_t(out_.size() - skip1 - 4 - 1));
        if (skip2)
            patchU16(out_, skip2 + 2, uint16_t(out_.size() - skip2 - 4 - 1));
    }

    void external(Item n, std::u16string_view name, OperandClass cls) {
        if (!e_.addInFunction)
            throw FormatError("a formula calls a function this program cannot store");
        auto [x, index] = e_.addInFunction(std::u16string(name));
        putU8(out_, ptg::NameX);
        putU16(out_, x);
        putU16(out_, index);
        putU16(out_, 0);
        size_t count = argc(n);
        for (size_t i = 0; i < count; ++i)
            item(arg(n, i), OperandClass::Reference);
        if (count + 1 > 127)
            throw FormatError("a formula calls a function with too many arguments");
        putU8(out_, classed(ptg::FuncVar, cls == OperandClass::Array ? cls : OperandClass::Value));
        putU8(out_, uint8_t(count + 1));
        putU16(out_, ptg::ExternalFunction);
    }

    const FormulaEncoder& e_;
    std::span<const formula::Token> p_;
    FormulaEncoder::Scratch& s_;
    std::vector<uint8_t>& out_;
    std::optional<CellAddress> origin_;
    std::vector<uint8_t>* arrays_;
    // In a defined name relative parts are offsets from the cell using it: whole columns and rows are
    // written absolute there, so that they stay whole.
    bool name_;
    bool insideReferenceOperation_ = false;
};

} // namespace

void FormulaEncoder::encode(std::span<const formula::Token> program, std::vector<uint8_t>& out,
                            OperandClass rootClass, std::optional<CellAddress> origin) const {
    Encoder(*this, program, out, origin, nullptr).run(rootClass);
}

void FormulaEncoder::encodeCell(std::span<const formula::Token> program, std::vector<uint8_t>& out,
                                std::vector<uint8_t>& arrays, OperandClass rootClass) const {
    Encoder(*this, program, out, std::nullopt, &arrays).run(rootClass);
}

void FormulaEncoder::encodeName(std::span<const formula::Token> program, std::vector<uint8_t>& out) const {
    Encoder(*this, program, out, std::nullopt, nullptr, true).run(OperandClass::Reference);
}

} // namespace engine::xls
