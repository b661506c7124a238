#include "engine/xls/workbook_writer.h"

#include "engine/core/address.h"
#include "engine/core/number_format.h"
#include "engine/formula/functions.h"
#include "engine/xls/bytes.h"
#include "engine/xls/filter_records.h"
#include "engine/xls/format_mapping.h"
#include "engine/xls/name_records.h"
#include "engine/xls/number_formats.h"
#include "engine/xls/ptg.h"
#include "engine/xls/record_types.h"
#include "engine/xls/sheet_drawing.h"
#include "engine/xls/sheet_extras_records.h"
#include "engine/xls/sheet_settings_records.h"
#include "engine/xls/sst.h"
#include "engine/xls/unicode_string.h"
#include "engine/xls/validation_records.h"
#include "platform/text/utf.h"

#include <algorithm>
#include <cmath>

namespace engine::xls {

namespace {

constexpr uint16_t FirstCellXf = 16;
constexpr uint16_t DefaultCellXf = 15;
constexpr size_t MaxCellText = 32767;
constexpr size_t RowsPerBlock = 32;
constexpr size_t MergesPerRecord = 1026;
constexpr size_t AreasPerValidation = 900;
constexpr size_t MaxSelectionAreas = 1000;
constexpr uint16_t SupBook = rec::SupBook;
constexpr uint16_t ExternName = 0x0023;

void bof(RecordWriter& w, uint16_t kind) {
    auto& o = w.out();
    size_t h = w.begin(rec::Bof);
    putU16(o, rec::Biff8Version);
    putU16(o, kind);
    putU16(o, 0x0DBB); // build
    putU16(o, 0x07CC); // year
    putU32(o, 0x000080C9);
    putU32(o, 0x00000206);
    w.end(h);
}

void simple(RecordWriter& w, uint16_t type, uint16_t value) {
    size_t h = w.begin(type);
    putU16(w.out(), value);
    w.end(h);
}

bool rkFor(double d, uint32_t& rk) {
    if (d == std::floor(d) && d >= -536870912.0 && d < 536870912.0) {
        rk = (uint32_t(int32_t(d)) << 2) | 0x02;
        return true;
    }
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = uint32_t(bits >> 32);
        return true;
    }
    double h = d * 100;
    if (h == std::floor(h) && h >= -536870912.0 && h < 536870912.0 && h / 100 == d) {
        rk = (uint32_t(int32_t(h)) << 2) | 0x03;
        return true;
    }
    return false;
}

// Whether Excel is to compute the formula again on every opening: it calls a volatile function, the
// engine's or one it keeps by name. Called for every formula saved: names are compared where they are
// stored.
bool recomputedOnOpening(std::span<const formula::Token> p) {
    auto isVolatileName = [](std::u16string_view name) {
        return name == u"TODAY" || name == u"NOW" || name == u"RAND";
    };
    for (size_t i = 0; i < p.size(); ++i) {
        const formula::Token& t = p[i];
        if (t.kind == formula::TokenKind::Function && formula::function(t.payload.call.id).isVolatile)
            return true;
        if (t.kind == formula::TokenKind::Name && (t.flags & formula::kUnknownCall) &&
            t.payload.call.id <= 5 && isVolatileName(formula::readChars(p, i, t.payload.call.id)))
            return true;
    }
    return false;
}

} // namespace

WorkbookWriter::WorkbookWriter(const Workbook& book)
    : book_(book), baseFont_(recordFromFont(Font{}, book.defaultFont())) {
    stringIndex_.reserve(4096);
    encoder_.sheetIndex = [this](formula::SheetId id) -> std::optional<uint16_t> {
        const Sheet* s = book_.sheetById(id);
        if (!s)
            return std::nullopt;
        return uint16_t(book_.indexOf(*s));
    };
    // NAME records are written in the order of the workbook's names: a name's index is its place there.
    encoder_.definedName = [this](const std::u16string& name) -> std::optional<uint16_t> {
        const DefinedName* n = book_.names().find(name, host_);
        if (!n)
            return std::nullopt;
        return uint16_t(n - book_.names().all().data() + 1);
    };
    encoder_.addInFunction = [this](const std::u16string& name) {
        auto it = std::find(addIns_.begin(), addIns_.end(), name);
        if (it == addIns_.end())
            it = addIns_.insert(addIns_.end(), name);
        return std::pair<uint16_t, uint16_t>{uint16_t(book_.sheetCount()),
                                             uint16_t(it - addIns_.begin() + 1)};
    };
}

