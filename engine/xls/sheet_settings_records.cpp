#include "engine/xls/sheet_settings_records.h"

#include "engine/core/address.h"
#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"
#include "engine/xls/unicode_string.h"

#include <algorithm>
#include <cmath>

namespace engine::xls {

namespace {

// SETUP's option bits.
constexpr uint16_t AcrossThenDown = 0x0001;
constexpr uint16_t Portrait = 0x0002;
constexpr uint16_t NoPrinterSettings = 0x0004;
constexpr uint16_t BlackAndWhite = 0x0008;
constexpr uint16_t Draft = 0x0010;
constexpr uint16_t NoOrientation = 0x0040;
constexpr uint16_t UsesFirstPageNumber = 0x0080;

// WINDOW2's option bits.
constexpr uint16_t ShowFormulas = 0x0001;
constexpr uint16_t ShowGridlines = 0x0002;
constexpr uint16_t ShowHeadings = 0x0004;
constexpr uint16_t Frozen = 0x0008;
constexpr uint16_t ShowZeros = 0x0010;
constexpr uint16_t DefaultGridColour = 0x0020;
constexpr uint16_t RightToLeft = 0x0040;
constexpr uint16_t ShowOutlineSymbols = 0x0080;
constexpr uint16_t FrozenWithoutSplit = 0x0100;
constexpr uint16_t Selected = 0x0200;
constexpr uint16_t Shown = 0x0400;

constexpr size_t MaxHeaderFooter = 255;
// FEATHEADR's kind of shared feature that holds the protection's allowed actions.
constexpr uint16_t ProtectionFeature = 0x0002;

// A margin is a length on paper: one that is not a number or not within any paper keeps the default.
void margin(ByteReader& in, double& to) {
    double inches = in.f64();
    if (std::isfinite(inches) && inches >= 0 && inches < 100)
        to = inches;
}

void readSetup(ByteReader& in, PageSetup& p) {
    uint16_t paper = in.u16(), scale = in.u16(), firstPage = in.u16();
    uint16_t fitWidth = in.u16(), fitHeight = in.u16(), options = in.u16();
    uint16_t hDpi = in.u16(), vDpi = in.u16();
    double header = p.headerMargin, footer = p.footerMargin;
    margin(in, header);
    margin(in, footer);
    uint16_t copies = in.u16();
    p.firstPageNumber = firstPage;
    p.fitWidth = fitWidth;
    p.fitHeight = fitHeight;
    p.acrossThenDown = options & AcrossThenDown;
    p.blackAndWhite = options & BlackAndWhite;
    p.draft = options & Draft;
    p.usesFirstPageNumber = options & UsesFirstPageNumber;
    p.headerMargin = header;
    p.footerMargin = footer;
    // Without printer settings the file's paper, scale, orientation, resolution and copies mean nothing.
    p.printerSettingsKnown = !(options & NoPrinterSettings);
    if (!p.printerSettingsKnown)
        return;
    p.paperSize = paper;
    p.scale = scale;
    p.landscape = !(options & Portrait) && !(options & NoOrientation);
    p.horizontalDpi = hDpi;
    p.verticalDpi = vDpi;
    p.copies = copies;
}

// Whether the printer fields are as in a new sheet, so that the printer may choose them.
bool printerDefaults(const PageSetup& p) {
    PageSetup d;
    return p.paperSize == d.paperSize && p.scale == d.scale && p.landscape == d.landscape &&
           p.horizontalDpi == d.horizontalDpi && p.verticalDpi == d.verticalDpi && p.copies == d.copies;
}

void readWindow2(ByteReader& in, SheetView& v) {
    uint16_t options = in.u16();
    v.showFormulas = options & ShowFormulas;
    v.showGridlines = options & ShowGridlines;
    v.showHeadings = options & ShowHeadings;
    v.frozen = options & (Frozen | FrozenWithoutSplit);
    v.showZeros = options & ShowZeros;
    v.rightToLeft = options & RightToLeft;
    v.showOutlineSymbols = options & ShowOutlineSymbols;
    v.topRow = in.u16();
    v.leftColumn = std::min<int>(in.u16(), kLastColumn);
}

void readPane(ByteReader& in, SheetView& v) {
    uint16_t x = in.u16(), y = in.u16(), top = in.u16(), left = in.u16();
    uint8_t active = in.u8();
    v.splitColumns = x;
    v.splitRows = y;
    v.paneTopRow = top;
    v.paneLeftColumn = std::min<int>(left, kLastColumn);
    v.activePane = active <= 3 ? active : 3;
}

bool flag(ByteReader& in) {
    return in.u16() != 0;
}

std::u16string headerText(ByteReader& in) {
    return in.atEnd() ? std::u16string() : readUnicode16(in);
}

void putFlag(RecordWriter& w, uint16_t type, bool on) {
    size_t h = w.begin(type);
    putU16(w.out(), on ? 1 : 0);
    w.end(h);
}

void putMargin(RecordWriter& w, uint16_t type, double inches) {
    size_t h = w.begin(type);
    putF64(w.out(), inches);
    w.end(h);
}

void putText(RecordWriter& w, uint16_t type, const std::u16string& text) {
    size_t h = w.begin(type);
    if (!text.empty())
        putUnicode16(w.out(), std::u16string_view(text).substr(0, MaxHeaderFooter));
    w.end(h);
}

} // namespace

double columnWidthFromStored(uint16_t stored) {
    return std::max(0.0, std::round((stored / 256.0 * 7 - 5) / 7 * 100) / 100);
}

namespace {

bool widthAsStored(const ColumnProperties& column) {
    return column.storedWidth != 0 && columnWidthFromStored(column.storedWidth) == column.width;
}

} // namespace

bool columnWidthSetByHand(const ColumnProperties& column) {
    return widthAsStored(column) ? column.storedAsSetByHand : column.customWidth;
}

uint16_t storedColumnWidth(const ColumnProperties& column) {
    if (widthAsStored(column))
        return column.storedWidth;
    double units = std::round((column.width * 7 + 5) / 7 * 256);
    return uint16_t(std::clamp(units, 0.0, 65535.0));
}

bool readSheetSetting(uint16_t type, std::span<const uint8_t> body, SheetSettings& s) {
    ByteReader in(body);
    PageSetup& p = s.page;
    try {
        switch (type) {
        case rec::PrintHeaders:
            p.printHeadings = flag(in);
            return true;
        case rec::PrintGridlines:
            p.printGridlines = flag(in);
            return true;
        case rec::Header:
            p.header = headerText(in);
            return true;
        case rec::Footer:
            p.footer = headerText(in);
            return true;
        case rec::HCenter:
            p.centerHorizontally = flag(in);
            return true;
        case rec::VCenter:
            p.centerVertically = flag(in);
            return true;
        case rec::LeftMargin:
            margin(in, p.leftMargin);
            return true;
        case rec::RightMargin:
            margin(in, p.rightMargin);
            return true;
        case rec::TopMargin:
            margin(in, p.topMargin);
            return true;
        case rec::BottomMargin:
            margin(in, p.bottomMargin);
            return true;
        case rec::Setup:
            readSetup(in, p);
            return true;
        case rec::Window2:
            readWindow2(in, s.view);
            return true;
        case rec::Scl: {
            uint16_t num = in.u16(), den = in.u16();
            if (num > 0 && den > 0) {
                long zoom = std::lround(100.0 * num / den);
                if (zoom >= 10 && zoom <= 400)
                    s.view.zoom = uint16_t(zoom);
            }
            return true;
        }
        case rec::Pane:
            readPane(in, s.view);
            return true;
        case rec::Protect:
            s.protection.contents = flag(in);
            return true;
        case rec::ObjProtect:
            s.protection.objects = flag(in);
            return true;
        case rec::ScenProtect:
            s.protection.scenarios = flag(in);
            return true;
        case rec::Password:
            s.protection.passwordHash = in.u16();
            return true;
        case rec::FeatHeader: {
            // Future-record header (type, flags, 8 reserved bytes), kind, a reserved byte, then the
            // size of the header data, all ones for the protection's.
            in.skip(12);
            if (in.u16() != ProtectionFeature)
                return false;
            in.u8();
            if (in.u32() != 0xFFFFFFFF)
                return false;
            s.protection.allowedActions = in.u32();
            return true;
        }
        default:
            return false;
        }
    } catch (const FormatError&) {
        return true;
    }
}

bool readWorkbookProtection(uint16_t type, std::span<const uint8_t> body, WorkbookProtection& protection) {
    ByteReader in(body);
    try {
        switch (type) {
        case rec::Protect:
            protection.structure = flag(in);
            return true;
        case rec::WindowProtect:
            protection.windows = flag(in);
            return true;
        case rec::Password:
            protection.passwordHash = in.u16();
            return true;
        default:
            return false;
        }
    } catch (const FormatError&) {
        return true;
    }
}

void putPrintOptions(RecordWriter& w, const PageSetup& page) {
    putFlag(w, rec::PrintHeaders, page.printHeadings);
    putFlag(w, rec::PrintGridlines, page.printGridlines);
    putFlag(w, rec::GridSet, true);
}

void putPageSetup(RecordWriter& w, const PageSetup& p) {
    putText(w, rec::Header, p.header);
    putText(w, rec::Footer, p.footer);
    putFlag(w, rec::HCenter, p.centerHorizontally);
    putFlag(w, rec::VCenter, p.centerVertically);
    putMargin(w, rec::LeftMargin, p.leftMargin);
    putMargin(w, rec::RightMargin, p.rightMargin);
    putMargin(w, rec::TopMargin, p.topMargin);
    putMargin(w, rec::BottomMargin, p.bottomMargin);
    auto& o = w.out();
    size_t h = w.begin(rec::Setup);
    putU16(o, p.paperSize);
    putU16(o, p.scale);
    putU16(o, p.firstPageNumber);
    putU16(o, p.fitWidth);
    putU16(o, p.fitHeight);
    putU16(o, uint16_t((p.acrossThenDown ? AcrossThenDown : 0) | (p.landscape ? 0 : Portrait) |
                       (p.printerSettingsKnown || !printerDefaults(p) ? 0 : NoPrinterSettings) |
                       (p.blackAndWhite ? BlackAndWhite : 0) | (p.draft ? Draft : 0) |
                       (p.usesFirstPageNumber ? UsesFirstPageNumber : 0)));
    putU16(o, p.horizontalDpi);
    putU16(o, p.verticalDpi);
    putF64(o, p.headerMargin);
    putF64(o, p.footerMargin);
    putU16(o, p.copies);
    w.end(h);
}

void putSheetProtection(RecordWriter& w, const SheetProtection& p) {
    if (!p.contents && !p.objects && !p.scenarios && p.passwordHash == 0)
        return;
    putFlag(w, rec::Protect, p.contents);
    putFlag(w, rec::ScenProtect, p.scenarios);
    putFlag(w, rec::ObjProtect, p.objects);
    size_t h = w.begin(rec::Password);
    putU16(w.out(), p.passwordHash);
    w.end(h);
}

void putProtectionFeature(RecordWriter& w, const SheetProtection& p) {
    if (!p.allowedActions)
        return;
    auto& o = w.out();
    size_t h = w.begin(rec::FeatHeader);
    putU16(o, rec::FeatHeader);
    o.insert(o.end(), 10, 0);
    putU16(o, ProtectionFeature);
    putU8(o, 1);
    putU32(o, 0xFFFFFFFF);
    putU32(o, *p.allowedActions);
    w.end(h);
}

void putWindow(RecordWriter& w, const SheetView& v, bool selected) {
    auto& o = w.out();
    bool panes = v.splitColumns > 0 || v.splitRows > 0;
    bool frozen = v.frozen && panes;
    size_t h = w.begin(rec::Window2);
    putU16(o, uint16_t((v.showFormulas ? ShowFormulas : 0) | (v.showGridlines ? ShowGridlines : 0) |
                       (v.showHeadings ? ShowHeadings : 0) | (frozen ? Frozen | FrozenWithoutSplit : 0) |
                       (v.showZeros ? ShowZeros : 0) | DefaultGridColour | (v.rightToLeft ? RightToLeft : 0) |
                       (v.showOutlineSymbols ? ShowOutlineSymbols : 0) | (selected ? Selected | Shown : 0)));
    putU16(o, uint16_t(v.topRow));
    putU16(o, uint16_t(v.leftColumn));
    putU32(o, 64);
    putU16(o, 0);
    putU16(o, v.zoom == 100 ? 0 : v.zoom);
    putU32(o, 0);
    w.end(h);
    if (v.zoom != 100) {
        h = w.begin(rec::Scl);
        putU16(o, v.zoom);
        putU16(o, 100);
        w.end(h);
    }
    if (panes) {
        h = w.begin(rec::Pane);
        putU16(o, uint16_t(v.splitColumns));
        putU16(o, uint16_t(v.splitRows));
        putU16(o, uint16_t(v.paneTopRow));
        putU16(o, uint16_t(v.paneLeftColumn));
        putU8(o, v.activePane);
        putU8(o, 0);
        w.end(h);
    }
}

void putWorkbookProtection(RecordWriter& w, const WorkbookProtection& p) {
    putFlag(w, rec::WindowProtect, p.windows);
    putFlag(w, rec::Protect, p.structure);
    size_t h = w.begin(rec::Password);
    putU16(w.out(), p.passwordHash);
    w.end(h);
}

} // namespace engine::xls
