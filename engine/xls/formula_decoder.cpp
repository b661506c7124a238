#include "engine/xls/bytes.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/ptg.h"
#include "engine/xls/unicode_string.h"

namespace engine::xls {

using formula::CellRef;
using formula::Node;
using formula::Op;

namespace ptg {

uint8_t errorCode(ErrorCode e) {
    switch (e) {
    case ErrorCode::Null:
        return 0x00;
    case ErrorCode::Div0:
        return 0x07;
    case ErrorCode::Value:
        return 0x0F;
    case ErrorCode::Ref:
        return 0x17;
    case ErrorCode::Name:
        return 0x1D;
    case ErrorCode::Num:
        return 0x24;
    case ErrorCode::NA:
        return 0x2A;
    }
    return 0x0F;
}

std::optional<ErrorCode> errorFromCode(uint8_t code) {
    switch (code) {
    case 0x00:
        return ErrorCode::Null;
    case 0x07:
        return ErrorCode::Div0;
    case 0x0F:
        return ErrorCode::Value;
    case 0x17:
        return ErrorCode::Ref;
    case 0x1D:
        return ErrorCode::Name;
    case 0x24:
        return ErrorCode::Num;
    case 0x2A:
        return ErrorCode::NA;
    }
    return std::nullopt;
}

} // namespace ptg

namespace {

// Deeper trees than this come only from damaged or hostile files; Excel itself nests far less.
constexpr int MaxDepth = 512;

class Decoder {
public:
    Decoder(std::span<const uint8_t> tokens, const TokenContext& context, int row, int col)
        : in_(tokens), context_(context), row_(row), col_(col) {
        stack_.reserve(16); // enough for the register's formulas without moving trees about
    }

    Node run() {
        while (!in_.atEnd())
            token(in_.u8());
        if (stack_.size() != 1)
            throw FormatError("a formula's tokens do not form one expression");
        return std::move(stack_.back().node);
    }

private:
    struct Entry {
        Node node;
        int depth;
    };

    void push(Node n, int depth = 1) {
        if (depth > MaxDepth)
            throw FormatError("a formula is nested too deeply");
        stack_.push_back({std::move(n), depth});
    }
    Entry pop() {
        if (stack_.empty())
            throw FormatError("a formula's operator lacks its operands");
        Entry e = std::move(stack_.back());
        stack_.pop_back();
        return e;
    }

    void unary(Op op) {
        Entry a = pop();
        push(Node::makeUnary(op, std::move(a.node)), a.depth + 1);
    }
    void binary(Op op) {
        Entry b = pop();
        Entry a = pop();
        push(Node::makeBinary(op, std::move(a.node), std::move(b.node)), std::max(a.depth, b.depth) + 1);
    }
    void call(std::u16string name, size_t argc) {
        if (argc > stack_.size())
            throw FormatError("a formula's function lacks its arguments");
        std::vector<Node> args;
        args.reserve(argc);
        int depth = 0;
        for (size_t i = stack_.size() - argc; i < stack_.size(); ++i) {
            depth = std::max(depth, stack_[i].depth);
            args.push_back(std::move(stack_[i].node));
        }
        stack_.resize(stack_.size() - argc);
        push(Node::makeFunction(std::move(name), std::move(args)), depth + 1);
    }
    void builtin(uint16_t index, size_t argc) {
        const FunctionInfo* f = functionByIndex(index);
        if (!f)
            throw UnsupportedFormula("a function this program does not know");
        // The count comes from the file; a call outside the function's arity would be evaluated with
        // arguments that are not there.
        if (argc < f->minArgs || argc > f->maxArgs)
            throw FormatError("a formula calls a function with a wrong number of arguments");
        call(std::u16string(f->name.begin(), f->name.end()), argc);
    }

