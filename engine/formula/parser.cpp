#include "engine/formula/parser.h"

#include "engine/core/address.h"
#include "engine/core/error.h"
#include "engine/core/text.h"
#include "engine/formula/excel_functions.h"
#include "engine/formula/functions.h"
#include "platform/text/utf.h"

#include <string>

namespace engine::formula {
namespace {

constexpr std::size_t kMaxLength = 8192;
constexpr int kMaxDepth = 100;
constexpr std::size_t kMaxArguments = 255; // what a call token counts

bool isLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isNameChar(char16_t c) {
    return isLetter(c) || isDigit(c) || c == u'_' || c == u'.' || c >= 0x80;
}

// One corner of a reference as written: column and row parts, either of which may be missing.
struct Corner {
    bool hasCol = false, hasRow = false;
    int col = 0, row = 0;
    bool colAbs = false, rowAbs = false;
};

class Parser {
public:
    Parser(std::u16string_view text, const SheetNames& sheets, Program& out)
        : t_(text), sheets_(sheets), out_(out) {}

    void parseFormula() {
        if (t_.size() > kMaxLength)
            fail("the formula is too long");
        expression(0);
        unionOf(0); // as a defined name's references are written: Sheet1!$A:$A,Sheet1!$1:$1
        skip();
        if (i_ != t_.size())
            fail("unexpected text");
    }

private:
    [[noreturn]] void fail(const char* what) {
        throw EngineError(std::string("formula not accepted: ") + what + " at position " +
                          std::to_string(i_));
    }

    void skip() {
        while (i_ < t_.size() && (t_[i_] == u' ' || t_[i_] == u'\n' || t_[i_] == u'\r'))
            ++i_;
    }
    bool at(char16_t c) {
        skip();
        return i_ < t_.size() && t_[i_] == c;
    }
    bool eat(char16_t c) {
        if (!at(c))
            return false;
        ++i_;
        return true;
    }

    Token& emit(TokenKind kind) {
        Token& t = out_.emplace_back();
        t.kind = kind;
        return t;
    }
    void emitOp(TokenKind kind, Op op) { emit(kind).payload.code = static_cast<std::uint8_t>(op); }
    void emitName(std::u16string_view name, std::uint8_t flags, std::size_t argc) {
        Token& t = emit(TokenKind::Name);
        t.flags = flags;
        t.payload.call = {static_cast<std::uint16_t>(name.size()), static_cast<std::uint8_t>(argc)};
        appendChars(out_, name);
    }

    // Binary operators by precedence, loosest first; all associate to the left.
    std::optional<Op> binaryAt(int level) {
        skip();
        if (i_ >= t_.size())
            return std::nullopt;
        char16_t c = t_[i_], d = i_ + 1 < t_.size() ? t_[i_ + 1] : 0;
        switch (level) {
        case 0:
            if (c == u'<' && d == u'>')
                return i_ += 2, Op::NotEqual;
            if (c == u'<' && d == u'=')
                return i_ += 2, Op::LessEqual;
            if (c == u'>' && d == u'=')
                return i_ += 2, Op::GreaterEqual;
            if (c == u'=')
                return ++i_, Op::Equal;
            if (c == u'<')
                return ++i_, Op::Less;
            if (c == u'>')
                return ++i_, Op::Greater;
            return std::nullopt;
        case 1:
            return c == u'&' ? (++i_, std::optional(Op::Concat)) : std::nullopt;
        case 2:
            if (c == u'+')
                return ++i_, Op::Add;
            if (c == u'-')
                return ++i_, Op::Subtract;
            return std::nullopt;
        case 3:
            if (c == u'*')
                return ++i_, Op::Multiply;
            if (c == u'/')
                return ++i_, Op::Divide;
            return std::nullopt;
        default:
            return c == u'^' ? (++i_, std::optional(Op::Power)) : std::nullopt;
        }
    }

    void expression(int level) {
        if (level > 4)
            return percent();
        expression(level + 1);
        while (auto op = binaryAt(level)) {
            expression(level + 1);
            emitOp(TokenKind::Binary, *op);
        }
    }

