#include "engine/formula/program.h"

#include "engine/core/error.h"
#include "engine/formula/functions.h"
#include "platform/text/utf.h"

#include <algorithm>
#include <vector>

namespace engine::formula {

void appendChars(Program& p, std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); i += 4) {
        Token& c = p.emplace_back();
        c.kind = TokenKind::Chars;
        for (std::size_t k = 0; k < 4 && i + k < s.size(); ++k)
            c.payload.chars[k] = s[i + k];
    }
}

void appendText(Program& p, std::u16string_view s) {
    Token& t = p.emplace_back();
    t.kind = TokenKind::Text;
    t.payload.length = static_cast<std::uint32_t>(s.size());
    appendChars(p, s);
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

bool readsOtherSheets(std::span<const Token> p) {
    for (const Token& t : p)
        if ((t.kind == TokenKind::Ref || t.kind == TokenKind::Area) && t.sheet != kOwnSheet)
            return true;
    return false;
}

bool usesNames(std::span<const Token> p) {
    return std::any_of(p.begin(), p.end(), [](const Token& t) { return t.kind == TokenKind::Name; });
}

bool isReferenceExpression(std::span<const Token> p) {
    return !p.empty() && std::all_of(p.begin(), p.end(), [](const Token& t) {
        return t.kind == TokenKind::Ref || t.kind == TokenKind::Area || t.kind == TokenKind::RefError ||
               t.kind == TokenKind::Paren ||
               (t.kind == TokenKind::Binary && isReferenceOperator(static_cast<Op>(t.payload.code)));
    });
}

bool isVolatile(std::span<const Token> p) {
    for (const Token& t : p)
        if (t.kind == TokenKind::Function && function(t.payload.call.id).isVolatile)
            return true;
    return false;
}

bool readsShownRows(std::span<const Token> p) {
    static const std::optional<std::uint16_t> subtotal = findFunction(u"SUBTOTAL");
    return std::any_of(p.begin(), p.end(), [](const Token& t) {
        return t.kind == TokenKind::Function && t.payload.call.id == subtotal;
    });
}

void rebindSheets(std::span<Token> p, const SheetNames& from, const SheetNames& to) {
    // Found first, changed after: a sheet `to` lacks leaves the program as it was.
    std::vector<std::pair<std::size_t, std::optional<SheetId>>> changes;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Token& t = p[i];
        bool reference =
            t.kind == TokenKind::Ref || t.kind == TokenKind::Area || t.kind == TokenKind::RefError;
        if (!reference || t.sheet == kOwnSheet)
            continue;
        auto name = from.name ? from.name(t.sheet) : std::nullopt;
        if (!name) {
            changes.emplace_back(i, std::nullopt);
            continue;
        }
        auto id = to.find ? to.find(*name) : std::nullopt;
        if (!id)
            throw EngineError("formula not accepted: the workbook has no sheet named " + text::toUtf8(*name));
        changes.emplace_back(i, id);
    }
    for (auto [i, id] : changes) {
        Token& t = p[i];
        if (!id) {
            t.kind = TokenKind::RefError;
            t.sheet = kOwnSheet;
        } else {
            t.sheet = *id;
        }
    }
}

} // namespace engine::formula
