#pragma once

#include "engine/core/address.h"
#include "engine/core/number_format.h"
#include "engine/core/value.h"
#include "engine/formula/adjust.h"
#include "engine/formula/program.h"
#include "engine/model/cell.h"
#include "engine/model/format.h"
#include "engine/model/properties.h"
#include "engine/model/sheet_extras.h"
#include "engine/model/sheet_follower.h"
#include "engine/model/sheet_settings.h"
#include "engine/model/validation_index.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class Workbook;
class Recalc;

// Throws EngineError unless `area` lies within the sheet, corners in order.
void checkArea(const Area& area);
using SheetId = formula::SheetId;

// Which way cells move when cells are inserted (Down, Right) or deleted (Up, Left).
enum class Shift { Down, Right, Up, Left };

// A worksheet of 65,536 rows by 256 columns. Rows and columns count from 0 (see address.h).
//
// Content changes (setValue, setFormula, enter, clearContents, paste, structural edits) and format,
// validation and outline changes are separate calls, so a layer above that reports content changes can
// tell them apart by the call it made.
class Sheet {
public:
    Sheet(Workbook& book, SheetId id, std::u16string name);
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;
    ~Sheet();

    SheetId id() const { return id_; }
    const std::u16string& name() const { return name_; }
    Workbook& workbook() { return book_; }
    const Workbook& workbook() const { return book_; }

    // ---- Content
    // Reads outside the sheet see empty cells; writes there, or with areas reaching outside it or with
    // corners out of order, throw EngineError and change nothing.
    // The current value; a formula's result is computed first when it is not current.
    Value value(int row, int col) const;
    // The same as a view into the sheet, valid until the next change: for readers of every cell, such
    // as a file writer, that would otherwise copy each text.
    ValueView valueView(int row, int col) const;
    // The workbook's number for the text a cell holds itself (not a formula's result): equal texts have
    // equal numbers. Nothing for any other cell.
    std::optional<std::uint32_t> textId(int row, int col) const;
    // The value as the cell shows it: through its number format, in the colour the format names.
    ShownValue shown(int row, int col) const;
    bool hasFormula(int row, int col) const;
    // A value or a formula (what End, CountA and the used range see; a format alone is no content).
    bool hasContent(int row, int col) const;
    // "=" and the formula's canonical text; empty when the cell holds no formula.
    std::u16string formulaText(int row, int col) const;
    // The formula's compiled form (program.h), valid until the next change; empty when the cell holds
    // no formula.
    std::span<const formula::Token> formulaProgram(int row, int col) const;
    // Computes a formula compiled with this workbook's sheet names as if it stood in (`row`, `col`),
    // without storing it: for criteria computed row by row and worksheet functions called from outside.
    Value evaluate(std::span<const formula::Token> program, int row, int col) const;

    // Empty clears the cell's content and keeps its format.
    void setValue(int row, int col, const Value& value);
    // A text with runs in fonts of their own; without runs, the same as a plain text.
    void setRichText(int row, int col, std::u16string_view text, std::vector<TextRun> runs);
    // The runs of a cell's rich text; nothing for any other cell.
    std::span<const TextRun> textRuns(int row, int col) const;
    // `text` as typed, with its leading "=". Throws EngineError (and changes nothing) when it does not parse.
    void setFormula(int row, int col, std::u16string_view text);
    // A formula already in compiled form, as formula::parse makes it for this workbook (its sheet ids
    // name the workbook's sheets): what a file reader translates the formulas it reads into, and what a
    // paste moves.
    void setFormula(int row, int col, std::span<const formula::Token> program);
    // The result a file stored for the formula in (`row`, `col`). It stands as the formula's result
    // when the formula uses a function or name the engine does not compute, which would otherwise show
    // #NAME?; the engine's own result replaces it everywhere else. No effect on a cell without formula.
    void setFileResult(int row, int col, const Value& result);
    // Text as a user types it: a formula, a number, a boolean or text (entry.h).
    void enter(int row, int col, std::u16string_view typed);
    void clearContents(const Area& area);
    // Contents and formats.
    void clear(const Area& area);

