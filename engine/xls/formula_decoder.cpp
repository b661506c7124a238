#include "engine/formula/functions.h"
#include "engine/xls/bytes.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/ptg.h"
#include "engine/xls/unicode_string.h"

#include <algorithm>
#include <cmath>

namespace engine::xls {

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

using formula::Program;
using formula::Token;
using formula::TokenKind;

// Deeper nesting than this comes only from damaged or hostile files; Excel itself nests far less.
constexpr int MaxDepth = 512;

// One corner of a reference as the file gives it.
struct CellRef {
    int row = 0;
    int col = 0;
    bool rowAbsolute = false;
    bool colAbsolute = false;
};

// Translates the postfix BIFF tokens straight into the engine's postfix program: both list operands
// before their operator, so each BIFF token becomes its engine token(s) at the end of the program. The
// stack keeps where each operand's tokens begin and how deeply it nests.
class Decoder {
public:
    Decoder(std::span<const uint8_t> tokens, const TokenContext& context, int row, int col, Program& out,
            std::span<const uint8_t> extra)
        : in_(tokens), extra_(extra), context_(context), row_(row), col_(col), out_(out) {
        out_.clear();
        stack_.reserve(16);
    }

    void run() {
        while (!in_.atEnd())
            token(in_.u8());
        if (stack_.size() != 1)
            throw FormatError("a formula's tokens do not form one expression");
    }

private:
    struct Operand {
        size_t start; // its first token in the program
        int depth;
    };

    // An operand whose tokens were just appended from `start` on.
    void push(size_t start, int depth = 1) {
        if (depth > MaxDepth)
            throw FormatError("a formula is nested too deeply");
        stack_.push_back({start, depth});
    }
    Operand pop() {
        if (stack_.empty())
            throw FormatError("a formula's operator lacks its operands");
        Operand o = stack_.back();
        stack_.pop_back();
        return o;
    }
    // Where the operand at `i` in the stack ends in the program.
    size_t end(size_t i) const { return i + 1 < stack_.size() ? stack_[i + 1].start : out_.size(); }

    void emit(TokenKind kind, uint8_t code = 0) {
        Token t;
        t.kind = kind;
        t.payload.code = code;
        out_.push_back(t);
    }
    void leaf(const Token& t) {
        push(out_.size());
        out_.push_back(t);
    }

    void unary(Op op) {
        Operand a = pop();
        emit(TokenKind::Unary, uint8_t(op));
        push(a.start, a.depth + 1);
    }
    void binary(Op op) {
        Operand b = pop();
        Operand a = pop();
        emit(TokenKind::Binary, uint8_t(op));
        push(a.start, std::max(a.depth, b.depth) + 1);
    }

    // The last `argc` operands become the arguments of a call: a function the engine computes by id,
    // any other by name (evaluated as #NAME?, kept for saving). So is an engine function given a count
    // of arguments it does not take, which only a call by name can give: computing it would read
    // arguments that are not there.
    void call(std::optional<uint16_t> id, std::u16string_view name, size_t argc) {
        if (argc > stack_.size())
            throw FormatError("a formula's function lacks its arguments");
        if (id) {
            const formula::Function& f = formula::function(*id);
            if (argc < f.minArgs || argc > f.maxArgs)
                id.reset();
        }
        int depth = 0;
        size_t first = stack_.size() - argc;
        for (size_t i = first; i < stack_.size(); ++i)
            depth = std::max(depth, stack_[i].depth);
        size_t start = argc ? stack_[first].start : out_.size();
        stack_.resize(first);
        Token t;
        if (id) {
            t.kind = TokenKind::Function;
            t.payload.call = {*id, uint8_t(argc)};
            out_.push_back(t);
        } else {
            t.kind = TokenKind::Name;
            t.flags = formula::kUnknownCall;
            t.payload.call = {uint16_t(name.size()), uint8_t(argc)};
            out_.push_back(t);
            formula::appendChars(out_, name);
        }
        push(start, depth + 1);
    }
    void builtin(uint16_t index, size_t argc) {
        const BiffFunction* f = biffFunctionByIndex(index);
        if (!f)
            throw UnsupportedFormula("a function this program does not know");
        // The count comes from the file; a call outside the function's arity would be evaluated with
        // arguments that are not there.
        if (argc < f->minArgs || argc > f->maxArgs)
            throw FormatError("a formula calls a function with a wrong number of arguments");
        call(engineFunction(index), std::u16string(f->name.begin(), f->name.end()), argc);
    }
    // A call of an add-in function, whose name was pushed before its arguments.
    void addInCall(size_t argc) {
        if (argc == 0 || argc > stack_.size())
            throw FormatError("a formula's function lacks its arguments");
        size_t at = stack_.size() - argc;
        size_t start = stack_[at].start;
        const Token& first = out_[start];
        bool plainName = first.kind == TokenKind::Name && !(first.flags & formula::kUnknownCall) &&
                         end(at) - start == 1 + formula::charTokens(first.payload.call.id);
        if (!plainName)
            throw UnsupportedFormula("a call of a computed function");
        size_t i = start;
        std::u16string name = formula::readChars(out_, i, first.payload.call.id);
        size_t removed = i + 1 - start;
        out_.erase(out_.begin() + std::ptrdiff_t(start), out_.begin() + std::ptrdiff_t(i + 1));
        stack_.erase(stack_.begin() + std::ptrdiff_t(at));
        for (size_t k = at; k < stack_.size(); ++k)
            stack_[k].start -= removed;
        call(formula::findFunction(name), name, argc - 1);
    }

