#include "engine/xls/workbook_reader.h"

#include "engine/core/error.h"
#include "engine/core/number_format.h"
#include "engine/core/text.h"
#include "engine/model/palette.h"
#include "engine/xls/bytes.h"
#include "engine/xls/format_mapping.h"
#include "engine/xls/name_records.h"
#include "engine/xls/number_formats.h"
#include "engine/xls/record_types.h"
#include "engine/xls/sheet_settings_records.h"
#include "engine/xls/sst.h"
#include "engine/xls/unicode_string.h"

#include <algorithm>

namespace engine::xls {

namespace {

constexpr uint16_t ExternName = 0x0023;

// Records that carry something the engine does not keep, by what a user would call it.
const char* unkeptContent(uint16_t type) {
    switch (type) {
    case 0x01BA: // CODENAME
    case 0x00D3: // OBPROJ
        return "macros";
    default:
        return nullptr;
    }
}

} // namespace

void WorkbookReader::noteUnkept(uint16_t type) {
    if (const char* what = unkeptContent(type))
        dropped_.insert(what);
}

void WorkbookReader::read() {
    if (!records_.next())
        throw FormatError("it does not begin like an Excel workbook stream");
    // The BOF records of BIFF2, BIFF3 and BIFF4.
    if (records_.type() == 0x0009 || records_.type() == 0x0209 || records_.type() == 0x0409)
        throw FormatError(kExcel4OrOlder);
    if (records_.type() != rec::Bof)
        throw FormatError("it does not begin like an Excel workbook stream");
    ByteReader bof(records_.body());
    uint16_t version = bof.u16();
    uint16_t kind = bof.u16();
    if (version != rec::Biff8Version)
        throw FormatError(
            "it was saved in the format of Excel 95 or older, which this program does not read");
    if (kind != rec::BofGlobals)
        throw FormatError("its workbook stream does not begin with the workbook's globals");
    readGlobals();

    // Each sheet's records must lie after the globals and before the next sheet's, so that no byte is
    // read twice however the positions were forged.
    std::vector<size_t> order(sheets_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return sheets_[a].offset < sheets_[b].offset; });
    std::vector<size_t> ends(sheets_.size(), records_.streamSize());
    for (size_t k = 0; k + 1 < order.size(); ++k) {
        if (sheets_[order[k]].offset == sheets_[order[k + 1]].offset)
            throw FormatError("two sheets claim the same place in the workbook stream");
        ends[order[k]] = sheets_[order[k + 1]].offset;
    }
    size_t globalsEnd = records_.offset();
    for (auto& s : sheets_)
        if (s.offset < globalsEnd)
            throw FormatError("a sheet's position lies inside the workbook's globals");

    for (auto& s : sheets_) {
        try {
            book_.addSheet(s.name);
        } catch (const EngineError&) {
            throw FormatError("it holds a sheet name that is empty, repeated or not allowed");
        }
    }
    linkExternSheets();
    defineNames();
    for (size_t i = 0; i < sheets_.size(); ++i)
        readSheet(book_.sheet(int(i)), sheets_[i].offset, ends[i]);
}