std::string WorkbookWriter::cellName(const Sheet& sheet, int row, int col) const {
    return text::toUtf8(sheet.name() + u"!" + formatAddress({row, col}, false));
}

uint32_t WorkbookWriter::sharedString(uint32_t textId, std::u16string_view s) {
    ++stringRefs_;
    auto [it, added] = stringIndex_.try_emplace(textId, uint32_t(strings_.size()));
    if (added)
        strings_.push_back(s);
    return it->second;
}

uint32_t WorkbookWriter::richString(std::u16string_view s, std::span<const TextRun> runs) {
    ++stringRefs_;
    uint32_t index = uint32_t(strings_.size());
    strings_.emplace_back(s);
    SstRuns& file = stringRuns_[index];
    for (const TextRun& run : runs)
        file.emplace_back(run.start, fontIndex(run.font));
    return index;
}

uint16_t WorkbookWriter::fontIndex(const Font& font) {
    FontRecord record = recordFromFont(font, book_.defaultFont());
    if (record == baseFont_)
        return 0;
    auto fi = std::find(fonts_.begin(), fonts_.end(), record);
    if (fi == fonts_.end()) {
        if (fonts_.size() >= 500)
            throw FormatError("the workbook uses more fonts than an Excel 97-2003 file holds");
        fi = fonts_.insert(fonts_.end(), record);
    }
    return uint16_t(5 + (fi - fonts_.begin()));
}

uint16_t WorkbookWriter::numberFormatIndex(const std::u16string& code) {
    if (isGeneralCode(code))
        return 0;
    if (auto shared = sharedBuiltInIndex(code))
        return *shared;
    auto it = std::find(numberFormats_.begin(), numberFormats_.end(), code);
    if (it == numberFormats_.end()) {
        if (FirstCustomFormat + numberFormats_.size() > 0xFFFF)
            throw FormatError("the workbook uses more number formats than an Excel 97-2003 file holds");
        it = numberFormats_.insert(numberFormats_.end(), code);
    }
    return uint16_t(FirstCustomFormat + (it - numberFormats_.begin()));
}

uint16_t WorkbookWriter::xfIndex(FormatId id) {
    if (id == kDefaultFormat)
        return DefaultCellXf;
    auto it = xfOf_.find(id);
    if (it != xfOf_.end())
        return it->second;
    const Format& f = book_.formats().get(id);
    if (FirstCellXf + cellXfs_.size() >= 4000)
        throw FormatError("the workbook uses more cell formats than an Excel 97-2003 file holds");
    cellXfs_.push_back(xfFromFormat(f, fontIndex(f.font), numberFormatIndex(f.numberFormat)));
    uint16_t index = uint16_t(FirstCellXf + cellXfs_.size() - 1);
    xfOf_.emplace(id, index);
    return index;
}

