#include "engine/formula/program.h"

#include "engine/core/address.h"
#include "engine/core/error.h"
#include "engine/core/text.h"
#include "engine/formula/functions.h"
#include "platform/text/utf.h"

#include <string>

namespace engine::formula {
namespace {

void pushChars(Program& p, std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); i += 4) {
        Token c;
        c.kind = TokenKind::Chars;
        for (std::size_t k = 0; k < 4 && i + k < s.size(); ++k)
            c.payload.chars[k] = s[i + k];
        p.push_back(c);
    }
}

std::uint8_t cornerFlags(const Node& n) {
    std::uint8_t f = 0;
    if (n.first.rowAbsolute)
        f |= kTopAbsolute;
    if (n.first.colAbsolute)
        f |= kLeftAbsolute;
    if (n.last.rowAbsolute)
        f |= kBottomAbsolute;
    if (n.last.colAbsolute)
        f |= kRightAbsolute;
    return f;
}

class Compiler {
public:
    Compiler(Program& out, const SheetNames& sheets) : p_(out), sheets_(sheets) {}

    void emit(const Node& n) {
        Token t;
        switch (n.kind) {
        case NodeKind::Number:
            t.kind = TokenKind::Number;
            t.payload.number = n.number;
            p_.push_back(t);
            return;
        case NodeKind::Text:
            t.kind = TokenKind::Text;
            t.payload.length = static_cast<std::uint32_t>(n.text.size());
            p_.push_back(t);
            pushChars(p_, n.text);
            return;
        case NodeKind::Boolean:
            t.kind = TokenKind::Boolean;
            t.payload.code = n.boolean ? 1 : 0;
            p_.push_back(t);
            return;
        case NodeKind::Error:
            if (n.sheet) {
                t.kind = TokenKind::RefError;
                t.sheet = sheet(*n.sheet);
            } else {
                t.kind = TokenKind::Error;
                t.payload.code = static_cast<std::uint8_t>(n.error);
            }
            p_.push_back(t);
            return;
        case NodeKind::Missing:
            t.kind = TokenKind::Missing;
            p_.push_back(t);
            return;
        case NodeKind::Reference:
        case NodeKind::Area:
        case NodeKind::Columns:
        case NodeKind::Rows:
            t.kind = n.kind == NodeKind::Reference ? TokenKind::Ref : TokenKind::Area;
            t.flags = cornerFlags(n);
            if (n.kind == NodeKind::Columns)
                t.flags |= kWholeColumns;
            if (n.kind == NodeKind::Rows)
                t.flags |= kWholeRows;
            if (n.sheet)
                t.sheet = sheet(*n.sheet);
            t.payload.area = {static_cast<std::uint16_t>(n.first.row), static_cast<std::uint16_t>(n.last.row),
                              static_cast<std::uint8_t>(n.first.col), static_cast<std::uint8_t>(n.last.col)};
            if (n.kind == NodeKind::Columns)
                t.payload.area.top = 0, t.payload.area.bottom = kLastRow;
            if (n.kind == NodeKind::Rows)
                t.payload.area.left = 0, t.payload.area.right = kLastColumn;
            p_.push_back(t);
            return;
        case NodeKind::Function: {
            for (const Node& a : n.args)
                emit(a);
            if (auto id = findFunction(n.text)) {
                t.kind = TokenKind::Function;
                t.payload.call = {*id, static_cast<std::uint8_t>(n.args.size())};
                p_.push_back(t);
            } else {
                t.kind = TokenKind::Name;
                t.flags = kUnknownCall;
                t.payload.call = {static_cast<std::uint16_t>(n.text.size()),
                                  static_cast<std::uint8_t>(n.args.size())};
                p_.push_back(t);
                pushChars(p_, n.text);
            }
            return;
        }
        case NodeKind::Name:
            t.kind = TokenKind::Name;
            t.payload.call = {static_cast<std::uint16_t>(n.text.size()), 0};
            p_.push_back(t);
            pushChars(p_, n.text);
            return;
        case NodeKind::Unary:
        case NodeKind::Binary:
            for (const Node& a : n.args)
                emit(a);
            t.kind = n.kind == NodeKind::Unary ? TokenKind::Unary : TokenKind::Binary;
            t.payload.code = static_cast<std::uint8_t>(n.op);
            p_.push_back(t);
            return;
        case NodeKind::Paren:
            emit(n.args.at(0));
            t.kind = TokenKind::Paren;
            p_.push_back(t);
            return;
        }
    }

private:
    SheetId sheet(const std::u16string& name) {
        auto id = sheets_.find ? sheets_.find(name) : std::nullopt;
        if (!id)
            throw EngineError("formula not accepted: the workbook has no sheet named " + text::toUtf8(name));
        return *id;
    }

    Program& p_;
    const SheetNames& sheets_;
};

} // namespace

Program compile(const Node& tree, const SheetNames& sheets) {
    Program p;
    Compiler(p, sheets).emit(tree);
    p.shrink_to_fit();
    return p;
}

