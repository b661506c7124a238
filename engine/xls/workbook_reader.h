#pragma once

#include "engine/model/workbook.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/record_reader.h"
#include "engine/xls/sst.h"
#include "engine/xls/style_records.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace engine::xls {

// Reads a BIFF8 workbook stream into a workbook. Raises FormatError for anything that makes the stream
// unreadable; what is readable but not kept is collected in `dropped`.
class WorkbookReader {
public:
    WorkbookReader(std::span<const uint8_t> stream, Workbook& book) : records_(stream), book_(book) {}

    void read();
    std::vector<std::string> dropped() const { return {dropped_.begin(), dropped_.end()}; }

private:
    struct SheetEntry {
        uint32_t offset;
        std::u16string name;
    };
    struct SupBook {
        enum Kind { Self, AddIn, External } kind;
        std::vector<std::u16string> names;
    };

    void readGlobals();
    void readSheet(Sheet& sheet, size_t offset, size_t end);
    void noteUnkept(uint16_t type);
    void externSheet(std::span<const uint8_t> body);
    // The sheets and add-in names formulas refer to, once the workbook's sheets exist.
    void linkExternSheets();
    // NAME records are read with the globals, and their formulas once the sheets they name exist.
    void definedName(std::span<const uint8_t> body);
    void defineNames();
    FormatId formatOf(uint16_t xf);

    RecordReader records_;
    Workbook& book_;
    std::set<std::string> dropped_;

    std::vector<SheetEntry> sheets_;
    // For each sheet the workbook lists (chart and macro sheets among them), its place among the sheets
    // kept: names and references count the sheets as listed.
    std::vector<std::optional<size_t>> keptSheets_;
    std::optional<size_t> keptSheet(size_t listed) const;
    // A cell's text from the shared string table, with the runs of a rich text.
    void setSharedString(Sheet& sheet, int row, int col, uint32_t index);
    const FontRecord& font(uint16_t index) const;

    std::vector<Value> sst_;
    std::unordered_map<uint32_t, std::vector<TextRun>> sstRuns_; // by table index, once fonts are known
    std::unordered_map<uint32_t, SstRuns> sstFileRuns_;          // as read, before the fonts are
    std::vector<FontRecord> fonts_;
    std::vector<XfRecord> xfs_;
    std::unordered_map<uint16_t, std::u16string> numberFormats_; // the file's FORMAT records
    std::vector<FormatId> xfFormats_;                            // FormatId per XF, filled as cells use them
    std::vector<uint8_t> xfKnown_;
    std::vector<SupBook> supBooks_;
    std::vector<std::tuple<uint16_t, uint16_t, uint16_t>> xti_;
    TokenContext tokens_;
    std::vector<std::vector<uint8_t>> nameRecords_;
};

} // namespace engine::xls