std::vector<std::vector<uint8_t>> WorkbookWriter::pieces() {
    std::vector<std::vector<uint8_t>> parts(1);
    for (int i = 0; i < book_.sheetCount(); ++i)
        parts.push_back(writeSheet(book_.sheet(i), i));

    std::vector<uint8_t>& globals = parts[0];
    globals.reserve(64 * 1024 + strings_.size() * 16);
    RecordWriter w(globals);
    std::vector<size_t> boundSheetAt;
    writeGlobals(w, boundSheetAt);
    size_t base = globals.size();
    for (size_t i = 1; i < parts.size(); ++i) {
        patchU32(globals, boundSheetAt[i - 1], uint32_t(base));
        // INDEX lists its DBCELLs by stream position, known only now.
        std::vector<uint8_t>& sheet = parts[i];
        for (size_t k = 0; k < dbCellCounts_[i - 1]; ++k) {
            size_t at = dbCellTables_[i - 1] + 4 * k;
            uint32_t rel = uint32_t(sheet[at]) | uint32_t(sheet[at + 1]) << 8 |
                           uint32_t(sheet[at + 2]) << 16 | uint32_t(sheet[at + 3]) << 24;
            patchU32(sheet, at, uint32_t(rel + base));
        }
        base += sheet.size();
    }
    return parts;
}

void WorkbookWriter::writeGlobals(RecordWriter& w, std::vector<size_t>& boundSheetAt) {
    auto& o = w.out();
    bof(w, rec::BofGlobals);
    simple(w, rec::CodePage, 1200);
    putWorkbookProtection(w, book_.protection());
    {
        size_t h = w.begin(rec::Window1);
        for (uint16_t v : {uint16_t(0x0168), uint16_t(0x001E), uint16_t(0x4000), uint16_t(0x2000),
                           uint16_t(0x0038), uint16_t(0), uint16_t(0), uint16_t(1), uint16_t(600)})
            putU16(o, v);
        w.end(h);
    }
    simple(w, rec::Backup, 0);
    simple(w, rec::HideObj, 0);
    simple(w, rec::DateMode, book_.dateSystem() == DateSystem::Excel1904 ? 1 : 0);
    simple(w, rec::Precision, 1);
    simple(w, rec::BookBool, 0);

    // Fonts 0 to 3 are the default font; index 4 is never written.
    for (int i = 0; i < 4; ++i) {
        size_t h = w.begin(rec::Font);
        putFont(o, baseFont_);
        w.end(h);
    }
    for (const FontRecord& f : fonts_) {
        size_t h = w.begin(rec::Font);
        putFont(o, f);
        w.end(h);
    }
    for (size_t i = 0; i < numberFormats_.size(); ++i) {
        size_t h = w.begin(rec::Format);
        putU16(o, uint16_t(FirstCustomFormat + i));
        putUnicode16(o, std::u16string_view(numberFormats_[i]).substr(0, 255));
        w.end(h);
    }

    // The fifteen style formats Excel expects, the default cell format, then the cells' formats.
    for (int i = 0; i < 15; ++i) {
        XfRecord x;
        x.isStyle = true;
        x.parent = 0x0FFF;
        x.font = (i == 1 || i == 2) ? 1 : (i == 3 || i == 4) ? 2 : 0;
        x.usedAttributes = i == 0 ? 0 : 0xF4;
        x.borderColour = {0, 0, 0, 0};
        x.foreground = WindowBackground;
        x.background = WindowBackground + 1;
        size_t h = w.begin(rec::Xf);
        putXf(o, x);
        w.end(h);
    }
    {
        XfRecord x;
        x.borderColour = {0, 0, 0, 0};
        size_t h = w.begin(rec::Xf);
        putXf(o, x);
        w.end(h);
    }
    for (const XfRecord& x : cellXfs_) {
        size_t h = w.begin(rec::Xf);
        putXf(o, x);
        w.end(h);
    }
    {
        size_t h = w.begin(rec::Style);
        putU16(o, 0x8000);
        putU8(o, 0);
        putU8(o, 0xFF);
        w.end(h);
    }

    for (int i = 0; i < book_.sheetCount(); ++i) {
        size_t h = w.begin(rec::BoundSheet);
        boundSheetAt.push_back(o.size());
        putU32(o, 0);
        putU8(o, 0);
        putU8(o, 0);
        putUnicode8(o, book_.sheet(i).name());
        w.end(h);
    }

    // Number format codes are stored in their English form; the country record says so to readers that
    // would otherwise read them in their own language.
    {
        size_t h = w.begin(rec::Country);
        putU16(o, 1);
        putU16(o, 1);
        w.end(h);
    }

    // The names' formulas first: they may call add-in functions, which the SUPBOOK below lists.
    std::vector<std::vector<uint8_t>> nameTokens;
    const std::vector<DefinedName>& names = book_.names().all();
    for (const DefinedName& n : names) {
        host_ = n.sheet.value_or(formula::kOwnSheet);
        nameTokens.emplace_back();
        try {
            encoder_.encodeName(n.definition, nameTokens.back());
        } catch (const FormatError& e) {
            throw FormatError("the name " + text::toUtf8(n.name) + " cannot be stored: " + e.what());
        }
    }

    // References to sheets go through one EXTERNSHEET entry per sheet (entry i is sheet i); calls of
    // functions outside the built-in table through the add-in entry after them.
    {
        size_t h = w.begin(SupBook);
        putU16(o, uint16_t(book_.sheetCount()));
        putU16(o, 0x0401);
        w.end(h);
    }
    if (!addIns_.empty()) {
        size_t h = w.begin(SupBook);
        putU16(o, 1);
        putU16(o, 0x3A01);
        w.end(h);
        for (const auto& name : addIns_) {
            h = w.begin(ExternName);
            putU16(o, 0);
            putU32(o, 0);
            putUnicode8(o, std::u16string_view(name).substr(0, 255));
            putU16(o, 2);
            putU8(o, ptg::Err);
            putU8(o, ptg::errorCode(ErrorCode::Ref));
            w.end(h);
        }
    }
    {
        size_t h = w.begin(rec::ExternSheet);
        putU16(o, uint16_t(book_.sheetCount() + (addIns_.empty() ? 0 : 1)));
        for (int i = 0; i < book_.sheetCount(); ++i) {
            putU16(o, 0);
            putU16(o, uint16_t(i));
            putU16(o, uint16_t(i));
        }
        if (!addIns_.empty()) {
            putU16(o, 1);
            putU16(o, 0xFFFE);
            putU16(o, 0xFFFE);
        }
        w.end(h);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const DefinedName& n = names[i];
        NameRecord r{n.name, n.builtIn, n.hidden, 0, nameTokens[i]};
        if (n.sheet)
            r.sheet = uint16_t(book_.indexOf(*book_.sheetById(*n.sheet)) + 1);
        size_t h = w.begin(rec::Name);
        putNameRecord(o, r);
        w.end(h);
    }
    putDrawingGroup(w, drawings_);
    writeSst(w, strings_, stringRuns_, stringRefs_);
    w.record(rec::Eof, {});
}

