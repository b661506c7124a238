#pragma once

#include "engine/model/properties.h"
#include "engine/model/sheet_settings.h"
#include "engine/xls/record_writer.h"

#include <cstdint>
#include <span>

namespace engine::xls {

// What a sheet's page setup, window and protection records hold, gathered as they are read.
struct SheetSettings {
    PageSetup page;
    SheetView view;
    SheetProtection protection;
};

// COLINFO's width, in 256ths of the width of the default font's digits with their padding, as the
// characters that ColumnWidth reports (to two places), and back: the stored width while the column's
// width is still the one read, else the nearest.
double columnWidthFromStored(uint16_t stored);
uint16_t storedColumnWidth(const ColumnProperties& column);
// COLINFO's mark of a width set by hand: the file's own while the width is, else whether it is custom.
bool columnWidthSetByHand(const ColumnProperties& column);

// Takes one record of a sheet into `settings`; false when `type` is not one of the records of page
// setup, window or protection. A damaged one leaves what it would have set as it was: these records
// never make a sheet unreadable.
bool readSheetSetting(uint16_t type, std::span<const uint8_t> body, SheetSettings& settings);
// The same for the workbook's protection records in the globals.
bool readWorkbookProtection(uint16_t type, std::span<const uint8_t> body, WorkbookProtection& protection);

// PRINTHEADERS, PRINTGRIDLINES and GRIDSET, which come before the outline's records.
void putPrintOptions(RecordWriter& w, const PageSetup& page);
// HEADER to SETUP, then the protection records: after WSBOOL, before the column widths.
void putPageSetup(RecordWriter& w, const PageSetup& page);
void putSheetProtection(RecordWriter& w, const SheetProtection& protection);
// The actions a protected sheet allows, at the end of the sheet.
void putProtectionFeature(RecordWriter& w, const SheetProtection& protection);
// WINDOW2, SCL and PANE, which the SELECTION records follow.
void putWindow(RecordWriter& w, const SheetView& view, bool selected);
void putWorkbookProtection(RecordWriter& w, const WorkbookProtection& protection);

} // namespace engine::xls