    // A cell corner of a tRef or tArea: 16-bit row, then the column with the relative flags on top.
    CellRef corner(uint16_t row, uint16_t colBits, bool shared) {
        CellRef c;
        c.rowAbsolute = !(colBits & 0x8000);
        c.colAbsolute = !(colBits & 0x4000);
        int col = colBits & 0xFF;
        c.row = row;
        c.col = col;
        if (shared) {
            // Relative parts of shared-formula tokens are offsets from the cell holding the formula.
            if (!c.rowAbsolute)
                c.row = (row_ + int16_t(row)) & 0xFFFF;
            if (!c.colAbsolute)
                c.col = (col_ + int8_t(uint8_t(col))) & 0xFF;
        }
        return c;
    }

    Node area(CellRef a, CellRef b, std::optional<std::u16string> sheet) {
        if (a.row == 0 && b.row == engine::kLastRow)
            return Node::makeColumns(a.col, a.colAbsolute, b.col, b.colAbsolute, std::move(sheet));
        if (a.col == 0 && b.col == engine::kLastColumn)
            return Node::makeRows(a.row, a.rowAbsolute, b.row, b.rowAbsolute, std::move(sheet));
        return Node::makeArea(a, b, std::move(sheet));
    }

    std::optional<std::u16string> sheet(uint16_t ixti) {
        if (ixti >= context_.externSheets.size() || !context_.externSheets[ixti])
            throw UnsupportedFormula("a reference to another workbook");
        return context_.externSheets[ixti];
    }

    void range() {
        Entry b = pop();
        Entry a = pop();
        bool refs =
            a.node.kind == formula::NodeKind::Reference && b.node.kind == formula::NodeKind::Reference;
        if (!refs || a.node.sheet != b.node.sheet)
            throw UnsupportedFormula("a range operator between computed references");
        push(area(a.node.first, b.node.first, a.node.sheet));
    }

    void attr() {
        uint8_t options = in_.u8();
        uint16_t data = in_.u16();
        if (options & ptg::AttrChoose)
            in_.skip((size_t(data) + 1) * 2);
        if (options & ptg::AttrSum)
            call(u"SUM", 1);
    }