std::vector<uint8_t> WorkbookWriter::writeSheet(const Sheet& sheet, int index) {
    std::vector<uint8_t> o;
    o.reserve(1024 + size_t(sheet.rowExtent()) * 192);
    RecordWriter w(o);
    bof(w, rec::BofWorksheet);
    host_ = sheet.id();

    auto used = sheet.usedArea();
    // Every stored cell, row by row, and the rows that need a ROW record: those with cells or with
    // properties of their own. Rows go in blocks of 32, each closed by a DBCELL that INDEX lists.
    cells_.clear();
    sheet.forEachCell(Area::wholeSheet(), [this](int r, int c) { cells_.emplace_back(r, c); });
    rows_.clear();
    size_t next = 0;
    for (int r = 0; r < sheet.rowExtent() || next < cells_.size(); ++r) {
        bool hasCells = next < cells_.size() && cells_[next].first == r;
        while (next < cells_.size() && cells_[next].first == r)
            ++next;
        if (hasCells || (r < sheet.rowExtent() && !sheet.row(r).isDefault()))
            rows_.push_back(r);
    }
    size_t blocks = 0;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (i == 0 || rows_[i] / int(RowsPerBlock) != rows_[i - 1] / int(RowsPerBlock))
            ++blocks;
    {
        size_t h = w.begin(rec::Index);
        putU32(o, 0);
        putU32(o, uint32_t(rows_.empty() ? 0 : rows_.front()));
        putU32(o, uint32_t(rows_.empty() ? 0 : rows_.back() + 1));
        putU32(o, 0);
        dbCellTables_.push_back(o.size());
        dbCellCounts_.push_back(blocks);
        o.resize(o.size() + 4 * blocks, 0);
        w.end(h);
    }
    writeSheetSettings(w, sheet);
    {
        size_t h = w.begin(rec::Dimensions);
        putU32(o, uint32_t(used ? used->top : 0));
        putU32(o, uint32_t(used ? used->bottom + 1 : 0));
        putU16(o, uint16_t(used ? used->left : 0));
        putU16(o, uint16_t(used ? used->right + 1 : 0));
        putU16(o, 0);
        w.end(h);
    }
    writeCells(w, sheet, dbCellTables_.back());
    const SheetDrawing drawing{sheet.autoFilter() ? &*sheet.autoFilter() : nullptr, &sheet.comments()};
    if (drawing.objects() > 0) {
        drawings_.push_back(nextDrawing(drawings_, drawing));
        putDrawing(w, drawing, drawings_.back(), [this](const Font& f) { return fontIndex(f); });
    }
    writeViewAndExtras(w, sheet, index);
    putProtectionFeature(w, sheet.protection());
    w.record(rec::Eof, {});
    return o;
}