    // Whether the operand whose tokens begin at `start` is a reference: a reference token, a defined
    // name, a call of a function that gives a reference, a reference operator, or one of these in
    // parentheses. Only these may stand on either side of a union, an intersection or a range.
    bool isReference(std::size_t start) const {
        std::size_t k = out_.size();
        for (;;) {
            while (k > start && out_[k - 1].kind == TokenKind::Chars)
                --k;
            if (k == start)
                return false;
            if (out_[k - 1].kind != TokenKind::Paren)
                break;
            --k;
        }
        const Token& t = out_[k - 1];
        switch (t.kind) {
        case TokenKind::Ref:
        case TokenKind::Area:
        case TokenKind::RefError:
            return true;
        case TokenKind::Name:
            return !(t.flags & kUnknownCall);
        case TokenKind::Function: {
            const BiffFunction* f = biffFunctionOf(t.payload.call.id);
            return f && f->result == OperandClass::Reference;
        }
        case TokenKind::Binary:
            return isReferenceOperator(static_cast<Op>(t.payload.code));
        default:
            return false;
        }
    }

    // "," between references, inside parentheses or at the top of a formula: their union.
    void unionOf(std::size_t start) {
        while (at(u',')) {
            if (!isReference(start))
                fail("only references can be joined by a comma");
            ++i_;
            std::size_t right = out_.size();
            expression(0);
            if (!isReference(right))
                fail("only references can be joined by a comma");
            emitOp(TokenKind::Binary, Op::Union);
        }
    }

    // Excel binds the reference operators tightest: ":" before the space of an intersection.
    void intersection() {
        std::size_t start = out_.size();
        range();
        for (;;) {
            std::size_t j = i_;
            while (j < t_.size() && t_[j] == u' ')
                ++j;
            if (j == i_ || j >= t_.size() || !startsOperand(t_[j]) || !isReference(start))
                return;
            i_ = j;
            std::size_t right = out_.size();
            range();
            if (!isReference(right))
                fail("only references can be intersected");
            emitOp(TokenKind::Binary, Op::Intersect);
        }
    }

    static bool startsOperand(char16_t c) { return isNameChar(c) || c == u'$' || c == u'\'' || c == u'('; }

    void range() {
        std::size_t start = out_.size();
        primary();
        while (i_ < t_.size() && t_[i_] == u':' && isReference(start)) {
            ++i_;
            std::size_t right = out_.size();
            primary();
            if (!isReference(right))
                fail("a range joins references only");
            // Two cells of one sheet are the area they span, as a file stores them.
            if (right == start + 1 && out_.size() == right + 1 && out_[start].kind == TokenKind::Ref &&
                out_[right].kind == TokenKind::Ref && out_[start].sheet == out_[right].sheet) {
                Token& a = out_[start];
                const Token b = out_[right];
                out_.pop_back();
                a.kind = TokenKind::Area;
                a.payload.area.bottom = b.payload.area.top;
                a.payload.area.right = b.payload.area.left;
                a.flags = static_cast<std::uint8_t>((a.flags & (kTopAbsolute | kLeftAbsolute)) |
                                                    (b.flags & kTopAbsolute ? kBottomAbsolute : 0) |
                                                    (b.flags & kLeftAbsolute ? kRightAbsolute : 0));
                continue;
            }
            emitOp(TokenKind::Binary, Op::Range);
        }
    }

    // Excel binds negation tighter than percent, and percent tighter than "^": -2^2 is 4.
    void percent() {
        unary();
        while (eat(u'%'))
            emitOp(TokenKind::Unary, Op::Percent);
    }

    void unary() {
        for (Op op : {Op::Negate, Op::Plus}) {
            if (eat(op == Op::Negate ? u'-' : u'+')) {
                if (++depth_ > kMaxDepth)
                    fail("too many signs");
                unary();
                emitOp(TokenKind::Unary, op);
                --depth_;
                return;
            }
        }
        intersection();
    }

