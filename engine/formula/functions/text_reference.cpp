#include "engine/formula/functions/text_reference.h"

#include "engine/core/address.h"

#include <algorithm>

namespace engine::formula {
namespace {

// One part of an R1C1 reference ("R5", "R[-2]", "R" alone for the formula's own row) at `s`, which
// it consumes; nothing when `s` does not start with it.
std::optional<int> readPart(std::u16string_view& s, char16_t letter, int own, int last) {
    if (s.empty() || (s[0] | 0x20) != (letter | 0x20))
        return std::nullopt;
    s.remove_prefix(1);
    bool relative = !s.empty() && s[0] == u'[';
    if (relative)
        s.remove_prefix(1);
    bool negative = !s.empty() && s[0] == u'-' && relative;
    if (negative)
        s.remove_prefix(1);
    long n = 0;
    std::size_t digits = 0;
    while (digits < s.size() && s[digits] >= u'0' && s[digits] <= u'9' && digits < 6)
        n = n * 10 + (s[digits++] - u'0');
    s.remove_prefix(digits);
    if (relative) {
        if (s.empty() || s[0] != u']' || digits == 0)
            return std::nullopt;
        s.remove_prefix(1);
    }
    long at = relative ? own + (negative ? -n : n) : digits == 0 ? own : n - 1;
    if (at < 0 || at > last)
        return std::nullopt;
    return static_cast<int>(at);
}

std::optional<CellAddress> readR1C1Cell(std::u16string_view& s, int row, int col) {
    auto r = readPart(s, u'R', row, kLastRow);
    if (!r)
        return std::nullopt;
    auto c = readPart(s, u'C', col, kLastColumn);
    if (!c)
        return std::nullopt;
    return CellAddress{*r, *c};
}

std::optional<Area> readR1C1(std::u16string_view s, int row, int col) {
    auto first = readR1C1Cell(s, row, col);
    if (!first)
        return std::nullopt;
    CellAddress second = *first;
    if (!s.empty() && s[0] == u':') {
        s.remove_prefix(1);
        auto b = readR1C1Cell(s, row, col);
        if (!b)
            return std::nullopt;
        second = *b;
    }
    if (!s.empty())
        return std::nullopt;
    return Area{std::min(first->row, second.row), std::min(first->col, second.col),
                std::max(first->row, second.row), std::max(first->col, second.col)};
}

// The sheet a reference names before its "!" ('quoted' with '' for a quote), removed from `s`.
std::optional<std::u16string> readSheetName(std::u16string_view& s) {
    std::size_t bang = s.rfind(u'!');
    if (bang == std::u16string_view::npos)
        return std::nullopt;
    std::u16string_view name = s.substr(0, bang);
    s.remove_prefix(bang + 1);
    if (name.size() >= 2 && name.front() == u'\'' && name.back() == u'\'') {
        std::u16string out;
        name = name.substr(1, name.size() - 2);
        for (std::size_t i = 0; i < name.size(); ++i) {
            out += name[i];
            if (name[i] == u'\'' && i + 1 < name.size() && name[i + 1] == u'\'')
                ++i;
        }
        return out;
    }
    return std::u16string(name);
}

// The cells a defined name stands for, when it stands for cells.
std::optional<RefOperand> namedReference(std::u16string_view name, EvalContext& context, SheetId sheet) {
    std::span<const Token> d = context.definedName(name, sheet);
    if (d.empty() || (d[0].kind != TokenKind::Ref && d[0].kind != TokenKind::Area))
        return std::nullopt;
    const AreaBits& b = d[0].payload.area;
    Area area =
        d[0].kind == TokenKind::Ref ? Area::cell(b.top, b.left) : Area{b.top, b.left, b.bottom, b.right};
    return RefOperand{d[0].sheet == kOwnSheet ? sheet : d[0].sheet, area};
}

} // namespace

std::optional<RefOperand> readReference(std::u16string_view text, bool a1, EvalContext& context,
                                        SheetId sheet, int row, int col) {
    if (text.find(u'!') != std::u16string_view::npos) {
        auto name = readSheetName(text);
        auto id = name ? context.sheetNamed(*name) : std::nullopt;
        if (!id)
            return std::nullopt;
        sheet = *id;
    }
    if (auto area = a1 ? parseArea(text) : readR1C1(text, row, col))
        return RefOperand{sheet, *area};
    return namedReference(text, context, sheet);
}

} // namespace engine::formula