Node decompile(std::span<const Token> p, const SheetNames& sheets) {
    std::vector<Node> stack;
    auto take = [&stack](std::size_t n) {
        if (stack.size() < n)
            throw EngineError("formula program is malformed");
        std::vector<Node> args(std::make_move_iterator(stack.end() - static_cast<std::ptrdiff_t>(n)),
                               std::make_move_iterator(stack.end()));
        stack.resize(stack.size() - n);
        return args;
    };
    auto sheetName = [&sheets](const Token& t, bool& lost) -> std::optional<std::u16string> {
        if (t.sheet == kOwnSheet)
            return std::nullopt;
        auto name = sheets.name ? sheets.name(t.sheet) : std::nullopt;
        lost = !name;
        return name;
    };
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Token& t = p[i];
        switch (t.kind) {
        case TokenKind::Number:
            stack.push_back(Node::makeNumber(t.payload.number));
            break;
        case TokenKind::Text:
            stack.push_back(Node::makeText(readChars(p, i, t.payload.length)));
            break;
        case TokenKind::Chars:
            break;
        case TokenKind::Boolean:
            stack.push_back(Node::makeBoolean(t.payload.code != 0));
            break;
        case TokenKind::Error:
            stack.push_back(Node::makeError(static_cast<ErrorCode>(t.payload.code)));
            break;
        case TokenKind::Missing:
            stack.push_back(Node::makeMissing());
            break;
        case TokenKind::RefError: {
            bool lost = false;
            Node n = Node::makeError(ErrorCode::Ref);
            n.sheet = sheetName(t, lost);
            if (lost)
                n.sheet.reset();
            stack.push_back(std::move(n));
            break;
        }
        case TokenKind::Ref:
        case TokenKind::Area: {
            bool lost = false;
            auto sheet = sheetName(t, lost);
            if (lost) {
                stack.push_back(Node::makeError(ErrorCode::Ref));
                break;
            }
            const AreaBits& a = t.payload.area;
            CellRef first{a.top, a.left, (t.flags & kTopAbsolute) != 0, (t.flags & kLeftAbsolute) != 0};
            CellRef last{a.bottom, a.right, (t.flags & kBottomAbsolute) != 0,
                         (t.flags & kRightAbsolute) != 0};
            if (t.kind == TokenKind::Ref)
                stack.push_back(Node::makeReference(first, std::move(sheet)));
            else if (t.flags & kWholeColumns)
                stack.push_back(Node::makeColumns(first.col, first.colAbsolute, last.col, last.colAbsolute,
                                                  std::move(sheet)));
            else if (t.flags & kWholeRows)
                stack.push_back(Node::makeRows(first.row, first.rowAbsolute, last.row, last.rowAbsolute,
                                               std::move(sheet)));
            else
                stack.push_back(Node::makeArea(first, last, std::move(sheet)));
            break;
        }
        case TokenKind::Function: {
            auto args = take(t.payload.call.argc);
            stack.push_back(
                Node::makeFunction(std::u16string(function(t.payload.call.id).name), std::move(args)));
            break;
        }
        case TokenKind::Name: {
            std::u16string name = readChars(p, i, t.payload.call.id);
            if (t.flags & kUnknownCall) {
                auto args = take(t.payload.call.argc);
                stack.push_back(Node::makeFunction(std::move(name), std::move(args)));
            } else {
                stack.push_back(Node::makeName(std::move(name)));
            }
            break;
        }
        case TokenKind::Unary: {
            auto args = take(1);
            stack.push_back(Node::makeUnary(static_cast<Op>(t.payload.code), std::move(args[0])));
            break;
        }
        case TokenKind::Binary: {
            auto args = take(2);
            stack.push_back(
                Node::makeBinary(static_cast<Op>(t.payload.code), std::move(args[0]), std::move(args[1])));
            break;
        }
        case TokenKind::Paren: {
            auto args = take(1);
            stack.push_back(Node::makeParen(std::move(args[0])));
            break;
        }
        }
    }
    if (stack.size() != 1)
        throw EngineError("formula program is malformed");
    return std::move(stack.back());
}

bool readsOtherSheets(std::span<const Token> p) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Token& t = p[i];
        if ((t.kind == TokenKind::Ref || t.kind == TokenKind::Area) && t.sheet != kOwnSheet)
            return true;
    }
    return false;
}

bool isVolatile(std::span<const Token> p) {
    for (const Token& t : p)
        if (t.kind == TokenKind::Function && function(t.payload.call.id).isVolatile)
            return true;
    return false;
}

std::u16string readChars(std::span<const Token> p, std::size_t& i, std::size_t length) {
    std::u16string s;
    s.reserve(length);
    while (s.size() < length) {
        const Token& c = p[++i];
        for (std::size_t k = 0; k < 4 && s.size() < length; ++k)
            s += c.payload.chars[k];
    }
    return s;
}

} // namespace engine::formula
