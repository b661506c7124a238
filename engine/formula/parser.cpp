#include "engine/formula/parser.h"

#include "engine/core/address.h"
#include "engine/core/error.h"
#include "engine/core/text.h"
#include "engine/formula/functions.h"

#include <string>

namespace engine::formula {
namespace {

constexpr std::size_t kMaxLength = 8192;
constexpr int kMaxDepth = 100;

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
    explicit Parser(std::u16string_view text) : t_(text) {}

    Node parseFormula() {
        if (t_.size() > kMaxLength)
            fail("the formula is too long");
        Node n = expression(0);
        skip();
        if (i_ != t_.size())
            fail("unexpected text");
        return n;
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

    Node expression(int level) {
        if (level > 4)
            return percent();
        Node left = expression(level + 1);
        while (auto op = binaryAt(level))
            left = Node::makeBinary(*op, std::move(left), expression(level + 1));
        return left;
    }

    // Excel binds negation tighter than percent, and percent tighter than "^": -2^2 is 4.
    Node percent() {
        Node n = unary();
        while (eat(u'%'))
            n = Node::makeUnary(Op::Percent, std::move(n));
        return n;
    }

    Node unary() {
        for (Op op : {Op::Negate, Op::Plus}) {
            if (eat(op == Op::Negate ? u'-' : u'+')) {
                if (++depth_ > kMaxDepth)
                    fail("too many signs");
                Node n = Node::makeUnary(op, unary());
                --depth_;
                return n;
            }
        }
        return primary();
    }

    Node primary() {
        skip();
        if (i_ >= t_.size())
            fail("an operand is missing");
        char16_t c = t_[i_];
        if (c == u'(') {
            if (++depth_ > kMaxDepth)
                fail("parentheses nest too deep");
            ++i_;
            Node inner = expression(0);
            if (!eat(u')'))
                fail("a closing parenthesis is missing");
            --depth_;
            return Node::makeParen(std::move(inner));
        }
        if (c == u'"')
            return Node::makeText(stringLiteral());
        if (c == u'#')
            return errorLiteral();
        if (c == u'\'') {
            std::u16string sheet = quotedSheet();
            return sheetReference(std::move(sheet));
        }
        if (auto ref = reference(std::nullopt))
            return std::move(*ref);
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

    Node errorLiteral() {
        for (std::size_t len = 7; len >= 4; --len) {
            if (i_ + len > t_.size())
                continue;
            if (auto e = parseErrorText(t_.substr(i_, len))) {
                i_ += len;
                return Node::makeError(*e);
            }
        }
        fail("unknown error value");
    }

    Node numberLiteral() {
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
        std::u16string_view digits = t_.substr(start, i_ - start);
        if (digits.find(u',') != std::u16string_view::npos)
            fail("bad number");
        auto n = readNumber(digits);
        if (!n)
            fail("bad number");
        return Node::makeNumber(*n);
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

    Node sheetReference(std::u16string sheet) {
        if (i_ + 5 <= t_.size() && parseErrorText(t_.substr(i_, 5)) == ErrorCode::Ref) {
            i_ += 5;
            Node n = Node::makeError(ErrorCode::Ref);
            n.sheet = std::move(sheet);
            return n;
        }
        auto ref = reference(std::move(sheet));
        if (!ref)
            fail("a reference must follow the sheet name");
        return std::move(*ref);
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

    // A reference at the current position, or nothing (and the position unchanged).
    std::optional<Node> reference(std::optional<std::u16string> sheet) {
        skip();
        std::size_t start = i_;
        Corner a;
        if (!corner(a))
            return std::nullopt;
        auto undo = [&]() -> std::optional<Node> {
            i_ = start;
            return std::nullopt;
        };
        bool cell = a.hasCol && a.hasRow;
        if (i_ < t_.size() && t_[i_] == u':') {
            ++i_;
            Corner b;
            if (!corner(b) || b.hasCol != a.hasCol || b.hasRow != a.hasRow)
                return undo();
            if (i_ < t_.size() && (isNameChar(t_[i_]) || t_[i_] == u'('))
                return undo();
            if (cell)
                return Node::makeArea({a.row, a.col, a.rowAbs, a.colAbs}, {b.row, b.col, b.rowAbs, b.colAbs},
                                      std::move(sheet));
            if (a.hasCol)
                return Node::makeColumns(a.col, a.colAbs, b.col, b.colAbs, std::move(sheet));
            return Node::makeRows(a.row, a.rowAbs, b.row, b.rowAbs, std::move(sheet));
        }
        if (!cell || (i_ < t_.size() && (isNameChar(t_[i_]) || t_[i_] == u'(' || t_[i_] == u'!')))
            return undo();
        return Node::makeReference({a.row, a.col, a.rowAbs, a.colAbs}, std::move(sheet));
    }

    Node identifier() {
        std::size_t start = i_;
        while (i_ < t_.size() && isNameChar(t_[i_]))
            ++i_;
        std::u16string name(t_.substr(start, i_ - start));
        if (i_ < t_.size() && t_[i_] == u'!') {
            ++i_;
            return sheetReference(std::move(name));
        }
        if (at(u'('))
            return call(std::move(name));
        if (compareFolded(name, u"TRUE") == 0)
            return Node::makeBoolean(true);
        if (compareFolded(name, u"FALSE") == 0)
            return Node::makeBoolean(false);
        if (isDigit(name[0]))
            fail("bad number");
        return Node::makeName(std::move(name));
    }

    Node call(std::u16string name) {
        if (++depth_ > kMaxDepth)
            fail("functions nest too deep");
        eat(u'(');
        std::vector<Node> args;
        if (!eat(u')')) {
            for (;;) {
                if (at(u',') || at(u')'))
                    args.push_back(Node::makeMissing());
                else
                    args.push_back(expression(0));
                if (eat(u')'))
                    break;
                if (!eat(u','))
                    fail("a comma or closing parenthesis is missing");
            }
        }
        --depth_;
        if (auto id = findFunction(name)) {
            const Function& f = function(*id);
            int n = static_cast<int>(args.size());
            if (n < f.minArgs || n > f.maxArgs)
                fail("wrong number of arguments");
            name = std::u16string(f.name);
        }
        return Node::makeFunction(std::move(name), std::move(args));
    }

    std::u16string_view t_;
    std::size_t i_ = 0;
    int depth_ = 0;
};

} // namespace

Node parse(std::u16string_view text) {
    return Parser(text).parseFormula();
}

} // namespace engine::formula