void WorkbookReader::readGlobals() {
    WorkbookProtection protection;
    while (true) {
        if (!records_.next())
            throw FormatError("the workbook's globals end without their closing record");
        uint16_t type = records_.type();
        switch (type) {
        case rec::Eof:
            goto done;
        case rec::FilePass:
            // The stream was decrypted before it came here.
            break;
        case rec::Bof:
            throw FormatError("the workbook's globals are not closed before the next part begins");
        case rec::Font:
            fonts_.push_back(readFont(ByteReader(records_.body())));
            break;
        case rec::Xf:
            xfs_.push_back(readXf(ByteReader(records_.body())));
            break;
        case rec::Format: {
            ByteReader in(records_.body());
            uint16_t index = in.u16();
            std::u16string code = readUnicode16(in);
            // German writers spell General "Standard".
            if (isGeneralCode(code) || foldCase(code) == u"standard")
                code.clear();
            numberFormats_[index] = std::move(code);
            break;
        }
        case rec::Palette: {
            ByteReader in(records_.body());
            size_t count = std::min<size_t>(in.u16(), 56);
            for (size_t i = 0; i < count; ++i) {
                // Red, green and blue bytes, which read as 0xBBGGRR like the engine's palette.
                if ((in.u32() & 0xFFFFFF) != paletteColor(int(i) + 1))
                    dropped_.insert("colours of a changed palette");
            }
            break;
        }
        case rec::BoundSheet: {
            ByteReader in(records_.body());
            uint32_t offset = in.u32();
            uint8_t visibility = in.u8();
            uint8_t sheetType = in.u8();
            std::u16string name = readUnicode8(in);
            if (sheetType != 0) {
                dropped_.insert("chart sheets and macro sheets");
                keptSheets_.push_back(std::nullopt);
                break;
            }
            if (visibility != 0)
                dropped_.insert("hidden state of sheets");
            keptSheets_.push_back(sheets_.size());
            sheets_.push_back({offset, std::move(name)});
            break;
        }
        case rec::Sst: {
            // As values, so that the cells that share a text do not each copy it again.
            auto strings = readSst(records_.segments());
            sst_.clear();
            sstFileRuns_.clear();
            sst_.reserve(strings.size());
            for (auto& t : strings) {
                if (!t.runs.empty())
                    sstFileRuns_.emplace(uint32_t(sst_.size()), std::move(t.runs));
                sst_.push_back(Value::text(std::move(t.text)));
            }
            break;
        }
        case rec::SupBook: {
            ByteReader in(records_.body());
            in.u16();
            uint16_t marker = in.u16();
            SupBook::Kind kind = marker == 0x0401   ? SupBook::Self
                                 : marker == 0x3A01 ? SupBook::AddIn
                                                    : SupBook::External;
            supBooks_.push_back({kind, {}});
            break;
        }
        case ExternName: {
            if (supBooks_.empty())
                break;
            ByteReader in(records_.body());
            in.skip(6);
            supBooks_.back().names.push_back(readUnicode8(in));
            break;
        }
        case rec::DateMode:
            book_.setDateSystem(ByteReader(records_.body()).u16() != 0 ? DateSystem::Excel1904
                                                                       : DateSystem::Excel1900);
            break;
        case rec::ExternSheet:
            externSheet(records_.body());
            break;
        case rec::Name:
            definedName(records_.body());
            break;
        default:
            if (!readWorkbookProtection(type, records_.body(), protection))
                noteUnkept(type);
        }
    }
done:
    book_.setProtection(protection);
    if (fonts_.empty())
        fonts_.push_back(FontRecord{});
    book_.setDefaultFont(Font{fonts_[0].name, fonts_[0].height / 20.0});
    xfFormats_.assign(xfs_.size(), kDefaultFormat);
    xfKnown_.assign(xfs_.size(), 0);
    // Runs name fonts, which come before the table but are turned into the model's only now.
    for (auto& [index, runs] : sstFileRuns_) {
        std::vector<TextRun> kept;
        size_t length = sst_[index].asText().size();
        for (auto [first, fontIndex] : runs) {
            if (first >= length || (!kept.empty() && first <= kept.back().start))
                continue;
            kept.push_back({first, fontFromRecord(font(fontIndex), book_.defaultFont())});
        }
        if (!kept.empty())
            sstRuns_.emplace(index, std::move(kept));
    }
    sstFileRuns_.clear();
}

const FontRecord& WorkbookReader::font(uint16_t index) const {
    // Font index 4 does not exist in the file; indexes above it are one higher than their position.
    size_t at = index < 4 ? index : index - 1u;
    return at < fonts_.size() ? fonts_[at] : fonts_[0];
}

void WorkbookReader::setSharedString(Sheet& sheet, int row, int col, uint32_t index) {
    if (index >= sst_.size())
        throw FormatError("a cell refers to a shared string that does not exist");
    auto rich = sstRuns_.find(index);
    if (rich == sstRuns_.end())
        sheet.setValue(row, col, sst_[index]);
    else
        sheet.setRichText(row, col, sst_[index].asText(), rich->second);
}

