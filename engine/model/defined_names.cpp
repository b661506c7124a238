#include "engine/model/defined_names.h"

#include "engine/core/text.h"

#include <algorithm>

namespace engine {

using formula::Token;
using formula::TokenKind;

void DefinedNames::define(DefinedName name) {
    auto same = std::find_if(names_.begin(), names_.end(), [&](const DefinedName& n) {
        return n.sheet == name.sheet && compareFolded(n.name, name.name) == 0;
    });
    if (same != names_.end())
        *same = std::move(name);
    else
        names_.push_back(std::move(name));
}

const DefinedName* DefinedNames::find(std::u16string_view name, formula::SheetId sheet) const {
    const DefinedName* global = nullptr;
    for (const DefinedName& n : names_) {
        if (compareFolded(n.name, name) != 0)
            continue;
        if (n.sheet == sheet)
            return &n;
        if (!n.sheet)
            global = &n;
    }
    return global;
}

std::span<const Token> DefinedNames::operand(std::u16string_view name, formula::SheetId sheet) const {
    const DefinedName* n = find(name, sheet);
    if (!n || n->definition.empty())
        return {};
    std::span<const Token> d = n->definition;
    switch (d[0].kind) {
    case TokenKind::Number:
    case TokenKind::Boolean:
    case TokenKind::Error:
    case TokenKind::Ref:
    case TokenKind::Area:
    case TokenKind::RefError:
        return d.size() == 1 || formula::isReferenceExpression(d) ? d : std::span<const Token>();
    case TokenKind::Text:
        return d.size() == 1 + formula::charTokens(d[0].payload.length) ? d : std::span<const Token>();
    default:
        return {};
    }
}

namespace {

// A name's reference with a relative part stands for cells relative to the formula using it: its
// offsets stay as they are whatever rows or columns come and go.
bool hasOffsets(const Token& t) {
    if (t.kind != TokenKind::Ref && t.kind != TokenKind::Area)
        return false;
    bool single = t.kind == TokenKind::Ref;
    bool rows = !(t.flags & formula::kWholeColumns) &&
                (!(t.flags & formula::kTopAbsolute) || (!single && !(t.flags & formula::kBottomAbsolute)));
    bool cols = !(t.flags & formula::kWholeRows) &&
                (!(t.flags & formula::kLeftAbsolute) || (!single && !(t.flags & formula::kRightAbsolute)));
    return rows || cols;
}

} // namespace

void DefinedNames::adjust(const formula::StructuralEdit& edit, formula::Reach& reach) {
    std::vector<std::pair<std::size_t, Token>> kept;
    for (DefinedName& n : names_) {
        kept.clear();
        for (std::size_t i = 0; i < n.definition.size(); ++i)
            if (hasOffsets(n.definition[i]))
                kept.emplace_back(i, n.definition[i]);
        formula::adjustProgram(n.definition, n.sheet.value_or(formula::kOwnSheet), edit, reach);
        for (const auto& [i, t] : kept)
            n.definition[i] = t;
    }
}

void DefinedNames::removeSheet(formula::SheetId sheet) {
    std::erase_if(names_, [&](const DefinedName& n) { return n.sheet == sheet; });
}

} // namespace engine