    // ---- Array formulas
    // One formula over `area`, as entered with Ctrl+Shift+Enter (`text` with its leading "="): every
    // cell holds it and shows its own element of the result. Arrays wholly inside `area` are replaced.
    // Throws EngineError, changing nothing, when `area` takes part of another array or the text does
    // not parse. The cells of an array change only all together: a write to some of them, or a
    // structural edit that would cut through it, throws EngineError and changes nothing; clearing
    // every cell of it removes it.
    void setArrayFormula(const Area& area, std::u16string_view text);
    void setArrayFormula(const Area& area, std::span<const formula::Token> program);
    // The range of the array formula a cell belongs to; nothing for any other cell.
    std::optional<Area> arrayAt(int row, int col) const;
    // Whether `area` takes in some cells of an array formula but not all of them.
    bool takesPartOfArray(const Area& area) const;
    // The formula as the formula bar shows it: formulaText, in braces for a cell of an array formula.
    std::u16string formulaBarText(int row, int col) const;
    const std::vector<Area>& arrayFormulas() const { return arrays_; }

    // ---- Walking the cells
    // Every stored cell in `area` (with content or a format of its own), row by row, left to right.
    void forEachCell(const Area& area, const std::function<void(int row, int col)>& visit) const;
    // Every cell in `area` with content and its current value (a stale formula is computed first), row
    // by row, left to right: `visit(row, col, const ValueView&)`. The view lasts until the next change.
    // Reads the stored cells in place, for functions that scan whole columns.
    template <class Visit> void forEachValue(const Area& area, Visit&& visit) const;
    // The smallest area holding every stored cell; nothing for an empty sheet.
    std::optional<Area> usedArea() const;
    // The nearest row above (below) `row` whose cell in `col` has content; the same along a row.
    std::optional<int> contentRowAbove(int col, int row) const;
    std::optional<int> contentRowBelow(int col, int row) const;
    std::optional<int> contentColumnLeft(int row, int col) const;
    std::optional<int> contentColumnRight(int row, int col) const;

    // ---- Formats
    // The cell's own format, else its row's, else its column's.
    FormatId formatId(int row, int col) const;
    const Format& format(int row, int col) const;
    void setFormat(const Area& area, FormatId format);
    // Applies `change` to the format of every cell of `area`. Whole rows and whole columns change the
    // row or column format and every stored cell in them; other areas change cell by cell.
    void modifyFormat(const Area& area, const std::function<void(Format&)>& change);

    // ---- Rows and columns
    const RowProperties& row(int r) const;
    RowProperties& editRow(int r);
    // Hides or shows a row; formulas that leave hidden rows out (SUBTOTAL) are computed again.
    void setRowHidden(int r, bool hidden);
    const ColumnProperties& column(int c) const;
    ColumnProperties& editColumn(int c);
    // Room for `count` cells in the row, for a reader that is told how many will follow.
    void reserveCells(int row, int count);
    // Rows from here on have default properties and no cells.
    int rowExtent() const { return static_cast<int>(rows_.size()); }
    double defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(double points) { defaultRowHeight_ = points; }
    // The height shown: the row's own when set by hand, else the sheet's default; 0 when hidden.
    double rowHeight(int r) const;
    // Range.Group on whole rows: one outline level more, at most 7.
    void groupRows(int first, int last);
    // The detail rows of a summary row: the run of rows next to it, below it when summary rows sit above
    // their detail (outline().summaryRowsBelow false) and above it otherwise, whose outline level is
    // deeper than its own. Nothing when it has none (Excel then refuses ShowDetail).
    std::optional<std::pair<int, int>> detailRows(int summaryRow) const;
    // Range.ShowDetail on a summary row: shows (unhides) or hides its detail rows and clears or sets its
    // collapsed mark. Returns false, changing nothing, when the row has no detail.
    bool showDetail(int summaryRow, bool show);