std::optional<size_t> WorkbookReader::keptSheet(size_t listed) const {
    return listed < keptSheets_.size() ? keptSheets_[listed] : std::nullopt;
}

void WorkbookReader::linkExternSheets() {
    tokens_.externSheets.clear();
    tokens_.externNames.clear();
    for (auto [book, first, last] : xti_) {
        std::optional<TokenContext::Sheet> sheet;
        std::vector<std::u16string> names;
        if (book < supBooks_.size()) {
            const SupBook& s = supBooks_[book];
            if (s.kind == SupBook::Self && first == last)
                if (std::optional<size_t> kept = keptSheet(first))
                    sheet = TokenContext::Sheet{sheets_[*kept].name, book_.sheet(*kept).id()};
            if (s.kind == SupBook::AddIn)
                names = s.names;
        }
        tokens_.externSheets.push_back(std::move(sheet));
        tokens_.externNames.push_back(std::move(names));
    }
}

void WorkbookReader::externSheet(std::span<const uint8_t> body) {
    ByteReader in(body);
    size_t count = in.u16();
    if (count * 6 > in.remaining())
        throw FormatError("its list of sheet references is shorter than it claims");
    xti_.clear();
    xti_.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        uint16_t book = in.u16();
        uint16_t first = in.u16();
        uint16_t last = in.u16();
        xti_.emplace_back(book, first, last);
    }
}

void WorkbookReader::definedName(std::span<const uint8_t> body) {
    tokens_.names.push_back(readNameRecord(body).name);
    nameRecords_.emplace_back(body.begin(), body.end());
}

void WorkbookReader::defineNames() {
    formula::Program program;
    for (size_t i = 0; i < nameRecords_.size(); ++i) {
        NameRecord r = readNameRecord(nameRecords_[i]);
        DefinedName n{r.name, std::nullopt, r.builtIn, r.hidden, {}};
        // A name of a sheet this program does not keep (a chart or macro sheet), one whose formula is
        // not a formula of cells (a macro's name), or one of what the engine cannot hold.
        const std::optional<size_t> scope = r.sheet > 0 ? keptSheet(r.sheet - 1u) : std::nullopt;
        bool kept = !r.name.empty() && (r.sheet == 0 || scope);
        if (kept && scope)
            n.sheet = book_.sheet(*scope).id();
        try {
            if (kept) {
                decodeProgram(r.tokens, tokens_, 0, 0, program);
                n.definition = program;
                book_.defineName(std::move(n));
            }
        } catch (const UnsupportedFormula&) {
            kept = false;
        } catch (const FormatError&) {
            kept = false;
        }
        if (kept)
            continue;
        dropped_.insert(r.builtIn == 0x06 || r.builtIn == 0x07 ? "print areas and titles" : "defined names");
        // Formulas using the name keep their last results rather than a name that names nothing.
        tokens_.names[i].clear();
    }
    nameRecords_.clear();
}

FormatId WorkbookReader::formatOf(uint16_t xf) {
    if (xf >= xfs_.size())
        return kDefaultFormat;
    if (!xfKnown_[xf]) {
        const XfRecord& x = xfs_[xf];
        const FontRecord& cellFont = font(x.font);
        if (const char* lost = xfLosesDetail(x, cellFont))
            dropped_.insert(lost);
        std::u16string code;
        if (auto own = numberFormats_.find(x.format); own != numberFormats_.end())
            code = own->second;
        else
            code = builtInFormat(x.format).value_or(std::u16string());
        Format f = formatFromXf(x, cellFont, book_.defaultFont(), std::move(code));
        xfFormats_[xf] = f == Format{} ? kDefaultFormat : book_.formats().intern(f);
        xfKnown_[xf] = 1;
    }
    return xfFormats_[xf];
}

} // namespace engine::xls
