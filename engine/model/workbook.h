#pragma once

#include "engine/core/calendar.h"
#include "engine/formula/program.h"
#include "engine/model/defined_names.h"
#include "engine/model/format.h"
#include "engine/model/sheet.h"
#include "engine/model/string_pool.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// A workbook: its sheets in tab order, the formats they share, and the recalculation of its formulas.
class Workbook {
public:
    Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook();

    int sheetCount() const { return static_cast<int>(sheets_.size()); }
    Sheet& sheet(int index) { return *sheets_.at(index); }
    const Sheet& sheet(int index) const { return *sheets_.at(index); }
    int indexOf(const Sheet& sheet) const;
    // Sheet names compare without regard to case, as in Excel.
    Sheet* findSheet(std::u16string_view name);
    const Sheet* findSheet(std::u16string_view name) const;
    Sheet* sheetById(SheetId id);
    const Sheet* sheetById(SheetId id) const;

    // Throws EngineError for a name in use or one Excel refuses (empty, longer than 31 characters, or
    // holding : \ / ? * [ ]). Without `position` the sheet goes last.
    Sheet& addSheet(std::u16string name, std::optional<int> position = std::nullopt);
    // Formulas elsewhere that referred to the sheet give #REF!.
    void removeSheet(Sheet& sheet);
    void renameSheet(Sheet& sheet, std::u16string name);
    void moveSheet(Sheet& sheet, int position);

    // The workbook's and its sheets' defined names. A name's references move with structural edits
    // like any formula's; removing a sheet forgets the names that belong to it.
    const DefinedNames& names() const { return names_; }
    void defineName(DefinedName name);

    FormatTable& formats() { return formats_; }
    const FormatTable& formats() const { return formats_; }
    // The face and size of the font that formats leave empty (Font): Arial 10 in a new workbook, the
    // file's own in one read from a file.
    const Font& defaultFont() const { return defaultFont_; }
    void setDefaultFont(Font font) {
        defaultFont_ = std::move(font);
        bump();
    }

    const WorkbookProtection& protection() const { return protection_; }
    void setProtection(const WorkbookProtection& protection) { protection_ = protection; }

    // ---- Recalculation (see recalc.h)
    // Computes every formula whose result is not current.
    void calculateAll();
    // Forgets every result, so that the next reads compute them from nothing.
    void invalidateResults();
    // The moment NOW() gives, as a serial number of the workbook's date system; nothing for the local
    // clock (the default).
    void setNow(std::optional<double> serial) {
        now_ = serial;
        contentChangedAt_ = bump();
    }
    double now() const;
    // The date system of the workbook's serial numbers: 1900 unless its file says 1904.
    DateSystem dateSystem() const { return dateSystem_; }
    void setDateSystem(DateSystem system) {
        dateSystem_ = system;
        contentChangedAt_ = bump();
    }

    // Grows with every change of content, format, properties or structure.
    std::uint64_t revision() const { return revision_; }
    // The revision of the last change of content (values, formulas, structure) on any sheet.
    std::uint64_t contentRevision() const { return contentChangedAt_; }

    // The names of the workbook's sheets, for compiling and printing formulas.
    const formula::SheetNames& sheetNames() const { return sheetNames_; }

private:
    friend class Sheet;
    friend class Recalc;

    std::uint64_t bump() { return ++revision_; }
    void checkSheetName(std::u16string_view name, const Sheet* except) const;

    std::vector<std::unique_ptr<Sheet>> sheets_;
    SheetId nextId_ = 0;
    FormatTable formats_;
    DefinedNames names_;
    Font defaultFont_{u"Arial", 10};
    WorkbookProtection protection_;
    detail::StringPool strings_;
    std::uint64_t revision_ = 1;
    std::uint64_t contentChangedAt_ = 1;   // the last content change on any sheet
    std::uint64_t rowsShownChangedAt_ = 1; // the last time a row of any sheet was hidden or shown
    std::optional<double> now_;
    DateSystem dateSystem_ = DateSystem::Excel1900;
    formula::SheetNames sheetNames_;
    std::unique_ptr<Recalc> recalc_;
};

} // namespace engine