    // ---- Merged cells
    const std::vector<Area>& merges() const { return merges_; }
    // Merges overlapping `area` are absorbed into it.
    void merge(const Area& area);
    // Removes every merge that intersects `area`.
    void unmerge(const Area& area);
    std::optional<Area> mergeAt(int row, int col) const;

    // ---- Data validation
    // Each rule once, with the areas it applies to; no two areas share a cell. Their order is not
    // meaningful.
    const std::vector<Validation>& validations() const { return validations_; }
    // Cells of `area` that had a rule lose it first.
    void addValidation(const Area& area, const ValidationRule& rule);
    void removeValidation(const Area& area);
    const ValidationRule* validationAt(int row, int col) const;
    // Whether any cell of `area` has a rule.
    bool hasValidation(const Area& area) const;

    // ---- Sheet settings
    const OutlineSettings& outline() const { return outline_; }
    void setOutline(const OutlineSettings& settings) { outline_ = settings; }
    const Selection& selection() const { return selection_; }
    void setSelection(const Selection& selection) { selection_ = selection; }
    const PageSetup& pageSetup() const { return pageSetup_; }
    void setPageSetup(const PageSetup& setup) { pageSetup_ = setup; }
    const SheetView& view() const { return view_; }
    void setView(const SheetView& view) { view_ = view; }
    const SheetProtection& protection() const { return protection_; }
    void setProtection(const SheetProtection& protection) { protection_ = protection; }

    // ---- Page breaks, hyperlinks, conditional formats, comments and the autofilter: structural edits move
    // them with their cells, and they go when all their cells are deleted. Setters throw EngineError,
    // changing nothing, for areas outside the sheet.
    const std::vector<PageBreak>& rowBreaks() const { return rowBreaks_; }
    const std::vector<PageBreak>& columnBreaks() const { return columnBreaks_; }
    void setPageBreaks(std::vector<PageBreak> rows, std::vector<PageBreak> columns);
    const std::vector<Hyperlink>& hyperlinks() const { return hyperlinks_; }
    void setHyperlinks(std::vector<Hyperlink> links);
    const std::vector<ConditionalFormat>& conditionalFormats() const { return conditionalFormats_; }
    void setConditionalFormats(std::vector<ConditionalFormat> formats);
    // One comment a cell at most, in the order of their cells (by row, then column).
    const std::vector<Comment>& comments() const { return comments_; }
    // The comment of a cell, or nothing.
    const Comment* comment(int row, int col) const;
    void setComments(std::vector<Comment> comments);
    // The sheet's autofilter; its columns lie in its range. It goes when its whole range is deleted.
    const std::optional<AutoFilter>& autoFilter() const { return autoFilter_; }
    void setAutoFilter(std::optional<AutoFilter> filter);

    // ---- Structural edits
    // Cells, formats, row and column properties, merges and validations move; every formula of the
    // workbook that refers to moved cells is adjusted as Excel adjusts it. Inserted rows (columns) take
    // the format and outline level of the row above (the column to the left). Throws EngineError, and
    // changes nothing, when cells with content would be pushed off the sheet.
    void insertRows(int row, int count);
    void deleteRows(int row, int count);
    void insertColumns(int col, int count);
    void deleteColumns(int col, int count);
    // `shift` Down or Right.
    void insertCells(const Area& area, Shift shift);
    // `shift` Up or Left.
    void deleteCells(const Area& area, Shift shift);

private:
    friend class Workbook;
    friend class Recalc;
    friend class SheetFollower;

