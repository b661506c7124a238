#include "engine/formula/printer.h"

#include "engine/core/address.h"
#include "engine/core/error.h"
#include "engine/core/text.h"
#include "engine/formula/functions.h"

#include <vector>

namespace engine::formula {
namespace {

bool isPlainChar(char16_t c, bool first) {
    bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    return letter || (!first && ((c >= u'0' && c <= u'9') || c == u'.'));
}

std::u16string_view opText(Op op) {
    switch (op) {
    case Op::Add:
    case Op::Plus:
        return u"+";
    case Op::Subtract:
    case Op::Negate:
        return u"-";
    case Op::Multiply:
        return u"*";
    case Op::Divide:
        return u"/";
    case Op::Power:
        return u"^";
    case Op::Concat:
        return u"&";
    case Op::Equal:
        return u"=";
    case Op::NotEqual:
        return u"<>";
    case Op::Less:
        return u"<";
    case Op::LessEqual:
        return u"<=";
    case Op::Greater:
        return u">";
    case Op::GreaterEqual:
        return u">=";
    case Op::Percent:
        return u"%";
    case Op::Union:
        return u",";
    case Op::Intersect:
        return u" ";
    case Op::Range:
        return u":";
    }
    return u"";
}

// Appending piece by piece (rather than "$" + text) also keeps GCC 12's -Wrestrict quiet.
void rowPart(int row, bool absolute, std::u16string& out) {
    if (absolute)
        out += u'$';
    out += formatAddress({row, 0}, false).substr(1);
}

void colPart(int col, bool absolute, std::u16string& out) {
    if (absolute)
        out += u'$';
    out += columnName(col);
}

void reference(const Token& t, std::u16string& out) {
    const AreaBits& a = t.payload.area;
    if (!(t.flags & kWholeRows))
        colPart(a.left, t.flags & kLeftAbsolute, out);
    if (!(t.flags & kWholeColumns))
        rowPart(a.top, t.flags & kTopAbsolute, out);
    if (t.kind == TokenKind::Ref)
        return;
    out += u':';
    if (!(t.flags & kWholeRows))
        colPart(a.right, t.flags & kRightAbsolute, out);
    if (!(t.flags & kWholeColumns))
        rowPart(a.bottom, t.flags & kBottomAbsolute, out);
}

// Writes operands onto a stack of texts as the postfix tokens come; each operator takes its operands'
// texts off the top. The stack's texts are kept from formula to formula.
class Printer {
public:
    Printer(std::span<const Token> p, const SheetNames& sheets) : p_(p), sheets_(sheets) {}

    std::u16string run() {
        for (i_ = 0; i_ < p_.size(); ++i_)
            token(p_[i_]);
        if (stack_.size() != 1)
            malformed();
        return std::move(stack_.back());
    }

private:
    [[noreturn]] static void malformed() { throw EngineError("formula program is malformed"); }

    std::u16string& push() {
        bareUnion_.push_back(false);
        return stack_.emplace_back();
    }
    // The first of the top `n` texts.
    std::u16string& take(std::size_t n) {
        if (stack_.size() < n)
            malformed();
        return stack_[stack_.size() - n];
    }
    void call(std::u16string_view name, std::size_t argc) {
        if (stack_.size() < argc)
            malformed();
        std::u16string text(name);
        text += u'(';
        for (std::size_t k = stack_.size() - argc; k < stack_.size(); ++k) {
            if (k > stack_.size() - argc)
                text += u',';
            // A union as an argument reads as two arguments unless it is in parentheses, which a file
            // may leave out.
            if (bareUnion_[k])
                text += u'(';
            text += stack_[k];
            if (bareUnion_[k])
                text += u')';
        }
        text += u')';
        stack_.resize(stack_.size() - argc);
        bareUnion_.resize(stack_.size());
        push() = std::move(text);
    }
    // The "Sheet!" before a reference; false when its sheet is gone.
    bool sheetPrefix(const Token& t, std::u16string& out) {
        if (t.sheet == kOwnSheet)
            return true;
        auto name = sheets_.name ? sheets_.name(t.sheet) : std::nullopt;
        if (!name)
            return false;
        out += quoteSheetName(*name);
        out += u'!';
        return true;
    }

