#include "engine/core/error.h"
#include "engine/xls/bytes.h"
#include "engine/xls/filter_records.h"
#include "engine/xls/format_mapping.h"
#include "engine/xls/ptg.h"
#include "engine/xls/record_types.h"
#include "engine/xls/sheet_drawing.h"
#include "engine/xls/sheet_extras_records.h"
#include "engine/xls/sheet_settings_records.h"
#include "engine/xls/unicode_string.h"
#include "engine/xls/validation_records.h"
#include "engine/xls/workbook_reader.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace engine::xls {

namespace {

constexpr uint16_t RString = 0x00D6;
// Far beyond any register, and low enough that a forged file cannot make the engine's per-range
// checks (each new range is compared with those already there) run for minutes.
constexpr size_t MaxRangesPerSheet = 16384;
// Validated ranges before equal rules' adjacent ranges are joined: one per cell of a full sheet's
// two drop-down columns, with room to spare.
constexpr size_t MaxValidatedCells = 1 << 20;
constexpr uint16_t Rk = rec::Rk;
// The cells a ROW record may make room for before they arrive.
constexpr int MaxCellsReservedPerRow = 16;

double rkValue(uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = double(int32_t(rk) >> 2);
    } else {
        uint64_t bits = uint64_t(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 0x01) ? v / 100 : v;
}

int column(uint16_t col) {
    if (col > kLastColumn)
        throw FormatError("a cell lies beyond the last column of the sheet");
    return col;
}

// A formula whose tokens live elsewhere: in a shared-formula record that may follow it.
struct SharedUse {
    int row, col;
    uint16_t anchorRow, anchorCol;
    Value cached;
};
struct SharedFormula {
    uint16_t firstRow, lastRow;
    uint8_t firstCol, lastCol;
    std::vector<uint8_t> tokens;
};
// An ARRAY record: the formula of an array formula's range, which its cells point to.
struct ArrayFormula {
    Area range;
    std::vector<uint8_t> tokens;
    std::vector<uint8_t> values; // of its array constants
    bool placed = false;
};

using ArrayFormulas = std::map<std::pair<uint16_t, uint16_t>, ArrayFormula>; // by first cell

// A cell of an array formula: the first of its cells to come places the formula over the whole range;
// each keeps the result the file stored where the engine does not compute the formula.
void placeArrayCell(Sheet& sheet, const SharedUse& use, ArrayFormulas& arrays, const TokenContext& context,
                    formula::Program& program) {
    auto it = use.anchorCol <= kLastColumn ? arrays.find({use.anchorRow, use.anchorCol}) : arrays.end();
    if (it == arrays.end() || !it->second.range.contains(use.row, use.col))
        throw UnsupportedFormula("a formula whose tokens are missing");
    ArrayFormula& a = it->second;
    if (!a.placed) {
        for (const Area& other : sheet.arrayFormulas())
            if (other.intersects(a.range))
                throw FormatError("array formulas overlap");
        decodeProgram(a.tokens, context, a.range.top, a.range.left, program, a.values);
        sheet.setArrayFormula(a.range, program);
        a.placed = true;
    }
    sheet.setFileResult(use.row, use.col, use.cached);
}

// The cached result of a FORMULA record; text results follow in a STRING record.
Value cachedResult(std::span<const uint8_t> bytes, bool& textFollows) {
    textFollows = false;
    if (bytes[6] != 0xFF || bytes[7] != 0xFF) {
        double d;
        std::memcpy(&d, bytes.data(), 8);
        return std::isfinite(d) ? Value::number(d) : Value::error(ErrorCode::Num);
    }
    switch (bytes[0]) {
    case 0:
        textFollows = true;
        return Value::text(u"");
    case 1:
        return Value::boolean(bytes[2] != 0);
    case 2:
        return Value::error(ptg::errorFromCode(bytes[2]).value_or(ErrorCode::Value));
    default:
        return Value::text(u"");
    }
}

// The range of a sheet's autofilter: the sheet's filter database name, when it names cells of the sheet.
std::optional<Area> filterDatabase(const Workbook& book, formula::SheetId sheet) {
    constexpr uint8_t FilterDatabase = 0x0D;
    for (const DefinedName& n : book.names().all()) {
        if (n.builtIn != FilterDatabase || n.sheet != sheet || n.definition.size() != 1)
            continue;
        const formula::Token& t = n.definition[0];
        const formula::AreaBits& a = t.payload.area;
        if (t.sheet != sheet)
            return std::nullopt;
        if (t.kind == formula::TokenKind::Ref)
            return Area::cell(a.top, a.left);
        if (t.kind == formula::TokenKind::Area && a.left <= kLastColumn && a.right <= kLastColumn)
            return Area{a.top, a.left, a.bottom, a.right};
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

void WorkbookReader::readSheet(Sheet& sheet, size_t offset, size_t end) {
    records_.seek(offset);
    if (!records_.next() || records_.type() != rec::Bof)
        throw FormatError("a sheet does not begin where the workbook says");
    {
        ByteReader bof(records_.body());
        if (bof.u16() != rec::Biff8Version || bof.u16() != rec::BofWorksheet)
            throw FormatError("a sheet is not a worksheet of Excel 97 or later");
    }

    formula::Program program; // each formula's translation in turn
    std::vector<SharedUse> sharedUses;
    std::map<std::pair<uint16_t, uint16_t>, SharedFormula> shared; // by first cell
    ArrayFormulas arrays;
    std::vector<std::pair<ValidationRule, std::vector<Area>>> rules;
    size_t ranges = 0;
    auto countRanges = [&](size_t n) {
        ranges += n;
        if (ranges > MaxRangesPerSheet)
            throw FormatError(
                "a sheet holds more merged ranges and validated ranges than this program handles");
    };
    // Where the text result of the last formula goes: a cell, a pending shared use, or nowhere.
    enum class TextTarget { None, Cell, Shared } target = TextTarget::None;
    int targetRow = 0, targetCol = 0;
    std::optional<uint16_t> defaultWidth;
    std::array<bool, kColumnCount> columnSet{};
    Selection selection;
    bool haveSelection = false;
    SheetSettings settings;
    std::vector<PageBreak> rowBreaks, columnBreaks;
    std::vector<Hyperlink> links;
    std::vector<ConditionalFormat> conditionals;
    CommentReader comments;
    const std::optional<Area> filterRange = filterDatabase(book_, sheet.id());
    std::optional<AutoFilter> filter;
    bool filterHidesRows = false;
    bool linkLast = false;        // the record before was a hyperlink, which a tooltip may follow
    bool conditionalOpen = false; // CF records go to the last conditional format
    int embedded = 0;             // depth of chart substreams inside the sheet

    auto place = [&](int row, int col, uint16_t xf) {
        FormatId f = formatOf(xf);
        if (f != sheet.row(row).format)
            sheet.setFormat(Area::cell(row, col), f);
    };
    auto formulaValue = [&](int row, int col, const Value& v, bool textFollows) {
        sheet.setValue(row, col, v);
        if (textFollows) {
            target = TextTarget::Cell;
            targetRow = row;
            targetCol = col;
        }
    };

    while (true) {
        if (!records_.next())
            throw FormatError("a sheet ends without its closing record");
        if (records_.offset() >= end)
            throw FormatError("a sheet runs into the next one without its closing record");
        uint16_t type = records_.type();
        if (embedded > 0) {
            if (type == rec::Bof)
                ++embedded;
            else if (type == rec::Eof)
                --embedded;
            continue;
        }
        // A text result's STRING record follows its FORMULA, at most after the formula's own records.
        if (type != rec::String && type != rec::ShrFmla && type != rec::Array)
            target = TextTarget::None;
        ByteReader in(records_.body());
        bool tooltipMayFollow = linkLast;
        linkLast = false;
        if (type != rec::Cf)
            conditionalOpen = false;
        switch (type) {
        case rec::Eof:
            goto done;
        case rec::Bof:
            dropped_.insert("drawings, pictures and charts");
            embedded = 1;
            break;
        case rec::Row: {
            int row = in.u16();
            int first = in.u16(), end = in.u16();
            // Room for the row's cells at once rather than growing as they come, within what a
            // forged count could make the reader hold.
            if (end > first)
                sheet.reserveCells(row, std::min(end - first, MaxCellsReservedPerRow));
            uint16_t height = in.u16();
            in.skip(4);
            uint32_t options = in.u32();
            RowProperties& p = sheet.editRow(row);
            p.outlineLevel = uint8_t(options & 0x07);
            p.collapsed = options & 0x10;
            p.hidden = options & 0x20;
            p.customHeight = options & 0x40;
            if (p.customHeight)
                p.height = (height & 0x7FFF) / 20.0;
            if (options & 0x80)
                p.format = formatOf(uint16_t((options >> 16) & 0x0FFF));
            break;
        }
        case rec::Number: {
            int row = in.u16(), col = column(in.u16());
            uint16_t xf = in.u16();
            double d = in.f64();
            sheet.setValue(row, col, std::isfinite(d) ? Value::number(d) : Value::error(ErrorCode::Num));
            place(row, col, xf);
            break;
        }
        case Rk: {
            int row = in.u16(), col = column(in.u16());
            uint16_t xf = in.u16();
            sheet.setValue(row, col, Value::number(rkValue(in.u32())));
            place(row, col, xf);
            break;
        }
        case rec::MulRk: {
            int row = in.u16();
            int col = in.u16();
            if (in.remaining() < 2 || (in.remaining() - 2) % 6 != 0)
                throw FormatError("a run of numbers is damaged");
            size_t count = (in.remaining() - 2) / 6;
            for (size_t i = 0; i < count; ++i, ++col) {
                uint16_t xf = in.u16();
                double v = rkValue(in.u32());
                column(uint16_t(col));
                sheet.setValue(row, col, Value::number(v));
                place(row, col, xf);
            }
            break;
        }
        case rec::LabelSst: {
            int row = in.u16(), col = column(in.u16());
            uint16_t xf = in.u16();
            setSharedString(sheet, row, col, in.u32());
            place(row, col, xf);
            break;
        }
        case rec::Label:
        case RString: {
            int row = in.u16(), col = column(in.u16());
            uint16_t xf = in.u16();
            sheet.setValue(row, col, Value::text(readUnicode16(in)));
            place(row, col, xf);
            break;
        }
        case rec::BoolErr: {
            int row = in.u16(), col = column(in.u16());
            uint16_t xf = in.u16();
            uint8_t v = in.u8();
            bool isError = in.u8();
            if (isError) {
                auto e = ptg::errorFromCode(v);
                if (!e)
                    throw FormatError("a cell holds an unknown error value");
                sheet.setValue(row, col, Value::error(*e));
            } else {
                sheet.setValue(row, col, Value::boolean(v != 0));
            }
            place(row, col, xf);
            break;
        }
        case rec::Blank: {
            int row = in.u16(), col = column(in.u16());
            place(row, col, in.u16());
            break;
        }
        case rec::MulBlank: {
            int row = in.u16();
            int col = in.u16();
            if (in.remaining() < 2 || in.remaining() % 2 != 0)
                throw FormatError("a run of blank cells is damaged");
            size_t count = (in.remaining() - 2) / 2;
            for (size_t i = 0; i < count; ++i, ++col)
                place(row, column(uint16_t(col)), in.u16());
            break;
        }
        case rec::Formula: {
            int row = in.u16(), col = column(in.u16());
            uint16_t xf = in.u16();
            bool textFollows;
            Value cached = cachedResult(in.bytes(8), textFollows);
            in.skip(6);
            size_t length = in.u16();
            auto tokens = in.bytes(length);
            place(row, col, xf);
            if (!tokens.empty() && tokens[0] == ptg::Exp) {
                ByteReader exp(tokens.subspan(1));
                uint16_t anchorRow = exp.u16(), anchorCol = exp.u16();
                // The cell gets its formula once the shared formulas are known, or its last result.
                sharedUses.push_back({row, col, anchorRow, anchorCol, cached});
                if (textFollows)
                    target = TextTarget::Shared;
                break;
            }
            try {
                decodeProgram(tokens, tokens_, row, col, program, in.bytes(in.remaining()));
                sheet.setFormula(row, col, program);
                sheet.setFileResult(row, col, cached);
                if (textFollows) {
                    target = TextTarget::Cell;
                    targetRow = row;
                    targetCol = col;
                }
            } catch (const UnsupportedFormula&) {
                dropped_.insert("formulas this program cannot read (their last results are kept)");
                formulaValue(row, col, cached, textFollows);
            } catch (const EngineError&) {
                dropped_.insert("formulas this program cannot read (their last results are kept)");
                formulaValue(row, col, cached, textFollows);
            }
            break;
        }
        case rec::String: {
            if (target == TextTarget::None)
                break;
            SegmentedReader text(records_.segments());
            Value v = Value::text(text.string());
            if (target == TextTarget::Cell && sheet.hasFormula(targetRow, targetCol))
                sheet.setFileResult(targetRow, targetCol, v);
            else if (target == TextTarget::Cell)
                sheet.setValue(targetRow, targetCol, v);
            else if (!sharedUses.empty())
                sharedUses.back().cached = v;
            target = TextTarget::None;
            break;
        }
        case rec::ShrFmla: {
            SharedFormula s;
            s.firstRow = in.u16();
            s.lastRow = in.u16();
            s.firstCol = in.u8();
            s.lastCol = in.u8();
            in.skip(2);
            size_t length = in.u16();
            auto t = in.bytes(length);
            s.tokens.assign(t.begin(), t.end());
            shared[{s.firstRow, s.firstCol}] = std::move(s);
            break;
        }
        case rec::Array: {
            ArrayFormula a;
            int top = in.u16(), bottom = in.u16();
            int left = in.u8(), right = in.u8();
            in.skip(6);
            size_t length = in.u16();
            auto t = in.bytes(length);
            auto v = in.bytes(in.remaining());
            if (bottom < top || right < left || right > kLastColumn)
                throw FormatError("an array formula's range is damaged");
            a.range = {top, left, bottom, right};
            a.tokens.assign(t.begin(), t.end());
            a.values.assign(v.begin(), v.end());
            arrays[{uint16_t(top), uint16_t(left)}] = std::move(a);
            break;
        }
        case rec::ColInfo: {
            uint16_t first = in.u16(), last = in.u16();
            uint16_t width = in.u16();
            uint16_t xf = in.u16();
            uint16_t options = in.u16();
            for (int c = first; c <= std::min<int>(last, kLastColumn); ++c) {
                ColumnProperties& p = sheet.editColumn(c);
                p.width = columnWidthFromStored(width);
                p.storedWidth = width;
                p.storedAsSetByHand = options & 0x02;
                p.customWidth = (options & 0x02) || std::abs(p.width - kDefaultColumnWidth) > 0.005;
                p.hidden = options & 0x01;
                p.outlineLevel = uint8_t((options >> 8) & 0x07);
                p.collapsed = options & 0x1000;
                p.format = formatOf(xf);
                columnSet[size_t(c)] = true;
            }
            break;
        }
        case rec::DefColWidth:
            defaultWidth = in.u16();
            break;
        case rec::DefaultRowHeight: {
            in.u16();
            uint16_t h = in.u16();
            if (h > 0 && h < 8192)
                sheet.setDefaultRowHeight(h / 20.0);
            break;
        }
        case rec::WsBool: {
            uint16_t options = in.u16();
            sheet.setOutline({bool(options & 0x40), bool(options & 0x80)});
            settings.page.fitToPages = options & 0x100;
            break;
        }
        case rec::Selection: {
            uint8_t pane = in.u8();
            Selection s;
            s.active.row = in.u16();
            s.active.col = std::min<int>(in.u16(), kLastColumn);
            in.u16();
            size_t count = in.u16();
            if (count * 6 > in.remaining())
                throw FormatError("a sheet's selection is shorter than it claims");
            s.areas.clear();
            for (size_t i = 0; i < count; ++i) {
                int r1 = in.u16(), r2 = in.u16(), c1 = in.u8(), c2 = in.u8();
                s.areas.push_back({std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)});
            }
            if (s.areas.empty())
                s.areas.push_back(Area::cell(s.active.row, s.active.col));
            // One record a pane: the active pane's selection is the sheet's (PANE came before).
            if (!haveSelection || pane == settings.view.activePane)
                selection = s;
            haveSelection = true;
            break;
        }
        case rec::MergedCells: {
            size_t count = in.u16();
            if (count * 8 > in.remaining())
                throw FormatError("a sheet's list of merged cells is shorter than it claims");
            countRanges(count);
            for (size_t i = 0; i < count; ++i) {
                int r1 = in.u16(), r2 = in.u16(), c1 = in.u16(), c2 = in.u16();
                if (r1 > r2 || c1 > c2 || c2 > kLastColumn)
                    throw FormatError("a merged range lies outside the sheet");
                sheet.merge({r1, c1, r2, c2});
            }
            break;
        }
        // Drawing containers alone may be empty (LibreOffice writes them always); each object has an
        // OBJ, and the comments are the objects kept.
        case rec::MsoDrawing:
            comments.drawing(records_.body());
            break;
        case rec::Obj:
            if (!comments.object(records_.body()) && !(filter && isFilterArrow(records_.body())))
                dropped_.insert("drawings, pictures and charts");
            break;
        case rec::FilterMode:
            filterHidesRows = true;
            break;
        case rec::AutoFilterInfo:
            if (filterRange)
                filter = AutoFilter{*filterRange, false, {}};
            else
                dropped_.insert("filters");
            break;
        case rec::AutoFilter: {
            auto column = filter && records_.segments().size() == 1
                              ? readFilterColumn(records_.body(), filter->range)
                              : std::nullopt;
            const bool repeated =
                column && std::any_of(filter->columns.begin(), filter->columns.end(),
                                      [&](const FilterColumn& c) { return c.col == column->col; });
            if (column && !repeated)
                filter->columns.push_back(std::move(*column));
            else
                dropped_.insert("filters");
            break;
        }
        case rec::Txo:
            comments.textBox(records_.segments());
            break;
        case rec::Note:
            if (!comments.note(records_.body()))
                dropped_.insert("comments");
            break;
        case rec::HorizontalPageBreaks:
            rowBreaks = readPageBreaks(records_.body(), true);
            break;
        case rec::VerticalPageBreaks:
            columnBreaks = readPageBreaks(records_.body(), false);
            break;
        case rec::HLink: {
            auto link = records_.segments().size() == 1 ? readHyperlink(records_.body()) : std::nullopt;
            if (!link) {
                dropped_.insert("hyperlinks");
                break;
            }
            countRanges(1);
            links.push_back(std::move(*link));
            linkLast = true;
            break;
        }
        case rec::QuickTip:
            if (tooltipMayFollow)
                links.back().tooltip = readTooltip(records_.body());
            break;
        case rec::CondFmt: {
            auto areas = readConditionalAreas(records_.body());
            if (!areas) {
                dropped_.insert("conditional formats");
                break;
            }
            countRanges(areas->size());
            conditionals.push_back({std::move(*areas), {}});
            conditionalOpen = true;
            break;
        }
        case rec::Cf: {
            if (!conditionalOpen)
                break;
            ConditionalFormat& f = conditionals.back();
            CellAddress base{f.areas[0].top, f.areas[0].left};
            for (const Area& a : f.areas) {
                base.row = std::min(base.row, a.top);
                base.col = std::min(base.col, a.left);
            }
            try {
                f.rules.push_back(readConditionalRule(records_.body(), tokens_, base));
            } catch (const std::exception&) {
                // A rule the engine cannot hold loses the whole format, not the sheet.
                dropped_.insert("conditional formats");
                conditionals.pop_back();
                conditionalOpen = false;
            }
            break;
        }
        case rec::Dv: {
            auto v = readValidation(records_.body(), tokens_);
            if (v.unkept)
                dropped_.insert(v.unkept);
            if (!v.rule)
                break;
            // Excel writes a record per Validation.Add; equal rules are gathered and handed over
            // together once the sheet is read.
            auto same =
                std::find_if(rules.begin(), rules.end(), [&](const auto& r) { return r.first == *v.rule; });
            if (same == rules.end())
                same = rules.insert(rules.end(), {*v.rule, {}});
            if (same->second.size() + v.areas.size() > MaxValidatedCells)
                throw FormatError("a sheet holds more validated ranges than this program handles");
            same->second.insert(same->second.end(), v.areas.begin(), v.areas.end());
            break;
        }
        default:
            if (!readSheetSetting(type, records_.body(), settings))
                noteUnkept(type);
        }
    }
done:
    sheet.setPageSetup(settings.page);
    sheet.setView(settings.view);
    sheet.setProtection(settings.protection);
    sheet.setPageBreaks(std::move(rowBreaks), std::move(columnBreaks));
    sheet.setHyperlinks(std::move(links));
    std::erase_if(conditionals, [](const ConditionalFormat& f) { return f.rules.empty(); });
    sheet.setConditionalFormats(std::move(conditionals));
    if (filter) {
        filter->rowsHidden = filterHidesRows;
        std::sort(filter->columns.begin(), filter->columns.end(),
                  [](const FilterColumn& a, const FilterColumn& b) { return a.col < b.col; });
        sheet.setAutoFilter(std::move(filter));
    }
    sheet.setComments(
        comments.comments([&](uint16_t index) { return fontFromRecord(font(index), book_.defaultFont()); }));
    for (const SharedUse& use : sharedUses) {
        auto it = use.anchorCol <= kLastColumn ? shared.find({use.anchorRow, uint16_t(use.anchorCol)})
                                               : shared.end();
        const SharedFormula* found = it == shared.end() ? nullptr : &it->second;
        try {
            if (!found) {
                placeArrayCell(sheet, use, arrays, tokens_, program);
                continue;
            }
            decodeProgram(found->tokens, tokens_, use.row, use.col, program);
            sheet.setFormula(use.row, use.col, program);
            sheet.setFileResult(use.row, use.col, use.cached);
        } catch (const UnsupportedFormula&) {
            dropped_.insert("formulas this program cannot read (their last results are kept)");
            if (!sheet.arrayAt(use.row, use.col)) // a cell of an array keeps the array's formula
                sheet.setValue(use.row, use.col, use.cached);
        } catch (const EngineError&) {
            dropped_.insert("formulas this program cannot read (their last results are kept)");
            if (!sheet.arrayAt(use.row, use.col)) // a cell of an array keeps the array's formula
                sheet.setValue(use.row, use.col, use.cached);
        }
    }
    for (auto& [rule, areas] : rules) {
        auto merged = coalesceAreas(std::move(areas));
        countRanges(merged.size());
        for (const Area& a : merged)
            sheet.addValidation(a, rule);
    }
    if (defaultWidth && *defaultWidth != 8) {
        for (int c = 0; c < kColumnCount; ++c)
            if (!columnSet[size_t(c)]) {
                sheet.editColumn(c).width = *defaultWidth + 0.43;
                sheet.editColumn(c).customWidth = true;
            }
    }
    if (haveSelection)
        sheet.setSelection(selection);
}

} // namespace engine::xls