void WorkbookWriter::writeSheetSettings(RecordWriter& w, const Sheet& sheet) {
    auto& o = w.out();
    simple(w, rec::CalcMode, 1);
    simple(w, rec::CalcCount, 100);
    simple(w, rec::RefMode, 1);
    simple(w, rec::Iteration, 0);
    {
        size_t h = w.begin(rec::Delta);
        putF64(o, 0.001);
        w.end(h);
    }
    simple(w, rec::SaveRecalc, 1);
    putPrintOptions(w, sheet.pageSetup());

    int deepest = 0;
    for (int r = 0; r < sheet.rowExtent(); ++r)
        deepest = std::max<int>(deepest, sheet.row(r).outlineLevel);
    int deepestColumn = 0;
    for (int c = 0; c < kColumnCount; ++c)
        deepestColumn = std::max<int>(deepestColumn, sheet.column(c).outlineLevel);
    {
        size_t h = w.begin(rec::Guts);
        putU16(o, uint16_t(deepest ? 12 * (deepest + 1) + 5 : 0));
        putU16(o, uint16_t(deepestColumn ? 12 * (deepestColumn + 1) + 5 : 0));
        putU16(o, uint16_t(deepest ? deepest + 1 : 0));
        putU16(o, uint16_t(deepestColumn ? deepestColumn + 1 : 0));
        w.end(h);
    }
    {
        size_t h = w.begin(rec::DefaultRowHeight);
        putU16(o, 0);
        putU16(o, uint16_t(std::lround(sheet.defaultRowHeight() * 20)));
        w.end(h);
    }
    uint16_t wsbool = 0x0401 | (sheet.outline().summaryRowsBelow ? 0x40 : 0) |
                      (sheet.outline().summaryColumnsRight ? 0x80 : 0) |
                      (sheet.pageSetup().fitToPages ? 0x100 : 0);
    simple(w, rec::WsBool, wsbool);
    putPageBreaks(w, sheet.rowBreaks(), true);
    putPageBreaks(w, sheet.columnBreaks(), false);
    putPageSetup(w, sheet.pageSetup());
    putSheetProtection(w, sheet.protection());
    if (sheet.autoFilter())
        putAutoFilter(w, *sheet.autoFilter());
    simple(w, rec::DefColWidth, 8);

    for (int c = 0; c < kColumnCount;) {
        const ColumnProperties& p = sheet.column(c);
        int last = c;
        while (last + 1 < kColumnCount && sheet.column(last + 1) == p)
            ++last;
        if (!p.isDefault()) {
            size_t h = w.begin(rec::ColInfo);
            putU16(o, uint16_t(c));
            putU16(o, uint16_t(last));
            putU16(o, storedColumnWidth(p));
            putU16(o, xfIndex(p.format));
            putU16(o, uint16_t((p.hidden ? 0x01 : 0) | (columnWidthSetByHand(p) ? 0x02 : 0) |
                               (p.outlineLevel & 0x07) << 8 | (p.collapsed ? 0x1000 : 0)));
            putU16(o, 0);
            w.end(h);
        }
        c = last + 1;
    }
}