    void primary() {
        skip();
        if (i_ >= t_.size())
            fail("an operand is missing");
        char16_t c = t_[i_];
        if (c == u'(') {
            if (++depth_ > kMaxDepth)
                fail("parentheses nest too deep");
            ++i_;
            std::size_t start = out_.size();
            expression(0);
            unionOf(start);
            if (!eat(u')'))
                fail("a closing parenthesis is missing");
            --depth_;
            emit(TokenKind::Paren);
            return;
        }
        if (c == u'"')
            return appendText(out_, stringLiteral());
        if (c == u'#')
            return errorLiteral();
        if (c == u'{')
            return arrayLiteral();
        if (c == u'\'') {
            std::u16string sheet = quotedSheet();
            return sheetReference(sheet);
        }
        if (reference(kOwnSheet))
            return;
        if (isDigit(c) || c == u'.')
            return numberLiteral();
        if (isNameChar(c))
            return identifier();
        fail("unexpected character");
    }

    std::u16string stringLiteral() {
        ++i_;
        std::u16string s;
        for (;;) {
            if (i_ >= t_.size())
                fail("a text is not closed");
            if (t_[i_] == u'"') {
                if (i_ + 1 < t_.size() && t_[i_ + 1] == u'"') {
                    s += u'"';
                    i_ += 2;
                    continue;
                }
                ++i_;
                return s;
            }
            s += t_[i_++];
        }
    }

    void errorLiteral() {
        for (std::size_t len = 7; len >= 4; --len) {
            if (i_ + len > t_.size())
                continue;
            if (auto e = parseErrorText(t_.substr(i_, len))) {
                i_ += len;
                emit(TokenKind::Error).payload.code = static_cast<std::uint8_t>(*e);
                return;
            }
        }
        fail("unknown error value");
    }

    // {1,2;"x",TRUE}: rows apart by ";", values by ","; every row as long as the first. Its values are
    // constants only, numbers with a sign where they have one.
    void arrayLiteral() {
        ++i_;
        std::size_t at = out_.size();
        emit(TokenKind::Array);
        int rows = 0, columns = 0, inRow = 0;
        for (;;) {
            arrayValue();
            ++inRow;
            if (eat(u',')) {
                continue;
            }
            if (rows == 0)
                columns = inRow;
            else if (inRow != columns)
                fail("the rows of an array differ in length");
            ++rows;
            inRow = 0;
            if (eat(u';'))
                continue;
            if (eat(u'}'))
                break;
            fail("a comma, semicolon or closing brace is missing");
        }
        if (rows > kMaxArrayRows || columns > kMaxArrayColumns)
            fail("the array is too large");
        out_[at].payload.array = {static_cast<std::uint16_t>(rows), static_cast<std::uint16_t>(columns),
                                  static_cast<std::uint32_t>(out_.size() - at - 1)};
    }

    void arrayValue() {
        skip();
        if (i_ >= t_.size())
            fail("an array is not closed");
        char16_t c = t_[i_];
        if (c == u'"')
            return appendText(out_, stringLiteral());
        if (c == u'#')
            return errorLiteral();
        bool negative = false;
        if (c == u'-' || c == u'+') {
            negative = c == u'-';
            ++i_;
            skip();
        }
        if (i_ < t_.size() && (isDigit(t_[i_]) || t_[i_] == u'.')) {
            numberLiteral();
            if (negative)
                out_.back().payload.number = -out_.back().payload.number;
            return;
        }
        std::size_t start = i_;
        while (i_ < t_.size() && isLetter(t_[i_]))
            ++i_;
        std::u16string_view word = t_.substr(start, i_ - start);
        if (start != i_ && !negative &&
            (compareFolded(word, u"TRUE") == 0 || compareFolded(word, u"FALSE") == 0)) {
            emit(TokenKind::Boolean).payload.code = compareFolded(word, u"TRUE") == 0 ? 1 : 0;
            return;
        }
        i_ = start;
        fail("an array holds only numbers, texts, booleans and errors");
    }

    void numberLiteral() {
        std::size_t start = i_;
        while (i_ < t_.size() && (isDigit(t_[i_]) || t_[i_] == u'.'))
            ++i_;
        if (i_ < t_.size() && (t_[i_] == u'e' || t_[i_] == u'E')) {
            std::size_t save = i_++;
            if (i_ < t_.size() && (t_[i_] == u'+' || t_[i_] == u'-'))
                ++i_;
            if (i_ >= t_.size() || !isDigit(t_[i_]))
                i_ = save;
            while (i_ < t_.size() && isDigit(t_[i_]))
                ++i_;
        }
        auto n = readNumber(t_.substr(start, i_ - start));
        if (!n)
            fail("bad number");
        emit(TokenKind::Number).payload.number = *n;
    }

