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

using formula::CellRef;
using formula::Node;
using formula::NodeKind;
using formula::Op;
using formula::TokenKind;

namespace {

uint8_t classed(uint8_t base, OperandClass c) {
    return uint8_t(base + (c == OperandClass::Value ? 0x20 : c == OperandClass::Array ? 0x40 : 0));
}

uint16_t columnBits(const CellRef& c) {
    return uint16_t((c.col & 0xFF) | (c.colAbsolute ? 0 : 0x4000) | (c.rowAbsolute ? 0 : 0x8000));
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
    default:
        throw FormatError("a formula holds an operator that cannot be stored");
    }
}

// The formula as a syntax tree.
class TreeSource {
public:
    using Item = const Node*;

    NodeKind kind(Item n) const { return n->kind; }
    double number(Item n) const { return n->number; }
    // The literal of a Text, the name of a Name or Function.
    std::u16string text(Item n) const { return n->text; }
    bool boolean(Item n) const { return n->boolean; }
    ErrorCode error(Item n) const { return n->error; }
    const CellRef& first(Item n) const { return n->first; }
    const CellRef& last(Item n) const { return n->last; }
    const std::u16string* sheet(Item n) const { return n->sheet ? &*n->sheet : nullptr; }
    Op op(Item n) const { return n->op; }
    size_t argc(Item n) const { return n->args.size(); }
    Item arg(Item n, size_t i) const { return &n->args.at(i); }
    const BiffFunction* builtIn(Item n) const { return biffFunctionByName(asciiUpper(n->text)); }
};

// The compiled tokens of a cell, read as the tree formula::decompile would make of them without
// building it: each operand or operator is an item, its arguments the items before it.
class ProgramSource {
public:
    using Item = uint32_t; // index into the items