    void token(const Token& t) {
        switch (t.kind) {
        case TokenKind::Number:
            push() = formatNumber(t.payload.number);
            return;
        case TokenKind::Text: {
            std::u16string& out = push();
            out += u'"';
            for (char16_t c : readChars(p_, i_, t.payload.length)) {
                out += c;
                if (c == u'"')
                    out += c;
            }
            out += u'"';
            return;
        }
        case TokenKind::Chars:
            return;
        case TokenKind::Boolean:
            push() = t.payload.code ? u"TRUE" : u"FALSE";
            return;
        case TokenKind::Error:
            push() = errorText(static_cast<ErrorCode>(t.payload.code));
            return;
        case TokenKind::Missing:
            push();
            return;
        case TokenKind::RefError: {
            std::u16string& out = push();
            if (!sheetPrefix(t, out))
                out.clear();
            out += errorText(ErrorCode::Ref);
            return;
        }
        case TokenKind::Ref:
        case TokenKind::Area: {
            std::u16string& out = push();
            if (sheetPrefix(t, out))
                reference(t, out);
            else
                out = errorText(ErrorCode::Ref);
            return;
        }
        case TokenKind::Function:
            return call(function(t.payload.call.id).name, t.payload.call.argc);
        case TokenKind::Name: {
            std::u16string name = readChars(p_, i_, t.payload.call.id);
            if (t.flags & kUnknownCall)
                return call(name, t.payload.call.argc);
            push() = std::move(name);
            return;
        }
        case TokenKind::Unary: {
            std::u16string& operand = take(1);
            Op op = static_cast<Op>(t.payload.code);
            if (op == Op::Percent)
                operand += u'%';
            else
                operand.insert(0, opText(op));
            return;
        }
        case TokenKind::Binary: {
            std::u16string& left = take(2);
            left += opText(static_cast<Op>(t.payload.code));
            left += stack_.back();
            stack_.pop_back();
            bareUnion_.pop_back();
            bareUnion_.back() = static_cast<Op>(t.payload.code) == Op::Union;
            return;
        }
        case TokenKind::Paren: {
            std::u16string& inner = take(1);
            inner.insert(0, 1, u'(');
            inner += u')';
            bareUnion_.back() = false;
            return;
        }
        case TokenKind::Array:
            return array(t.payload.array);
        }
    }

    // {1,2;3,4}: each value printed as a constant of its own, then joined.
    void array(const ArrayBits& a) {
        std::size_t last = i_ + a.tokens;
        if (last >= p_.size())
            malformed();
        std::u16string text = u"{";
        std::size_t depth = stack_.size();
        for (int r = 0; r < a.rows; ++r)
            for (int c = 0; c < a.columns; ++c) {
                if (++i_ > last)
                    malformed();
                const Token& v = p_[i_];
                if (v.kind != TokenKind::Number && v.kind != TokenKind::Text &&
                    v.kind != TokenKind::Boolean && v.kind != TokenKind::Error)
                    malformed();
                token(v);
                if (r + c > 0)
                    text += c == 0 ? u';' : u',';
                text += stack_.back();
                stack_.pop_back();
            }
        if (i_ != last || stack_.size() != depth)
            malformed();
        push() = text + u"}";
    }

    std::span<const Token> p_;
    const SheetNames& sheets_;
    std::size_t i_ = 0;
    std::vector<std::u16string> stack_;
    std::vector<bool> bareUnion_; // whether each text of the stack is a union without parentheses
};

} // namespace

std::u16string quoteSheetName(const std::u16string& name) {
    bool plain = !name.empty() && !parseArea(name);
    for (std::size_t i = 0; i < name.size() && plain; ++i)
        plain = isPlainChar(name[i], i == 0);
    if (plain && (compareFolded(name, u"TRUE") == 0 || compareFolded(name, u"FALSE") == 0))
        plain = false;
    if (plain)
        return name;
    std::u16string q = u"'";
    for (char16_t c : name) {
        q += c;
        if (c == u'\'')
            q += c;
    }
    return q + u"'";
}

std::u16string print(std::span<const Token> program, const SheetNames& sheets) {
    return Printer(program, sheets).run();
}

} // namespace engine::formula
