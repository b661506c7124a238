#pragma once

#include "engine/model/workbook.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/record_writer.h"
#include "engine/xls/sheet_drawing.h"
#include "engine/xls/sst.h"
#include "engine/xls/style_records.h"

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine::xls {

// Writes a workbook as a BIFF8 workbook stream. The sheets are written first, each into its own buffer,
// because they decide what the globals hold (shared strings, formats, add-in names); the globals then
// go in front and the sheets' stream positions are patched. Raises FormatError for content an Excel
// 97-2003 file cannot hold.
class WorkbookWriter {
public:
    explicit WorkbookWriter(const Workbook& book);
    // The stream in pieces that follow one another: the globals, then each sheet.
    std::vector<std::vector<uint8_t>> pieces();

private:
    std::vector<uint8_t> writeSheet(const Sheet& sheet, int index);
    void writeCells(RecordWriter& w, const Sheet& sheet, size_t dbCellTable);
    void writeCell(RecordWriter& w, const Sheet& sheet, int row, int col);
    void writeSheetSettings(RecordWriter& w, const Sheet& sheet);
    void writeViewAndExtras(RecordWriter& w, const Sheet& sheet, int index);
    void writeGlobals(RecordWriter& w, std::vector<size_t>& boundSheetAt);

    uint16_t xfIndex(FormatId id);
    uint16_t fontIndex(const Font& font);
    uint16_t numberFormatIndex(const std::u16string& code);
    uint32_t sharedString(uint32_t textId, std::u16string_view s);
    uint32_t richString(std::u16string_view s, std::span<const TextRun> runs);
    std::string cellName(const Sheet& sheet, int row, int col) const;

    const Workbook& book_;
    FormulaEncoder encoder_;
    FontRecord baseFont_;
    std::vector<FontRecord> fonts_;             // from the fifth font on (file index 5)
    std::vector<std::u16string> numberFormats_; // the workbook's own, from index FirstCustomFormat
    std::vector<XfRecord> cellXfs_;
    std::unordered_map<FormatId, uint16_t> xfOf_;
    // The table's texts in order, viewing the workbook's own, and each text's place in it by the
    // workbook's text number (equal texts share one number, so the table holds each once).
    std::vector<std::u16string_view> strings_;
    std::unordered_map<uint32_t, uint32_t> stringIndex_;
    std::unordered_map<uint32_t, SstRuns> stringRuns_; // of the rich texts, which are not shared
    uint32_t stringRefs_ = 0;
    std::vector<std::u16string> addIns_;
    std::vector<DrawingShapes> drawings_; // of the sheets with comments, in sheet order
    // The sheet whose formulas are being encoded: its own names come before the workbook's.
    formula::SheetId host_ = formula::kOwnSheet;
    std::vector<uint8_t> scratch_;
    std::vector<uint8_t> arrayValues_;
    std::vector<uint8_t> arrayTokens_; // an array formula's, for its ARRAY record // the values of a
                                       // formula's array constants, after its tokens
    std::vector<std::pair<int, int>> cells_;
    std::vector<int> rows_;
    std::vector<uint16_t> starts_;
    // Per sheet: where its INDEX lists the DBCELL positions (relative to the sheet), and how many.
    std::vector<size_t> dbCellTables_;
    std::vector<size_t> dbCellCounts_;
};

} // namespace engine::xls