    void token(uint8_t t) {
        uint8_t base = t >= 0x20 ? uint8_t((t & 0x1F) | 0x20) : t;
        switch (base) {
        case ptg::Add:
            return binary(Op::Add);
        case ptg::Sub:
            return binary(Op::Subtract);
        case ptg::Mul:
            return binary(Op::Multiply);
        case ptg::Div:
            return binary(Op::Divide);
        case ptg::Power:
            return binary(Op::Power);
        case ptg::Concat:
            return binary(Op::Concat);
        case ptg::Lt:
            return binary(Op::Less);
        case ptg::Le:
            return binary(Op::LessEqual);
        case ptg::Eq:
            return binary(Op::Equal);
        case ptg::Ge:
            return binary(Op::GreaterEqual);
        case ptg::Gt:
            return binary(Op::Greater);
        case ptg::Ne:
            return binary(Op::NotEqual);
        case ptg::Range:
            return range();
        case ptg::Uplus:
            return unary(Op::Plus);
        case ptg::Uminus:
            return unary(Op::Negate);
        case ptg::Percent:
            return unary(Op::Percent);
        case ptg::Paren: {
            Entry a = pop();
            return push(Node::makeParen(std::move(a.node)), a.depth + 1);
        }
        case ptg::MissArg:
            return push(Node::makeMissing());
        case ptg::Str:
            return push(Node::makeText(readUnicode8(in_)));
        case ptg::Attr:
            return attr();
        case ptg::Err: {
            auto e = ptg::errorFromCode(in_.u8());
            if (!e)
                throw FormatError("a formula holds an unknown error value");
            return push(Node::makeError(*e));
        }
        case ptg::Bool:
            return push(Node::makeBoolean(in_.u8() != 0));
        case ptg::Int:
            return push(Node::makeNumber(in_.u16()));
        case ptg::Num:
            return push(Node::makeNumber(in_.f64()));
        case ptg::Func: {
            uint16_t index = in_.u16();
            const FunctionInfo* f = functionByIndex(index);
            if (!f || !f->fixedArity())
                throw UnsupportedFormula("a function this program does not know");
            return builtin(index, f->minArgs);
        }
        case ptg::FuncVar: {
            size_t argc = in_.u8() & 0x7F;
            uint16_t index = in_.u16() & 0x7FFF;
            if (index != ptg::ExternalFunction)
                return builtin(index, argc);
            // An add-in function: its name was pushed first, as a text placeholder.
            if (argc == 0 || argc > stack_.size())
                throw FormatError("a formula's function lacks its arguments");
            Entry& name = stack_[stack_.size() - argc];
            if (name.node.kind != formula::NodeKind::Name)
                throw UnsupportedFormula("a call of a computed function");
            std::u16string text = std::move(name.node.text);
            stack_.erase(stack_.end() - std::ptrdiff_t(argc));
            return call(std::move(text), argc - 1);
        }
        case ptg::Name:
            // Defined names are not kept, so a formula using one could not be saved again.
            throw UnsupportedFormula("a defined name");
        case ptg::NameX: {
            uint16_t ixti = in_.u16();
            uint16_t index = in_.u16();
            in_.u16();
            if (ixti >= context_.externNames.size() || index == 0 ||
                index > context_.externNames[ixti].size())
                throw UnsupportedFormula("a name defined in another workbook");
            return push(Node::makeName(context_.externNames[ixti][index - 1]));
        }
        case ptg::Ref:
        case ptg::RefN: {
            uint16_t row = in_.u16();
            uint16_t col = in_.u16();
            return push(Node::makeReference(corner(row, col, base == ptg::RefN)));
        }
        case ptg::Area:
        case ptg::AreaN: {
            uint16_t r1 = in_.u16(), r2 = in_.u16(), c1 = in_.u16(), c2 = in_.u16();
            bool shared = base == ptg::AreaN;
            return push(area(corner(r1, c1, shared), corner(r2, c2, shared), std::nullopt));
        }
        case ptg::Ref3d: {
            uint16_t ixti = in_.u16();
            uint16_t row = in_.u16();
            uint16_t col = in_.u16();
            return push(Node::makeReference(corner(row, col, false), sheet(ixti)));
        }
        case ptg::Area3d: {
            uint16_t ixti = in_.u16();
            uint16_t r1 = in_.u16(), r2 = in_.u16(), c1 = in_.u16(), c2 = in_.u16();
            return push(area(corner(r1, c1, false), corner(r2, c2, false), sheet(ixti)));
        }
        case ptg::RefErr:
            in_.skip(4);
            return push(Node::makeError(ErrorCode::Ref));
        case ptg::AreaErr:
            in_.skip(8);
            return push(Node::makeError(ErrorCode::Ref));
        case ptg::RefErr3d:
            in_.skip(6);
            return push(Node::makeError(ErrorCode::Ref));
        case ptg::AreaErr3d:
            in_.skip(10);
            return push(Node::makeError(ErrorCode::Ref));
        case ptg::MemArea:
        case ptg::MemErr:
        case ptg::MemNoMem:
            // The reference they describe follows as ordinary tokens.
            in_.skip(6);
            return;
        case ptg::MemFunc:
        case ptg::MemAreaN:
        case ptg::MemNoMemN:
            in_.skip(2);
            return;
        case ptg::Isect:
        case ptg::Union:
            throw UnsupportedFormula("a union or intersection of references");
        case ptg::Array:
            throw UnsupportedFormula("an array constant");
        case ptg::Exp:
            throw UnsupportedFormula("an array formula");
        default:
            throw FormatError("a formula holds an unknown token");
        }
    }

    ByteReader in_;
    const TokenContext& context_;
    int row_;
    int col_;
    std::vector<Entry> stack_;
};

} // namespace

Node decodeFormula(std::span<const uint8_t> tokens, const TokenContext& context, int row, int col) {
    return Decoder(tokens, context, row, col).run();
}

} // namespace engine::xls