void WorkbookWriter::writeCells(RecordWriter& w, const Sheet& sheet, size_t dbCellTable) {
    auto& o = w.out();
    size_t block = 0;
    size_t nextCell = 0;
    for (size_t i = 0; i < rows_.size();) {
        int blockNumber = rows_[i] / int(RowsPerBlock);
        size_t end = i;
        while (end < rows_.size() && rows_[end] / int(RowsPerBlock) == blockNumber)
            ++end;

        size_t firstRowAt = o.size();
        size_t cellsEnd = nextCell;
        for (size_t k = i; k < end; ++k) {
            int r = rows_[k];
            const RowProperties& p = sheet.row(r);
            size_t begin = cellsEnd;
            while (cellsEnd < cells_.size() && cells_[cellsEnd].first == r)
                ++cellsEnd;
            size_t h = w.begin(rec::Row);
            putU16(o, uint16_t(r));
            putU16(o, uint16_t(begin == cellsEnd ? 0 : cells_[begin].second));
            putU16(o, uint16_t(begin == cellsEnd ? 0 : cells_[cellsEnd - 1].second + 1));
            double height = p.customHeight ? p.height : sheet.defaultRowHeight();
            putU16(o, uint16_t(std::clamp<long>(std::lround(height * 20), 0, 8191)));
            putU16(o, 0);
            putU16(o, 0);
            uint32_t options = uint32_t(p.outlineLevel & 0x07) | (p.collapsed ? 0x10 : 0) |
                               (p.hidden ? 0x20 : 0) | (p.customHeight ? 0x40 : 0) | 0x100;
            if (p.format != kDefaultFormat)
                options |= 0x80 | uint32_t(xfIndex(p.format)) << 16;
            putU32(o, options);
            w.end(h);
        }

        // DBCELL: how far back the block's first ROW record is, then where each row's cells begin,
        // the first counted from the second ROW record, each further one from the previous row's.
        starts_.clear();
        size_t previous = firstRowAt + 20;
        int currentRow = -1;
        for (; nextCell < cellsEnd; ++nextCell) {
            auto [r, c] = cells_[nextCell];
            if (r != currentRow) {
                starts_.push_back(uint16_t(o.size() - previous));
                previous = o.size();
                currentRow = r;
            }
            writeCell(w, sheet, r, c);
        }
        size_t dbcell = o.size();
        size_t h = w.begin(rec::DbCell);
        putU32(o, uint32_t(dbcell - firstRowAt));
        for (uint16_t v : starts_)
            putU16(o, v);
        w.end(h);
        patchU32(o, dbCellTable + 4 * block, uint32_t(dbcell));
        ++block;
        i = end;
    }
}