    std::u16string quotedSheet() {
        ++i_;
        std::u16string s;
        for (;;) {
            if (i_ >= t_.size())
                fail("a sheet name is not closed");
            if (t_[i_] == u'\'') {
                if (i_ + 1 < t_.size() && t_[i_ + 1] == u'\'') {
                    s += u'\'';
                    i_ += 2;
                    continue;
                }
                ++i_;
                break;
            }
            s += t_[i_++];
        }
        if (s.empty() || i_ >= t_.size() || t_[i_] != u'!')
            fail("a sheet name must be followed by !");
        ++i_;
        return s;
    }

    SheetId sheetId(const std::u16string& name) {
        auto id = sheets_.find ? sheets_.find(name) : std::nullopt;
        if (!id)
            throw EngineError("formula not accepted: the workbook has no sheet named " + text::toUtf8(name));
        return *id;
    }

    void sheetReference(const std::u16string& sheet) {
        if (i_ + 5 <= t_.size() && parseErrorText(t_.substr(i_, 5)) == ErrorCode::Ref) {
            i_ += 5;
            emit(TokenKind::RefError).sheet = sheetId(sheet);
            return;
        }
        std::size_t at = out_.size();
        if (!reference(0))
            fail("a reference must follow the sheet name");
        out_[at].sheet = sheetId(sheet);
    }

    bool corner(Corner& c) {
        std::size_t j = i_;
        if (j < t_.size() && t_[j] == u'$')
            c.colAbs = true, ++j;
        int col = 0;
        std::size_t letters = 0;
        while (j < t_.size() && isLetter(t_[j]) && letters < 4) {
            char16_t ch = t_[j] >= u'a' ? static_cast<char16_t>(t_[j] - 32) : t_[j];
            col = col * 26 + (ch - u'A' + 1);
            ++j, ++letters;
        }
        if (letters > 0) {
            if (letters > 3 || col > kColumnCount)
                return false;
            c.hasCol = true;
            c.col = col - 1;
        } else if (c.colAbs) {
            c.colAbs = false;
            c.rowAbs = true;
        }
        if (c.hasCol && j < t_.size() && t_[j] == u'$')
            c.rowAbs = true, ++j;
        long row = 0;
        std::size_t digits = 0;
        while (j < t_.size() && isDigit(t_[j]) && digits < 7)
            row = row * 10 + (t_[j++] - u'0'), ++digits;
        if (digits > 0) {
            if (row < 1 || row > kRowCount)
                return false;
            c.hasRow = true;
            c.row = static_cast<int>(row - 1);
        } else if (c.rowAbs && !c.hasCol) {
            return false;
        }
        if (!c.hasCol && !c.hasRow)
            return false;
        if (c.hasCol && !c.hasRow && c.rowAbs)
            return false;
        i_ = j;
        return true;
    }

    // A reference token for corners a and b, on `sheet`: whole columns (rows) where the corners have
    // no row (column) part.
    void emitReference(const Corner& a, const Corner& b, bool single, SheetId sheet) {
        Token& t = emit(single ? TokenKind::Ref : TokenKind::Area);
        t.sheet = sheet;
        int top = a.row, bottom = b.row, left = a.col, right = b.col;
        if (!a.hasRow) {
            t.flags |= kWholeColumns;
            top = 0, bottom = kLastRow;
        } else if (!a.hasCol) {
            t.flags |= kWholeRows;
            left = 0, right = kLastColumn;
        }
        if (a.rowAbs)
            t.flags |= kTopAbsolute;
        if (a.colAbs)
            t.flags |= kLeftAbsolute;
        if (b.rowAbs)
            t.flags |= kBottomAbsolute;
        if (b.colAbs)
            t.flags |= kRightAbsolute;
        t.payload.area = {static_cast<std::uint16_t>(top), static_cast<std::uint16_t>(bottom),
                          static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(right)};
    }

