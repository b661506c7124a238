#include "engine/xls/sheet_extras_records.h"

#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"

#include <algorithm>

namespace engine::xls {

namespace {

// Breaks a record holds: Excel allows 1026 on a sheet.
constexpr size_t MaxBreaks = 1026;

std::optional<Area> ref8(ByteReader& in) {
    int r1 = in.u16(), r2 = in.u16(), c1 = in.u16(), c2 = in.u16();
    if (r1 > r2 || c1 > c2 || c2 > kLastColumn)
        return std::nullopt;
    return Area{r1, c1, r2, c2};
}

void putRef8(std::vector<uint8_t>& o, const Area& a) {
    putU16(o, uint16_t(a.top));
    putU16(o, uint16_t(a.bottom));
    putU16(o, uint16_t(a.left));
    putU16(o, uint16_t(a.right));
}

Area bounds(const std::vector<Area>& areas) {
    Area b = areas.front();
    for (const Area& a : areas) {
        b.top = std::min(b.top, a.top);
        b.left = std::min(b.left, a.left);
        b.bottom = std::max(b.bottom, a.bottom);
        b.right = std::max(b.right, a.right);
    }
    return b;
}

} // namespace

std::vector<PageBreak> readPageBreaks(std::span<const uint8_t> body, bool rows) {
    ByteReader in(body);
    size_t count = in.u16();
    if (count * 6 > in.remaining())
        throw FormatError("a sheet's list of page breaks is shorter than it claims");
    int limit = rows ? kLastRow : kLastColumn;
    int across = rows ? kLastColumn : kLastRow;
    std::vector<PageBreak> breaks;
    for (size_t i = 0; i < count; ++i) {
        PageBreak b{in.u16(), in.u16(), in.u16()};
        // A break before the first row or column, or beyond the sheet, breaks nothing.
        if (b.at < 1 || b.at > limit)
            continue;
        b.last = std::min(b.last, across);
        b.first = std::min(b.first, b.last);
        breaks.push_back(b);
    }
    return breaks;
}

void putPageBreaks(RecordWriter& w, const std::vector<PageBreak>& breaks, bool rows) {
    if (breaks.empty())
        return;
    auto& o = w.out();
    size_t n = std::min(breaks.size(), MaxBreaks);
    size_t h = w.begin(rows ? rec::HorizontalPageBreaks : rec::VerticalPageBreaks);
    putU16(o, uint16_t(n));
    for (size_t i = 0; i < n; ++i) {
        putU16(o, uint16_t(breaks[i].at));
        putU16(o, uint16_t(breaks[i].first));
        putU16(o, uint16_t(breaks[i].last));
    }
    w.end(h);
}

std::optional<Hyperlink> readHyperlink(std::span<const uint8_t> body) {
    ByteReader in(body);
    auto area = ref8(in);
    if (!area)
        return std::nullopt;
    auto rest = in.bytes(in.remaining());
    return Hyperlink{*area, {rest.begin(), rest.end()}, {}};
}

std::u16string readTooltip(std::span<const uint8_t> body) {
    ByteReader in(body);
    in.skip(4 + 8);
    std::u16string text;
    while (in.remaining() >= 2) {
        char16_t c = in.u16();
        if (c == 0)
            break;
        text += c;
    }
    return text;
}

void putHyperlink(RecordWriter& w, const Hyperlink& link) {
    auto& o = w.out();
    size_t h = w.begin(rec::HLink);
    putRef8(o, link.area);
    o.insert(o.end(), link.target.begin(), link.target.end());
    w.end(h);
    if (link.tooltip.empty())
        return;
    h = w.begin(rec::QuickTip);
    putU16(o, rec::QuickTip);
    putU16(o, 0);
    putRef8(o, link.area);
    // At most what one record holds.
    for (char16_t c : std::u16string_view(link.tooltip).substr(0, 255))
        putU16(o, c);
    putU16(o, 0);
    w.end(h);
}

std::optional<std::vector<Area>> readConditionalAreas(std::span<const uint8_t> body) {
    ByteReader in(body);
    in.skip(2 + 2 + 8);
    size_t count = in.u16();
    if (count * 8 > in.remaining())
        throw FormatError("a conditional format's list of ranges is shorter than it claims");
    std::vector<Area> areas;
    for (size_t i = 0; i < count; ++i) {
        auto a = ref8(in);
        if (!a)
            return std::nullopt;
        areas.push_back(*a);
    }
    if (areas.empty())
        return std::nullopt;
    return areas;
}

ConditionalRule readConditionalRule(std::span<const uint8_t> body, const TokenContext& context,
                                    CellAddress base) {
    ByteReader in(body);
    ConditionalRule rule;
    uint8_t kind = in.u8(), op = in.u8();
    size_t length1 = in.u16(), length2 = in.u16();
    if (kind != 1 && kind != 2)
        throw UnsupportedFormula("conditional format of an unknown kind");
    if (kind == 1 && (op < 1 || op > 8))
        throw FormatError("a conditional format compares in a way that does not exist");
    if (length1 + length2 > in.remaining())
        throw FormatError("a conditional format is shorter than its formulas");
    rule.kind = ConditionalRule::Kind(kind);
    rule.op = kind == 1 ? ValidationOperator(op - 1) : ValidationOperator::Between;
    auto appearance = in.bytes(in.remaining() - length1 - length2);
    rule.appearance.assign(appearance.begin(), appearance.end());
    auto tokens1 = in.bytes(length1), tokens2 = in.bytes(length2);
    if (!tokens1.empty())
        decodeProgram(tokens1, context, base.row, base.col, rule.formula1);
    if (!tokens2.empty())
        decodeProgram(tokens2, context, base.row, base.col, rule.formula2);
    return rule;
}

void putConditionalFormat(RecordWriter& w, const ConditionalFormat& format, uint16_t id,
                          const FormulaEncoder& encoder) {
    if (format.areas.empty() || format.rules.empty())
        return;
    auto& o = w.out();
    size_t h = w.begin(rec::CondFmt);
    putU16(o, uint16_t(format.rules.size()));
    putU16(o, uint16_t(id & 0x7FFF) << 1);
    putRef8(o, bounds(format.areas));
    putU16(o, uint16_t(format.areas.size()));
    for (const Area& a : format.areas)
        putRef8(o, a);
    w.end(h);
    // The rules' formulas were compiled as if in the top-left cell of the areas.
    const Area bound = bounds(format.areas);
    const CellAddress origin{bound.top, bound.left};
    for (const ConditionalRule& rule : format.rules) {
        h = w.begin(rec::Cf);
        putU8(o, uint8_t(rule.kind));
        putU8(o, rule.kind == ConditionalRule::Kind::CellValue ? uint8_t(uint8_t(rule.op) + 1) : 0);
        size_t lengthsAt = o.size();
        putU16(o, 0);
        putU16(o, 0);
        o.insert(o.end(), rule.appearance.begin(), rule.appearance.end());
        size_t start = o.size();
        if (!rule.formula1.empty())
            encoder.encode(rule.formula1, o, OperandClass::Value, origin);
        patchU16(o, lengthsAt, uint16_t(o.size() - start));
        start = o.size();
        if (!rule.formula2.empty())
            encoder.encode(rule.formula2, o, OperandClass::Value, origin);
        patchU16(o, lengthsAt + 2, uint16_t(o.size() - start));
        w.end(h);
    }
}

} // namespace engine::xls