    // A cell corner of a tRef or tArea: 16-bit row, then the column with the relative flags on top.
    CellRef corner(uint16_t row, uint16_t colBits, bool shared) const {
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

    // A reference token as the compiler writes one: whole columns and whole rows keep only the corners'
    // column (row) parts.
    static Token reference(CellRef a, CellRef b, formula::SheetId sheet, bool single) {
        Token t;
        t.sheet = sheet;
        if (single) {
            t.kind = TokenKind::Ref;
            b = a;
        } else {
            t.kind = TokenKind::Area;
            if (a.row == 0 && b.row == engine::kLastRow) {
                t.flags = formula::kWholeColumns;
                a.rowAbsolute = b.rowAbsolute = false;
            } else if (a.col == 0 && b.col == engine::kLastColumn) {
                t.flags = formula::kWholeRows;
                a.colAbsolute = b.colAbsolute = false;
            }
        }
        if (a.rowAbsolute)
            t.flags |= formula::kTopAbsolute;
        if (a.colAbsolute)
            t.flags |= formula::kLeftAbsolute;
        if (b.rowAbsolute)
            t.flags |= formula::kBottomAbsolute;
        if (b.colAbsolute)
            t.flags |= formula::kRightAbsolute;
        t.payload.area = {uint16_t(a.row), uint16_t(b.row), uint8_t(a.col), uint8_t(b.col)};
        return t;
    }
    void ref(CellRef a, formula::SheetId sheet) { leaf(reference(a, a, sheet, true)); }
    void area(CellRef a, CellRef b, formula::SheetId sheet) { leaf(reference(a, b, sheet, false)); }

    formula::SheetId sheet(uint16_t ixti) const {
        if (ixti >= context_.externSheets.size() || !context_.externSheets[ixti])
            throw UnsupportedFormula("a reference to another workbook");
        return context_.externSheets[ixti]->id;
    }

    // The range operator between two single cells of the same sheet is the area they span, as the
    // formula's text reads; between other references it is kept as the operator.
    void range() {
        if (stack_.size() < 2)
            throw FormatError("a formula's operator lacks its operands");
        size_t b = stack_.back().start, a = stack_[stack_.size() - 2].start;
        bool cells = a + 1 == b && b + 1 == out_.size() && out_[a].kind == TokenKind::Ref &&
                     out_[b].kind == TokenKind::Ref;
        if (!cells)
            return binary(Op::Range);
        // Text cannot say "A1 of this sheet to B2 of that one".
        if (out_[a].sheet != out_[b].sheet)
            throw UnsupportedFormula("a range between cells of two sheets");
        auto cornerOf = [](const Token& t) {
            return CellRef{t.payload.area.top, t.payload.area.left, (t.flags & formula::kTopAbsolute) != 0,
                           (t.flags & formula::kLeftAbsolute) != 0};
        };
        Token t = reference(cornerOf(out_[a]), cornerOf(out_[b]), out_[a].sheet, false);
        stack_.resize(stack_.size() - 2);
        out_.resize(a);
        leaf(t);
    }

    void attr() {
        uint8_t options = in_.u8();
        uint16_t data = in_.u16();
        if (options & ptg::AttrChoose)
            in_.skip((size_t(data) + 1) * 2);
        if (options & ptg::AttrSum) {
            static const auto sum = formula::findFunction(u"SUM");
            call(sum, u"SUM", 1);
        }
    }

    // Excel's "labels in formulas" mark a reference that the user wrote as the text of a heading. All
    // but a pivot-table field name are followed by the reference itself, which is the formula's meaning
    // and what is kept; the label is Excel's way of showing it.
    void label() {
        uint8_t kind = in_.u8();
        in_.skip(4);
        switch (kind) {
        case 0x01: // a deleted label
        case 0x02: // the row or column of a label, single cell or several
        case 0x03:
        case 0x06:
        case 0x07:
        case 0x0A:
        case 0x0B:
        case 0x0D:
        case 0x0F:
        case 0x10:
            break;
        case 0x1D:
            throw UnsupportedFormula("a pivot table's field name");
        default:
            throw FormatError("a formula holds an unknown token");
        }
        if (in_.atEnd())
            throw UnsupportedFormula("a label that stands for no reference");
        uint8_t next = in_.peekU8();
        uint8_t base = next >= 0x20 ? uint8_t((next & 0x1F) | 0x20) : next;
        if (base != ptg::Ref && base != ptg::Area && base != ptg::RefN && base != ptg::AreaN &&
            base != ptg::RefErr && base != ptg::AreaErr)
            throw UnsupportedFormula("a label that stands for no reference");
    }

    // An array constant: its size and its values, row by row, from after the token stream.
    void array() {
        int columns = extra_.u8() + 1;
        int rows = extra_.u16() + 1;
        if (rows > formula::kMaxArrayRows)
            throw UnsupportedFormula("an array constant of more rows than the engine holds");
        size_t at = out_.size();
        push(at);
        Token head;
        head.kind = TokenKind::Array;
        out_.push_back(head);
        for (long k = 0; k < long(rows) * columns; ++k) {
            Token v;
            switch (extra_.u8()) {
            case 0x01:
                v.kind = TokenKind::Number;
                v.payload.number = extra_.f64();
                if (!std::isfinite(v.payload.number))
                    throw FormatError("an array constant holds a number that is none");
                break;
            case 0x02:
                formula::appendText(out_, readUnicode16(extra_));
                continue;
            case 0x04:
                v.kind = TokenKind::Boolean;
                v.payload.code = extra_.u8() != 0 ? 1 : 0;
                extra_.skip(7);
                break;
            case 0x10: {
                auto e = ptg::errorFromCode(extra_.u8());
                if (!e)
                    throw FormatError("an array constant holds an unknown error value");
                v.kind = TokenKind::Error;
                v.payload.code = uint8_t(*e);
                extra_.skip(7);
                break;
            }
            case 0x00:
                throw UnsupportedFormula("an array constant with an empty value");
            default:
                throw FormatError("an array constant holds a value of unknown kind");
            }
            out_.push_back(v);
        }
        out_[at].payload.array = {uint16_t(rows), uint16_t(columns), uint32_t(out_.size() - at - 1)};
    }

    void token(uint8_t t) {
        uint8_t base = t >= 0x20 ? uint8_t((t & 0x1F) | 0x20) : t;
        Token leafToken;
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
            Operand a = pop();
            emit(TokenKind::Paren);
            return push(a.start, a.depth + 1);
        }
        case ptg::MissArg:
            leafToken.kind = TokenKind::Missing;
            return leaf(leafToken);
        case ptg::Str: {
            std::u16string text = readUnicode8(in_);
            push(out_.size());
            return formula::appendText(out_, text);
        }
        case ptg::Label:
            return label();
        case ptg::Attr:
            return attr();
        case ptg::Err: {
            auto e = ptg::errorFromCode(in_.u8());
            if (!e)
                throw FormatError("a formula holds an unknown error value");
            leafToken.kind = TokenKind::Error;
            leafToken.payload.code = uint8_t(*e);
            return leaf(leafToken);
        }
        case ptg::Bool:
            leafToken.kind = TokenKind::Boolean;
            leafToken.payload.code = in_.u8() != 0 ? 1 : 0;
            return leaf(leafToken);
        case ptg::Int:
            leafToken.kind = TokenKind::Number;
            leafToken.payload.number = in_.u16();
            return leaf(leafToken);
        case ptg::Num:
            leafToken.kind = TokenKind::Number;
            leafToken.payload.number = in_.f64();
            return leaf(leafToken);
        case ptg::Func: {
            uint16_t index = in_.u16();
            const BiffFunction* f = biffFunctionByIndex(index);
            if (!f || !f->fixedArity())
                throw UnsupportedFormula("a function this program does not know");
            return builtin(index, f->minArgs);
        }
        case ptg::FuncVar: {
            size_t argc = in_.u8() & 0x7F;
            uint16_t index = in_.u16();
            // The top bit calls a macro command, whose table is not the functions' one.
            if (index & 0x8000)
                throw UnsupportedFormula("a call of a macro command");
            if (index == ptg::ExternalFunction)
                return addInCall(argc);
            return builtin(index, argc);
        }
        case ptg::Name: {
            uint16_t index = in_.u16();
            in_.u16();
            if (index == 0 || index > context_.names.size() || context_.names[index - 1].empty())
                throw UnsupportedFormula("a name that is not defined");
            const std::u16string& name = context_.names[index - 1];
            push(out_.size());
            leafToken.kind = TokenKind::Name;
            leafToken.payload.call = {uint16_t(name.size()), 0};
            out_.push_back(leafToken);
            return formula::appendChars(out_, name);
        }
        case ptg::NameX: {
            uint16_t ixti = in_.u16();
            uint16_t index = in_.u16();
            in_.u16();
            if (ixti >= context_.externNames.size() || index == 0 ||
                index > context_.externNames[ixti].size())
                throw UnsupportedFormula("a name defined in another workbook");
            const std::u16string& name = context_.externNames[ixti][index - 1];
            push(out_.size());
            leafToken.kind = TokenKind::Name;
            leafToken.payload.call = {uint16_t(name.size()), 0};
            out_.push_back(leafToken);
            return formula::appendChars(out_, name);
        }
        case ptg::Ref:
        case ptg::RefN: {
            uint16_t row = in_.u16();
            uint16_t col = in_.u16();
            return ref(corner(row, col, base == ptg::RefN), formula::kOwnSheet);
        }
        case ptg::Area:
        case ptg::AreaN: {
            uint16_t r1 = in_.u16(), r2 = in_.u16(), c1 = in_.u16(), c2 = in_.u16();
            bool shared = base == ptg::AreaN;
            return area(corner(r1, c1, shared), corner(r2, c2, shared), formula::kOwnSheet);
        }
        case ptg::Ref3d: {
            uint16_t ixti = in_.u16();
            uint16_t row = in_.u16();
            uint16_t col = in_.u16();
            return ref(corner(row, col, false), sheet(ixti));
        }
        case ptg::Area3d: {
            uint16_t ixti = in_.u16();
            uint16_t r1 = in_.u16(), r2 = in_.u16(), c1 = in_.u16(), c2 = in_.u16();
            return area(corner(r1, c1, false), corner(r2, c2, false), sheet(ixti));
        }
        case ptg::RefErr:
        case ptg::AreaErr:
        case ptg::RefErr3d:
        case ptg::AreaErr3d:
            in_.skip(base == ptg::RefErr ? 4 : base == ptg::AreaErr ? 8 : base == ptg::RefErr3d ? 6 : 10);
            leafToken.kind = TokenKind::Error;
            leafToken.payload.code = uint8_t(ErrorCode::Ref);
            return leaf(leafToken);
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
            return binary(Op::Intersect);
        case ptg::Union:
            return binary(Op::Union);
        case ptg::Array:
            in_.skip(7);
            return array();
        case ptg::Exp:
            throw UnsupportedFormula("an array formula");
        default:
            throw FormatError("a formula holds an unknown token");
        }
    }

    ByteReader in_;
    ByteReader extra_; // the values of the array constants, in the order of their tokens
    const TokenContext& context_;
    int row_;
    int col_;
    Program& out_;
    std::vector<Operand> stack_;
};

} // namespace

void decodeProgram(std::span<const uint8_t> tokens, const TokenContext& context, int row, int col,
                   Program& out, std::span<const uint8_t> extra) {
    Decoder(tokens, context, row, col, out, extra).run();
}

formula::SheetNames TokenContext::sheetNames() const {
    formula::SheetNames names;
    names.name = [this](formula::SheetId id) -> std::optional<std::u16string> {
        for (const auto& s : externSheets)
            if (s && s->id == id)
                return s->name;
        return std::nullopt;
    };
    names.find = [this](std::u16string_view name) -> std::optional<formula::SheetId> {
        for (const auto& s : externSheets)
            if (s && s->name == name)
                return s->id;
        return std::nullopt;
    };
    return names;
}

} // namespace engine::xls