    // A reference at the current position, emitted; false (and the position unchanged) when there is none.
    bool reference(SheetId sheet) {
        skip();
        std::size_t start = i_;
        Corner a;
        if (!corner(a))
            return false;
        auto undo = [&] {
            i_ = start;
            return false;
        };
        bool cell = a.hasCol && a.hasRow;
        if (i_ < t_.size() && t_[i_] == u':') {
            std::size_t colon = i_++;
            Corner b;
            if (!corner(b) || b.hasCol != a.hasCol || b.hasRow != a.hasRow) {
                // A cell before the range operator of something else: A1:INDEX(...).
                if (!cell)
                    return undo();
                i_ = colon;
                emitReference(a, a, true, sheet);
                return true;
            }
            if (i_ < t_.size() && (isNameChar(t_[i_]) || t_[i_] == u'('))
                return undo();
            emitReference(a, b, false, sheet);
            return true;
        }
        if (!cell || (i_ < t_.size() && (isNameChar(t_[i_]) || t_[i_] == u'(' || t_[i_] == u'!')))
            return undo();
        emitReference(a, a, true, sheet);
        return true;
    }

    void identifier() {
        std::size_t start = i_;
        while (i_ < t_.size() && isNameChar(t_[i_]))
            ++i_;
        std::u16string name(t_.substr(start, i_ - start));
        if (i_ < t_.size() && t_[i_] == u'!') {
            ++i_;
            return sheetReference(name);
        }
        std::size_t end = i_;
        if (at(u'('))
            return call(name);
        i_ = end; // the spaces after a name may be an intersection's
        if (compareFolded(name, u"TRUE") == 0 || compareFolded(name, u"FALSE") == 0) {
            emit(TokenKind::Boolean).payload.code = compareFolded(name, u"TRUE") == 0 ? 1 : 0;
            return;
        }
        if (isDigit(name[0]))
            fail("bad number");
        emitName(name, 0, 0);
    }

    static const BiffFunction* excelFunction(std::u16string_view name) {
        std::string upper;
        for (char16_t c : name) {
            if (c > 0x7F)
                return nullptr;
            upper += static_cast<char>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
        }
        return biffFunctionByName(upper);
    }

    void call(const std::u16string& name) {
        if (++depth_ > kMaxDepth)
            fail("functions nest too deep");
        eat(u'(');
        std::size_t argc = 0;
        std::vector<std::size_t> arrayArgs; // the arguments that are array constants alone
        if (!eat(u')')) {
            for (;;) {
                std::size_t start = out_.size();
                if (at(u',') || at(u')'))
                    emit(TokenKind::Missing);
                else
                    expression(0);
                if (out_[start].kind == TokenKind::Array &&
                    out_.size() == start + 1 + out_[start].payload.array.tokens)
                    arrayArgs.push_back(argc);
                ++argc;
                if (eat(u')'))
                    break;
                if (!eat(u','))
                    fail("a comma or closing parenthesis is missing");
            }
        }
        --depth_;
        if (argc > kMaxArguments)
            fail("too many arguments");
        auto id = findFunction(name);
        if (!id) {
            // Kept by name, and saved as the Excel function it names: Excel's count must hold, or the
            // formula would only fail when saved.
            const BiffFunction* excel = excelFunction(name);
            if (excel && (argc < excel->minArgs || argc > excel->maxArgs))
                fail("wrong number of arguments");
            return emitName(name, kUnknownCall, argc);
        }
        const Function& f = function(*id);
        if (argc < f.minArgs || argc > f.maxArgs)
            fail("wrong number of arguments");
        for (std::size_t i : arrayArgs)
            if (f.takesCellsOnly(i))
                fail("an array constant where the function takes cells");
        emit(TokenKind::Function).payload.call = {*id, static_cast<std::uint8_t>(argc)};
    }

    std::u16string_view t_;
    const SheetNames& sheets_;
    Program& out_;
    std::size_t i_ = 0;
    int depth_ = 0;
};

} // namespace

Program parse(std::u16string_view text, const SheetNames& sheets) {
    Program program;
    Parser(text, sheets, program).parseFormula();
    program.shrink_to_fit();
    return program;
}

} // namespace engine::formula