void WorkbookWriter::writeCell(RecordWriter& w, const Sheet& sheet, int row, int col) {
    auto& o = w.out();
    uint16_t xf = xfIndex(sheet.formatId(row, col));
    const ValueView v = sheet.valueView(row, col);
    auto header = [&](uint16_t type) {
        size_t h = w.begin(type);
        putU16(o, uint16_t(row));
        putU16(o, uint16_t(col));
        putU16(o, xf);
        return h;
    };

    if (sheet.hasFormula(row, col)) {
        auto program = sheet.formulaProgram(row, col);
        // A cell of an array formula points to its range's top-left cell, whose ARRAY record follows
        // its FORMULA record and holds the formula.
        const std::optional<Area> array = sheet.arrayAt(row, col);
        const bool arrayFirst = array && array->top == row && array->left == col;
        scratch_.clear();
        arrayValues_.clear();
        arrayTokens_.clear();
        try {
            if (array) {
                putU8(scratch_, ptg::Exp);
                putU16(scratch_, uint16_t(array->top));
                putU16(scratch_, uint16_t(array->left));
            } else {
                encoder_.encodeCell(program, scratch_, arrayValues_);
            }
            if (arrayFirst)
                encoder_.encodeCell(program, arrayTokens_, arrayValues_, OperandClass::Array);
        } catch (const FormatError& e) {
            throw FormatError("the formula in " + cellName(sheet, row, col) +
                              " cannot be stored: " + e.what());
        }
        size_t h = header(rec::Formula);
        bool text = false;
        switch (v.kind) {
        case Value::Kind::Number:
            putF64(o, v.number);
            break;
        case Value::Kind::Text:
            text = !v.text.empty();
            o.insert(o.end(), {uint8_t(text ? 0 : 3), 0, 0, 0, 0, 0, 0xFF, 0xFF});
            break;
        case Value::Kind::Boolean:
            o.insert(o.end(), {1, 0, uint8_t(v.boolean), 0, 0, 0, 0xFF, 0xFF});
            break;
        case Value::Kind::Error:
            o.insert(o.end(), {2, 0, ptg::errorCode(v.error), 0, 0, 0, 0xFF, 0xFF});
            break;
        case Value::Kind::Empty:
            putF64(o, 0);
            break;
        }
        putU16(o, recomputedOnOpening(program) ? 0x01 : 0);
        putU32(o, 0);
        putU16(o, uint16_t(scratch_.size()));
        o.insert(o.end(), scratch_.begin(), scratch_.end());
        if (!array)
            o.insert(o.end(), arrayValues_.begin(), arrayValues_.end());
        w.end(h);
        if (arrayFirst) {
            size_t a = w.begin(rec::Array);
            putU16(o, uint16_t(array->top));
            putU16(o, uint16_t(array->bottom));
            putU8(o, uint8_t(array->left));
            putU8(o, uint8_t(array->right));
            putU16(o, recomputedOnOpening(program) ? 0x01 : 0);
            putU32(o, 0);
            putU16(o, uint16_t(arrayTokens_.size()));
            o.insert(o.end(), arrayTokens_.begin(), arrayTokens_.end());
            o.insert(o.end(), arrayValues_.begin(), arrayValues_.end());
            w.end(a);
        }
        if (text) {
            size_t s = w.begin(rec::String);
            putUnicode16(o, v.text.substr(0, MaxCellText));
            w.end(s);
        }
        return;
    }

    switch (v.kind) {
    case Value::Kind::Empty: {
        w.end(header(rec::Blank));
        return;
    }
    case Value::Kind::Number: {
        uint32_t rk;
        if (rkFor(v.number, rk)) {
            size_t h = header(rec::Rk);
            putU32(o, rk);
            w.end(h);
        } else {
            size_t h = header(rec::Number);
            putF64(o, v.number);
            w.end(h);
        }
        return;
    }
    case Value::Kind::Text: {
        if (v.text.size() > MaxCellText)
            throw FormatError(cellName(sheet, row, col) +
                              " holds more than the 32,767 characters an Excel 97-2003 cell can hold");
        auto runs = sheet.textRuns(row, col);
        uint32_t index =
            runs.empty() ? sharedString(*sheet.textId(row, col), v.text) : richString(v.text, runs);
        size_t h = header(rec::LabelSst);
        putU32(o, index);
        w.end(h);
        return;
    }
    case Value::Kind::Boolean:
    case Value::Kind::Error: {
        size_t h = header(rec::BoolErr);
        bool error = v.kind == Value::Kind::Error;
        putU8(o, error ? ptg::errorCode(v.error) : uint8_t(v.boolean));
        putU8(o, error ? 1 : 0);
        w.end(h);
        return;
    }
    }
}