    detail::Cell* findCell(int row, int col);
    const detail::Cell* findCell(int row, int col) const;
    detail::Cell& touchCell(int row, int col);
    ValueView currentValue(int row, const detail::Cell& cell) const;
    void setName(std::u16string name) { name_ = std::move(name); }
    void releaseContent(detail::Cell& cell);
    // Before a write to `area`: refuses one that takes part of an array, and forgets the arrays it
    // covers whole.
    void releaseArrays(const Area& area);
    void checkArraysStayWhole(const formula::StructuralEdit& edit) const;
    void storeProgram(int row, int col, std::span<const formula::Token> program);
    // Whether the engine computes every function and name the program uses.
    bool computesEverything(std::span<const formula::Token> program) const;
    void noteReferences(std::span<const formula::Token> program);
    void contentChanged();
    void adjustReferences(const formula::StructuralEdit& edit);
    void checkNothingPushedOff(const Area& leaving) const;
    void moveComments(const formula::StructuralEdit& edit);
    void moveAutoFilter(const formula::StructuralEdit& edit);
    void moveBandVertically(int fromRow, int toRow, int left, int right);
    std::vector<detail::Cell>::iterator eraseColumns(std::vector<detail::Cell>& cells, int left, int right);

    Workbook& book_;
    const detail::StringPool& strings_; // the workbook's
    SheetId id_;
    std::u16string name_;
    std::vector<detail::Row> rows_;
    std::array<ColumnProperties, kColumnCount> columns_{};
    std::span<const formula::Token> programOf(const detail::FormulaSlot& slot) const {
        return {code_.data() + slot.start, slot.length};
    }
    void compactCode();
    void clearValidation(const Area& area);
    void takeValidationArea(std::uint32_t validation, std::uint32_t area);
    void putValidationArea(std::uint32_t validation, const Area& area);

    std::vector<detail::FormulaSlot> formulas_;
    std::vector<formula::Token> code_; // the tokens of every formula, and of replaced ones until compacted
    std::size_t codeGarbage_ = 0;
    std::vector<std::uint32_t> freeFormulas_;
    std::vector<Area> merges_;
    std::vector<Area> arrays_; // the ranges of array formulas, none overlapping
    std::vector<Validation> validations_;
    OutlineSettings outline_;
    Selection selection_;
    PageSetup pageSetup_;
    SheetView view_;
    SheetProtection protection_;
    std::vector<PageBreak> rowBreaks_;
    std::vector<PageBreak> columnBreaks_;
    std::vector<Hyperlink> hyperlinks_;
    std::vector<ConditionalFormat> conditionalFormats_;
    std::vector<Comment> comments_;
    std::optional<AutoFilter> autoFilter_;
    void moveExtras(const formula::StructuralEdit& edit);
    double defaultRowHeight_ = kDefaultRowHeight;
    std::uint64_t changedAt_ = 1; // workbook revision of the last content change
    // How far the formulas of the workbook (replaced ones still in an arena included) refer into this
    // sheet, at most: widened as formulas are stored and made exact by every pass of a structural edit.
    // An edit below (right of) it changes no formula, and the pass over every token is skipped.
    formula::Reach referenced_;
    SheetFollower* followers_ = nullptr;

    // Structural edits move and drop validated areas (sheet_structure.cpp); the index of them is built
    // again afterwards, which costs no more than the edit's own pass over them.
    struct ValidationIndexKeeper final : SheetFollower {
        explicit ValidationIndexKeeper(Sheet& sheet) : sheet_(sheet) { follow(sheet); }
        void structureChanged(const formula::StructuralEdit&) override;
        Sheet& sheet_;
    };
    detail::ValidationIndex validationIndex_;
    ValidationIndexKeeper validationIndexKeeper_{*this};
};

template <class Visit> void Sheet::forEachValue(const Area& area, Visit&& visit) const {
    const int last = std::min(area.bottom, rowExtent() - 1);
    for (int r = std::max(area.top, 0); r <= last; ++r) {
        const auto& cells = rows_[r].cells;
        auto it = area.left == 0
                      ? cells.begin()
                      : std::lower_bound(cells.begin(), cells.end(), area.left,
                                         [](const detail::Cell& c, int col) { return c.col < col; });
        for (; it != cells.end() && it->col <= area.right; ++it) {
            if (it->kind == detail::CellKind::Formula)
                visit(r, static_cast<int>(it->col), currentValue(r, *it));
            else if (it->kind != detail::CellKind::Empty)
                visit(r, static_cast<int>(it->col), detail::storedValue(*it, strings_));
        }
    }
}

} // namespace engine