    ProgramSource(std::span<const formula::Token> p, const formula::SheetNames* sheets,
                  FormulaEncoder::Scratch& s)
        : p_(p), sheets_(sheets), s_(s) {
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

    Item root() const { return s_.pending.back(); }

    NodeKind kind(Item n) const {
        const formula::Token& t = token(n);
        switch (t.kind) {
        case TokenKind::Number:
            return NodeKind::Number;
        case TokenKind::Text:
            return NodeKind::Text;
        case TokenKind::Boolean:
            return NodeKind::Boolean;
        case TokenKind::Error:
        case TokenKind::RefError:
            return NodeKind::Error;
        case TokenKind::Ref:
        case TokenKind::Area:
            if (t.sheet != formula::kOwnSheet && !sheetName(t))
                return NodeKind::Error; // its sheet is gone: #REF!
            if (t.kind == TokenKind::Ref)
                return NodeKind::Reference;
            return t.flags & formula::kWholeColumns ? NodeKind::Columns
                   : t.flags & formula::kWholeRows  ? NodeKind::Rows
                                                    : NodeKind::Area;
        case TokenKind::Function:
            return NodeKind::Function;
        case TokenKind::Name:
            return t.flags & formula::kUnknownCall ? NodeKind::Function : NodeKind::Name;
        case TokenKind::Unary:
            return NodeKind::Unary;
        case TokenKind::Binary:
            return NodeKind::Binary;
        case TokenKind::Paren:
            return NodeKind::Paren;
        case TokenKind::Missing:
        case TokenKind::Chars:
            break;
        }
        return NodeKind::Missing;
    }
    double number(Item n) const { return token(n).payload.number; }
    std::u16string text(Item n) const {
        size_t i = s_.items[n];
        const formula::Token& t = p_[i];
        if (t.kind == TokenKind::Function)
            return std::u16string(formula::function(t.payload.call.id).name);
        return formula::readChars(p_, i, t.kind == TokenKind::Text ? t.payload.length : t.payload.call.id);
    }
    bool boolean(Item n) const { return token(n).payload.code != 0; }
    ErrorCode error(Item n) const {
        const formula::Token& t = token(n);
        return t.kind == TokenKind::Error ? static_cast<ErrorCode>(t.payload.code) : ErrorCode::Ref;
    }
    CellRef first(Item n) const {
        const formula::Token& t = token(n);
        return {t.payload.area.top, t.payload.area.left, (t.flags & formula::kTopAbsolute) != 0,
                (t.flags & formula::kLeftAbsolute) != 0};
    }
    CellRef last(Item n) const {
        const formula::Token& t = token(n);
        return {t.payload.area.bottom, t.payload.area.right, (t.flags & formula::kBottomAbsolute) != 0,
                (t.flags & formula::kRightAbsolute) != 0};
    }
    const std::u16string* sheet(Item n) const {
        const formula::Token& t = token(n);
        if (t.sheet == formula::kOwnSheet)
            return nullptr;
        s_.sheetName = sheetName(t).value_or(std::u16string());
        return &s_.sheetName;
    }
    Op op(Item n) const { return static_cast<Op>(token(n).payload.code); }
    size_t argc(Item n) const {
        return (n + 1 < s_.firstArg.size() ? s_.firstArg[n + 1] : s_.args.size()) - s_.firstArg[n];
    }
    Item arg(Item n, size_t i) const { return s_.args[s_.firstArg[n] + i]; }
    const BiffFunction* builtIn(Item n) const {
        const formula::Token& t = token(n);
        if (t.kind != TokenKind::Function)
            return biffFunctionByName(asciiUpper(text(n)));
        // The engine's functions are few and called in every formula: looked up by name once each.
        uint16_t id = t.payload.call.id;
        if (id >= s_.builtIns.size())
            s_.builtIns.resize(id + 1, std::nullopt);
        if (!s_.builtIns[id])
            s_.builtIns[id] = biffFunctionByName(asciiUpper(formula::function(id).name));
        return *s_.builtIns[id];
    }

private:
    const formula::Token& token(Item n) const { return p_[s_.items[n]]; }
    std::optional<std::u16string> sheetName(const formula::Token& t) const {
        return sheets_ && sheets_->name ? sheets_->name(t.sheet) : std::nullopt;
    }

    std::span<const formula::Token> p_;
    const formula::SheetNames* sheets_;
    FormulaEncoder::Scratch& s_;
};

template <class Source> class Encoder {
public:
    using Item = typename Source::Item;

    Encoder(const FormulaEncoder& e, const Source& src, std::vector<uint8_t>& out)
        : e_(e), src_(src), out_(out) {}

    void node(Item n, OperandClass cls) {
        switch (src_.kind(n)) {
        case NodeKind::Number: {
            double number = src_.number(n);
            if (number >= 0 && number <= 65535 && number == std::floor(number)) {
                putU8(out_, ptg::Int);
                putU16(out_, uint16_t(number));
            } else {
                putU8(out_, ptg::Num);
                putF64(out_, number);
            }
            return;
        }
        case NodeKind::Text: {
            std::u16string text = src_.text(n);
            if (text.size() > 255)
                throw FormatError("a formula holds a text of more than 255 characters");
            putU8(out_, ptg::Str);
            putUnicode8(out_, text);
            return;
        }
        case NodeKind::Boolean:
            putU8(out_, ptg::Bool);
            putU8(out_, src_.boolean(n) ? 1 : 0);
            return;
        case NodeKind::Error:
            putU8(out_, ptg::Err);
            putU8(out_, ptg::errorCode(src_.error(n)));
            return;
        case NodeKind::Missing:
            putU8(out_, ptg::MissArg);
            return;
        case NodeKind::Reference:
            return reference(n, cls);
        case NodeKind::Area:
            return area(n, src_.first(n), src_.last(n), cls);
        case NodeKind::Columns: {
            CellRef a = src_.first(n), b = src_.last(n);
            a.row = 0;
            b.row = engine::kLastRow;
            a.rowAbsolute = b.rowAbsolute = false;
            return area(n, a, b, cls);
        }
        case NodeKind::Rows: {
            CellRef a = src_.first(n), b = src_.last(n);
            a.col = 0;
            b.col = engine::kLastColumn;
            a.colAbsolute = b.colAbsolute = false;
            return area(n, a, b, cls);
        }
        case NodeKind::Function:
            return function(n, cls);
        case NodeKind::Name: {
            // A name that names nothing: stored as an add-in name, which every reader shows as #NAME?.
            std::u16string name = src_.text(n);
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
        case NodeKind::Unary: {
            node(src_.arg(n, 0), OperandClass::Value);
            Op op = src_.op(n);
            putU8(out_, op == Op::Negate ? ptg::Uminus : op == Op::Plus ? ptg::Uplus : ptg::Percent);
            return;
        }
        case NodeKind::Binary:
            node(src_.arg(n, 0), OperandClass::Value);
            node(src_.arg(n, 1), OperandClass::Value);
            putU8(out_, binaryToken(src_.op(n)));
            return;
        case NodeKind::Paren:
            node(src_.arg(n, 0), cls);
            putU8(out_, ptg::Paren);
            return;
        }
    }

private:
    std::optional<uint16_t> ixti(Item n) {
        const std::u16string* sheet = src_.sheet(n);
        if (!sheet)
            return std::nullopt;
        auto i = e_.sheetIndex ? e_.sheetIndex(*sheet) : std::nullopt;
        if (!i)
            throw FormatError("a formula refers to a sheet that does not exist");
        return i;
    }

    void reference(Item n, OperandClass cls) {
        auto x = ixti(n);
        CellRef c = src_.first(n);
        putU8(out_, classed(x ? ptg::Ref3d : ptg::Ref, cls));
        if (x)
            putU16(out_, *x);
        putU16(out_, uint16_t(c.row));
        putU16(out_, columnBits(c));
    }

    void area(Item n, const CellRef& a, const CellRef& b, OperandClass cls) {
        auto x = ixti(n);
        putU8(out_, classed(x ? ptg::Area3d : ptg::Area, cls));
        if (x)
            putU16(out_, *x);
        putU16(out_, uint16_t(a.row));
        putU16(out_, uint16_t(b.row));
        putU16(out_, columnBits(a));
        putU16(out_, columnBits(b));
    }

    void attr(uint8_t options, uint16_t data) {
        putU8(out_, ptg::Attr);
        putU8(out_, options);
        putU16(out_, data);
    }

    void function(Item n, OperandClass cls) {
        const BiffFunction* f = src_.builtIn(n);
        if (!f)
            return external(n, cls);
        size_t argc = src_.argc(n);
        if (argc < f->minArgs || argc > f->maxArgs)
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
        for (size_t i = 0; i < argc; ++i)
            node(src_.arg(n, i), argClass(i));
        if (f->index == 4 && argc == 1)
            return attr(ptg::AttrSum, 0); // the optimised SUM Excel writes for one argument
        if (f->fixedArity()) {
            putU8(out_, classed(ptg::Func, self));
            putU16(out_, f->index);
        } else {
            putU8(out_, classed(ptg::FuncVar, self));
            putU8(out_, uint8_t(argc));
            putU16(out_, f->index);
        }
    }

    // IF with the jumps Excel evaluates it by: tAttrIf skips the true branch when the condition fails,
    // each tAttrSkip jumps to the end of the call.
    template <class ArgClass>
    void conditional(Item n, const BiffFunction& f, OperandClass self, ArgClass argClass) {
        size_t argc = src_.argc(n);
        node(src_.arg(n, 0), argClass(0));
        size_t ifAt = out_.size();
        attr(ptg::AttrIf, 0);
        node(src_.arg(n, 1), argClass(1));
        size_t skip1 = out_.size();
        attr(ptg::AttrSkip, 0);
        patchU16(out_, ifAt + 2, uint16_t(out_.size() - ifAt - 4));
        size_t skip2 = 0;
        if (argc == 3) {
            node(src_.arg(n, 2), argClass(2));
            skip2 = out_.size();
            attr(ptg::AttrSkip, 0);
        }
        putU8(out_, classed(ptg::FuncVar, self));
        putU8(out_, uint8_t(argc));
        putU16(out_, f.index);
        patchU16(out_, skip1 + 2, uint16_t(out_.size() - skip1 - 4 - 1));
        if (skip2)
            patchU16(out_, skip2 + 2, uint16_t(out_.size() - skip2 - 4 - 1));
    }

    void external(Item n, OperandClass cls) {
        if (!e_.addInFunction)
            throw FormatError("a formula calls a function this program cannot store");
        auto [x, index] = e_.addInFunction(src_.text(n));
        putU8(out_, ptg::NameX);
        putU16(out_, x);
        putU16(out_, index);
        putU16(out_, 0);
        size_t argc = src_.argc(n);
        for (size_t i = 0; i < argc; ++i)
            node(src_.arg(n, i), OperandClass::Reference);
        if (argc + 1 > 127)
            throw FormatError("a formula calls a function with too many arguments");
        putU8(out_, classed(ptg::FuncVar, cls == OperandClass::Array ? cls : OperandClass::Value));
        putU8(out_, uint8_t(argc + 1));
        putU16(out_, ptg::ExternalFunction);
    }

    const FormulaEncoder& e_;
    const Source& src_;
    std::vector<uint8_t>& out_;
};

} // namespace

void FormulaEncoder::encode(const Node& root, std::vector<uint8_t>& out, OperandClass rootClass) const {
    TreeSource src;
    Encoder(*this, src, out).node(&root, rootClass);
}

void FormulaEncoder::encode(std::span<const formula::Token> program, std::vector<uint8_t>& out,
                            OperandClass rootClass) const {
    ProgramSource src(program, sheetNames, scratch_);
    Encoder(*this, src, out).node(src.root(), rootClass);
}

} // namespace engine::xls
