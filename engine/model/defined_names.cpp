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
        return d.size() == 1 ? d : std::span<const Token>();
    case TokenKind::Text:
        return d.size() == 1 + formula::charTokens(d[0].payload.length) ? d : std::span<const Token>();
    default:
        return {};
    }
}

void DefinedNames::adjust(const formula::StructuralEdit& edit, formula::Reach& reach) {
    for (DefinedName& n : names_)
        formula::adjustProgram(n.definition, n.sheet.value_or(formula::kOwnSheet), edit, reach);
}

void DefinedNames::removeSheet(formula::SheetId sheet) {
    std::erase_if(names_, [&](const DefinedName& n) { return n.sheet == sheet; });
}

} // namespace engine
