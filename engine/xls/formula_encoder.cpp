#include "engine/xls/bytes.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/ptg.h"
#include "engine/xls/unicode_string.h"
#include "platform/text/utf.h"

#include <cmath>

namespace engine::xls {

using formula::CellRef;
using formula::Node;
using formula::NodeKind;
using formula::Op;

namespace {

uint8_t classed(uint8_t base, OperandClass c) {
    return uint8_t(base + (c == OperandClass::Value ? 0x20 : c == OperandClass::Array ? 0x40 : 0));
}

uint16_t columnBits(const CellRef& c) {
    return uint16_t((c.col & 0xFF) | (c.colAbsolute ? 0 : 0x4000) | (c.rowAbsolute ? 0 : 0x8000));
}

std::string asciiUpper(const std::u16string& s) {
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

class Encoder {
public:
    Encoder(const FormulaEncoder& e, std::vector<uint8_t>& out) : e_(e), out_(out) {}

    void node(const Node& n, OperandClass cls) {
        switch (n.kind) {
        case NodeKind::Number:
            if (n.number >= 0 && n.number <= 65535 && n.number == std::floor(n.number)) {
                putU8(out_, ptg::Int);
                putU16(out_, uint16_t(n.number));
            } else {
                putU8(out_, ptg::Num);
                putF64(out_, n.number);
            }
            return;
        case NodeKind::Text:
            if (n.text.size() > 255)
                throw FormatError("a formula holds a text of more than 255 characters");
            putU8(out_, ptg::Str);
            putUnicode8(out_, n.text);
            return;
        case NodeKind::Boolean:
            putU8(out_, ptg::Bool);
            putU8(out_, n.boolean ? 1 : 0);
            return;
        case NodeKind::Error:
            putU8(out_, ptg::Err);
            putU8(out_, ptg::errorCode(n.error));
            return;
        case NodeKind::Missing:
            putU8(out_, ptg::MissArg);
            return;
        case NodeKind::Reference:
            return reference(n, cls);
        case NodeKind::Area:
            return area(n, n.first, n.last, cls);
        case NodeKind::Columns: {
            CellRef a = n.first, b = n.last;
            a.row = 0;
            b.row = engine::kLastRow;
            a.rowAbsolute = b.rowAbsolute = false;
            return area(n, a, b, cls);
        }
        case NodeKind::Rows: {
            CellRef a = n.first, b = n.last;
            a.col = 0;
            b.col = engine::kLastColumn;
            a.colAbsolute = b.colAbsolute = false;
            return area(n, a, b, cls);
        }
        case NodeKind::Function:
            return function(n, cls);
        case NodeKind::Name: {
            // A name that names nothing: stored as an add-in name, which every reader shows as #NAME?.
            if (!e_.addInFunction)
                throw FormatError("a formula uses the name " + text::toUtf8(n.text) +
                                  ", which this program cannot store");
            auto [x, index] = e_.addInFunction(n.text);
            putU8(out_, classed(ptg::NameX, cls));
            putU16(out_, x);
            putU16(out_, index);
            putU16(out_, 0);
            return;
        }
        case NodeKind::Unary:
            node(n.args.at(0), OperandClass::Value);
            putU8(out_, n.op == Op::Negate ? ptg::Uminus : n.op == Op::Plus ? ptg::Uplus : ptg::Percent);
            return;
        case NodeKind::Binary:
            node(n.args.at(0), OperandClass::Value);
            node(n.args.at(1), OperandClass::Value);
            putU8(out_, binaryToken(n.op));
            return;
        case NodeKind::Paren:
            node(n.args.at(0), cls);
            putU8(out_, ptg::Paren);
            return;
        }
    }

private:
    std::optional<uint16_t> ixti(const Node& n) {
        if (!n.sheet)
            return std::nullopt;
        auto i = e_.sheetIndex ? e_.sheetIndex(*n.sheet) : std::nullopt;
        if (!i)
            throw FormatError("a formula refers to a sheet that does not exist");
        return i;
    }

    void reference(const Node& n, OperandClass cls) {
        auto x = ixti(n);
        putU8(out_, classed(x ? ptg::Ref3d : ptg::Ref, cls));
        if (x)
            putU16(out_, *x);
        putU16(out_, uint16_t(n.first.row));
        putU16(out_, columnBits(n.first));
    }

    void area(const Node& n, const CellRef& a, const CellRef& b, OperandClass cls) {
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

    void function(const Node& n, OperandClass cls) {
        const FunctionInfo* f = functionByName(asciiUpper(n.text));
        if (!f)
            return external(n, cls);
        size_t argc = n.args.size();
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
            node(n.args[i], argClass(i));
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
    void conditional(const Node& n, const FunctionInfo& f, OperandClass self, ArgClass argClass) {
        node(n.args[0], argClass(0));
        size_t ifAt = out_.size();
        attr(ptg::AttrIf, 0);
        node(n.args[1], argClass(1));
        size_t skip1 = out_.size();
        attr(ptg::AttrSkip, 0);
        patchU16(out_, ifAt + 2, uint16_t(out_.size() - ifAt - 4));
        size_t skip2 = 0;
        if (n.args.size() == 3) {
            node(n.args[2], argClass(2));
            skip2 = out_.size();
            attr(ptg::AttrSkip, 0);
        }
        putU8(out_, classed(ptg::FuncVar, self));
        putU8(out_, uint8_t(n.args.size()));
        putU16(out_, f.index);
        patchU16(out_, skip1 + 2, uint16_t(out_.size() - skip1 - 4 - 1));
        if (skip2)
            patchU16(out_, skip2 + 2, uint16_t(out_.size() - skip2 - 4 - 1));
    }

    void external(const Node& n, OperandClass cls) {
        if (!e_.addInFunction)
            throw FormatError("a formula calls a function this program cannot store");
        auto [x, index] = e_.addInFunction(n.text);
        putU8(out_, ptg::NameX);
        putU16(out_, x);
        putU16(out_, index);
        putU16(out_, 0);
        for (const Node& a : n.args)
            node(a, OperandClass::Reference);
        if (n.args.size() + 1 > 127)
            throw FormatError("a formula calls a function with too many arguments");
        putU8(out_, classed(ptg::FuncVar, cls == OperandClass::Array ? cls : OperandClass::Value));
        putU8(out_, uint8_t(n.args.size() + 1));
        putU16(out_, ptg::ExternalFunction);
    }

    const FormulaEncoder& e_;
    std::vector<uint8_t>& out_;
};

} // namespace

void FormulaEncoder::encode(const Node& root, std::vector<uint8_t>& out, OperandClass rootClass) const {
    Encoder(*this, out).node(root, rootClass);
}

} // namespace engine::xls