void WorkbookWriter::writeViewAndExtras(RecordWriter& w, const Sheet& sheet, int index) {
    auto& o = w.out();
    putWindow(w, sheet.view(), index == 0);
    {
        const Selection& sel = sheet.selection();
        size_t count = std::min(sel.areas.size(), MaxSelectionAreas);
        size_t activeArea = 0;
        for (size_t i = 0; i < count; ++i)
            if (sel.areas[i].contains(sel.active.row, sel.active.col))
                activeArea = i;
        // The selection is the active pane's; without panes that is the upper left, 3.
        const SheetView& view = sheet.view();
        bool panes = view.splitColumns > 0 || view.splitRows > 0;
        size_t h = w.begin(rec::Selection);
        putU8(o, panes ? view.activePane : 3);
        putU16(o, uint16_t(sel.active.row));
        putU16(o, uint16_t(sel.active.col));
        putU16(o, uint16_t(activeArea));
        putU16(o, uint16_t(count));
        for (size_t i = 0; i < count; ++i) {
            const Area& a = sel.areas[i];
            putU16(o, uint16_t(a.top));
            putU16(o, uint16_t(a.bottom));
            putU8(o, uint8_t(a.left));
            putU8(o, uint8_t(a.right));
        }
        w.end(h);
    }
    const auto& merges = sheet.merges();
    for (size_t at = 0; at < merges.size(); at += MergesPerRecord) {
        size_t n = std::min(MergesPerRecord, merges.size() - at);
        size_t h = w.begin(rec::MergedCells);
        putU16(o, uint16_t(n));
        for (size_t i = at; i < at + n; ++i) {
            putU16(o, uint16_t(merges[i].top));
            putU16(o, uint16_t(merges[i].bottom));
            putU16(o, uint16_t(merges[i].left));
            putU16(o, uint16_t(merges[i].right));
        }
        w.end(h);
    }

    uint16_t id = 0;
    for (const ConditionalFormat& f : sheet.conditionalFormats()) {
        try {
            putConditionalFormat(w, f, ++id, encoder_);
        } catch (const FormatError& e) {
            throw FormatError("the conditional format of " +
                              cellName(sheet, f.areas[0].top, f.areas[0].left) +
                              " cannot be stored: " + e.what());
        }
    }
    for (const Hyperlink& link : sheet.hyperlinks())
        putHyperlink(w, link);

    std::vector<std::pair<const ValidationRule*, std::vector<Area>>> rules;
    size_t records = 0;
    for (const Validation& v : sheet.validations()) {
        auto areas = coalesceAreas(v.areas);
        if (areas.empty())
            continue;
        records += (areas.size() + AreasPerValidation - 1) / AreasPerValidation;
        rules.emplace_back(&v.rule, std::move(areas));
    }
    if (records == 0)
        return;
    {
        size_t h = w.begin(rec::DVal);
        putU16(o, 0);
        putU32(o, 0);
        putU32(o, 0);
        putU32(o, 0xFFFFFFFF);
        putU32(o, uint32_t(records));
        w.end(h);
    }
    for (auto& [rule, areas] : rules) {
        for (size_t at = 0; at < areas.size(); at += AreasPerValidation) {
            size_t n = std::min(AreasPerValidation, areas.size() - at);
            size_t h = w.begin(rec::Dv);
            try {
                putValidation(o, *rule, std::span<const Area>(areas).subspan(at, n), encoder_,
                              book_.sheetNames());
            } catch (const FormatError& e) {
                throw FormatError("the data validation of " + cellName(sheet, areas[0].top, areas[0].left) +
                                  " cannot be stored: " + e.what());
            }
            w.end(h);
        }
    }
}

} // namespace engine::xls
