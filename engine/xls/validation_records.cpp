#include "engine/xls/validation_records.h"

#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/xls/bytes.h"
#include "engine/xls/ptg.h"
#include "engine/xls/unicode_string.h"

#include <algorithm>
#include <tuple>

namespace engine::xls {

namespace {

constexpr uint32_t ExplicitList = 0x80;
constexpr uint32_t AllowBlank = 0x100;
constexpr uint32_t NoDropDown = 0x200;
constexpr uint32_t ShowInput = 0x40000;
constexpr uint32_t ShowError = 0x80000;
// The longest list a DV record holds.
constexpr size_t MaxListLength = 255;

bool hasText(const std::u16string& s) {
    return !s.empty() && !(s.size() == 1 && s[0] == 0);
}

// A rule's formula: the list items, a number, or "=" and a formula.
std::u16string formulaText(std::span<const uint8_t> tokens, const TokenContext& context, const Area& at,
                           bool list) {
    if (tokens.empty())
        return {};
    formula::Program p;
    decodeProgram(tokens, context, at.top, at.left, p);
    if (list && p[0].kind == formula::TokenKind::Text &&
        p.size() == 1 + formula::charTokens(p[0].payload.length)) {
        size_t i = 0;
        std::u16string items = formula::readChars(p, i, p[0].payload.length);
        for (char16_t& c : items)
            if (c == 0)
                c = u',';
        return items;
    }
    std::u16string text = formula::print(p, context.sheetNames());
    if (p.size() == 1 && p[0].kind == formula::TokenKind::Number)
        return text;
    return u"=" + text;
}

// Relative references are written as offsets from `origin`, the top-left cell of the first area, as
// they are read.
void putFormula(std::vector<uint8_t>& out, const std::u16string& text, bool list, CellAddress origin,
                const FormulaEncoder& encoder, const formula::SheetNames& sheets) {
    size_t sizeAt = out.size();
    putU16(out, 0);
    putU16(out, 0);
    if (text.empty())
        return;
    size_t start = out.size();
    if (!text.empty() && text[0] == u'=') {
        formula::Program p;
        try {
            p = formula::parse(std::u16string_view(text).substr(1), sheets);
        } catch (const EngineError&) {
            throw FormatError("a data validation holds a formula that does not parse");
        }
        encoder.encode(p, out, list ? OperandClass::Reference : OperandClass::Value, origin);
    } else if (list) {
        if (text.size() > MaxListLength)
            throw FormatError(
                "a drop-down list is longer than the 255 characters an Excel 97-2003 file holds");
        std::u16string items = text;
        for (char16_t& c : items)
            if (c == u',')
                c = 0;
        putU8(out, ptg::Str);
        putUnicode8(out, items);
    } else {
        formula::Program p;
        try {
            p = formula::parse(text, sheets);
        } catch (const EngineError&) {
            formula::appendText(p, text);
        }
        encoder.encode(p, out, OperandClass::Value, origin);
    }
    patchU16(out, sizeAt, uint16_t(out.size() - start));
}

} // namespace

std::vector<Area> coalesceAreas(std::vector<Area> areas) {
    std::sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) {
        return std::tie(a.left, a.right, a.top) < std::tie(b.left, b.right, b.top);
    });
    std::vector<Area> out;
    for (const Area& a : areas) {
        Area* last = out.empty() ? nullptr : &out.back();
        if (last && last->left == a.left && last->right == a.right && a.top <= last->bottom + 1)
            last->bottom = std::max(last->bottom, a.bottom);
        else
            out.push_back(a);
    }
    return out;
}

ReadValidation readValidation(std::span<const uint8_t> body, const TokenContext& context) {
    ByteReader in(body);
    ReadValidation r;
    uint32_t flags = in.u32();
    // Excel stores an absent title or message as a single zero character.
    auto message = [&] {
        std::u16string text = readUnicode16(in);
        return hasText(text) ? text : std::u16string();
    };
    std::u16string inputTitle = message(), errorTitle = message();
    std::u16string inputMessage = message(), errorMessage = message();
    size_t length1 = in.u16();
    in.u16();
    auto tokens1 = in.bytes(length1);
    size_t length2 = in.u16();
    in.u16();
    auto tokens2 = in.bytes(length2);
    size_t count = in.u16();
    if (count * 8 > in.remaining())
        throw FormatError("a data validation's list of cells is shorter than it claims");
    for (size_t i = 0; i < count; ++i) {
        int r1 = in.u16(), r2 = in.u16(), c1 = in.u16(), c2 = in.u16();
        if (r1 > r2 || c1 > c2 || c2 > kLastColumn)
            throw FormatError("a data validation covers cells outside the sheet");
        r.areas.push_back({r1, c1, r2, c2});
    }
    if (r.areas.empty())
        return r;

    ValidationRule rule;
    uint32_t type = flags & 0x0F;
    uint32_t alert = (flags >> 4) & 0x07;
    uint32_t op = (flags >> 20) & 0x0F;
    if (type > 7 || alert > 2 || op > 7)
        throw FormatError("a data validation has an unknown kind");
    rule.type = ValidationType(type);
    rule.alert = AlertStyle(alert);
    rule.op = ValidationOperator(op);
    rule.ignoreBlank = flags & AllowBlank;
    rule.inCellDropdown = !(flags & NoDropDown);
    rule.showError = flags & ShowError;
    rule.showInput = flags & ShowInput;
    rule.inputTitle = std::move(inputTitle);
    rule.inputMessage = std::move(inputMessage);
    rule.errorTitle = std::move(errorTitle);
    rule.errorMessage = std::move(errorMessage);
    bool list = rule.type == ValidationType::List;
    try {
        rule.formula1 = formulaText(tokens1, context, r.areas[0], list);
        rule.formula2 = formulaText(tokens2, context, r.areas[0], false);
    } catch (const UnsupportedFormula&) {
        r.unkept = "data validations this program cannot read";
        return r;
    }
    r.rule = rule;
    return r;
}

void putValidation(std::vector<uint8_t>& out, const ValidationRule& rule, std::span<const Area> areas,
                   const FormulaEncoder& encoder, const formula::SheetNames& sheets) {
    bool list = rule.type == ValidationType::List;
    uint32_t flags = uint32_t(rule.type) | uint32_t(rule.alert) << 4 | uint32_t(rule.op) << 20;
    if (rule.showError)
        flags |= ShowError;
    if (rule.showInput)
        flags |= ShowInput;
    if (list && (rule.formula1.empty() || rule.formula1[0] != u'='))
        flags |= ExplicitList;
    if (rule.ignoreBlank)
        flags |= AllowBlank;
    if (!rule.inCellDropdown)
        flags |= NoDropDown;
    putU32(out, flags);
    for (const std::u16string* text :
         {&rule.inputTitle, &rule.errorTitle, &rule.inputMessage, &rule.errorMessage})
        putUnicode16(out, text->empty() ? std::u16string(1, u'\0') : *text);
    const CellAddress origin{areas.front().top, areas.front().left};
    putFormula(out, rule.formula1, list, origin, encoder, sheets);
    putFormula(out, rule.formula2, false, origin, encoder, sheets);
    putU16(out, uint16_t(areas.size()));
    for (const Area& a : areas) {
        putU16(out, uint16_t(a.top));
        putU16(out, uint16_t(a.bottom));
        putU16(out, uint16_t(a.left));
        putU16(out, uint16_t(a.right));
    }
}

} // namespace engine::xls
