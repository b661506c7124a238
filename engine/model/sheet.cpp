#include "engine/model/sheet.h"

#include "engine/core/error.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/model/entry.h"
#include "engine/model/recalc.h"
#include "engine/model/workbook.h"

#include <algorithm>
#include <unordered_map>

namespace engine {

using detail::Cell;
using detail::CellKind;

namespace {

const RowProperties kDefaultRow{};

auto byColumn = [](const Cell& c, int col) {
    return c.col < col;
};

} // namespace

void checkArea(const Area& a) {
    if (a.top < 0 || a.left < 0 || a.bottom > kLastRow || a.right > kLastColumn || a.top > a.bottom ||
        a.left > a.right)
        throw EngineError("a range outside the sheet");
}

Sheet::Sheet(Workbook& book, SheetId id, std::u16string name)
    : book_(book), strings_(book.strings_), id_(id), name_(std::move(name)) {}

Sheet::~Sheet() {
    while (followers_)
        followers_->leave();
}

// ---- Storage

Cell* Sheet::findCell(int row, int col) {
    if (row < 0 || row >= rowExtent() || col < 0 || col > kLastColumn)
        return nullptr;
    auto& cells = rows_[row].cells;
    auto it = std::lower_bound(cells.begin(), cells.end(), col, byColumn);
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

const Cell* Sheet::findCell(int row, int col) const {
    return const_cast<Sheet*>(this)->findCell(row, col);
}

Cell& Sheet::touchCell(int row, int col) {
    if (row < 0 || row > kLastRow || col < 0 || col > kLastColumn)
        throw EngineError("a cell outside the sheet");
    if (row >= rowExtent())
        rows_.resize(row + 1);
    auto& cells = rows_[row].cells;
    auto it = std::lower_bound(cells.begin(), cells.end(), col, byColumn);
    if (it != cells.end() && it->col == col)
        return *it;
    Cell c;
    c.col = static_cast<std::uint8_t>(col);
    c.format = formatId(row, col);
    return *cells.insert(it, c);
}

void Sheet::releaseContent(Cell& cell) {
    if (cell.kind == CellKind::Formula) {
        detail::FormulaSlot& f = formulas_[cell.data.formula];
        codeGarbage_ += f.length;
        f = detail::FormulaSlot{};
        freeFormulas_.push_back(cell.data.formula);
    }
    cell.kind = CellKind::Empty;
    cell.code = 0;
    cell.data.number = 0;
}

void Sheet::storeProgram(int row, int col, std::span<const formula::Token> program) {
    std::uint32_t index;
    if (!freeFormulas_.empty()) {
        index = freeFormulas_.back();
        freeFormulas_.pop_back();
    } else {
        index = static_cast<std::uint32_t>(formulas_.size());
        formulas_.emplace_back();
    }
    Cell& c = touchCell(row, col);
    releaseContent(c);
    if (codeGarbage_ > 4096 && codeGarbage_ * 2 > code_.size())
        compactCode();
    detail::FormulaSlot& f = formulas_[index];
    // A defined name may stand for cells of any sheet.
    f.otherSheets =
        formula::readsOtherSheets(program) || formula::isVolatile(program) || formula::usesNames(program);
    f.shownRows = formula::readsShownRows(program);
    f.start = static_cast<std::uint32_t>(code_.size());
    f.length = static_cast<std::uint32_t>(program.size());
    f.inUse = true;
    code_.insert(code_.end(), program.begin(), program.end());
    noteReferences(program);
    c.kind = CellKind::Formula;
    c.data.formula = index;
    contentChanged();
}

void Sheet::noteReferences(std::span<const formula::Token> program) {
    for (const formula::Token& t : program) {
        if (t.kind != formula::TokenKind::Ref && t.kind != formula::TokenKind::Area)
            continue;
        Sheet* target = t.sheet == formula::kOwnSheet ? this : book_.sheetById(t.sheet);
        if (target)
            formula::extendReach(target->referenced_, t);
    }
}

void Sheet::compactCode() {
    std::vector<formula::Token> kept;
    kept.reserve(code_.size() - codeGarbage_);
    for (detail::FormulaSlot& f : formulas_) {
        if (!f.inUse)
            continue;
        auto start = static_cast<std::uint32_t>(kept.size());
        kept.insert(kept.end(), code_.begin() + f.start, code_.begin() + f.start + f.length);
        f.start = start;
    }
    code_ = std::move(kept);
    codeGarbage_ = 0;
}

void Sheet::contentChanged() {
    changedAt_ = book_.bump();
    book_.contentChangedAt_ = changedAt_;
}

// ---- Content

Value Sheet::value(int row, int col) const {
    const Cell* c = findCell(row, col);
    return c ? currentValue(row, *c).toValue() : Value();
}

ValueView Sheet::valueView(int row, int col) const {
    const Cell* c = findCell(row, col);
    return c ? currentValue(row, *c) : ValueView();
}

std::optional<std::uint32_t> Sheet::textId(int row, int col) const {
    const Cell* c = findCell(row, col);
    if (!c || c->kind != CellKind::Text)
        return std::nullopt;
    return c->data.text;
}

ShownValue Sheet::shown(int row, int col) const {
    const Cell* c = findCell(row, col);
    if (!c || c->kind == CellKind::Empty)
        return {};
    return showValue(currentValue(row, *c).toValue(), format(row, col).numberFormat, book_.dateSystem());
}

ValueView Sheet::currentValue(int row, const Cell& c) const {
    // Computing a result is no visible change, so reading stays a const operation.
    if (c.kind == CellKind::Formula && !book_.recalc_->isCurrent(*this, formulas_[c.data.formula]))
        book_.recalc_->compute(const_cast<Sheet&>(*this), c.data.formula, row, c.col);
    return book_.recalc_->view(*this, c);
}

bool Sheet::hasFormula(int row, int col) const {
    const Cell* c = findCell(row, col);
    return c && c->kind == CellKind::Formula;
}

bool Sheet::hasContent(int row, int col) const {
    const Cell* c = findCell(row, col);
    return c && c->kind != CellKind::Empty;
}

std::u16string Sheet::formulaText(int row, int col) const {
    auto program = formulaProgram(row, col);
    return program.empty() ? std::u16string() : u"=" + formula::print(program, book_.sheetNames());
}

std::span<const formula::Token> Sheet::formulaProgram(int row, int col) const {
    const Cell* c = findCell(row, col);
    if (!c || c->kind != CellKind::Formula)
        return {};
    return programOf(formulas_[c->data.formula]);
}

Value Sheet::evaluate(std::span<const formula::Token> program, int row, int col) const {
    return book_.recalc_->evaluate(const_cast<Sheet&>(*this), program, row, col);
}

void Sheet::setValue(int row, int col, const Value& v) {
    if (v.isEmpty()) {
        clearContents(Area::cell(row, col));
        return;
    }
    releaseArrays(Area::cell(row, col));
    Cell& c = touchCell(row, col);
    releaseContent(c);
    switch (v.kind()) {
    case Value::Kind::Number:
        c.kind = CellKind::Number;
        c.data.number = v.asNumber();
        break;
    case Value::Kind::Text:
        c.kind = CellKind::Text;
        c.data.text = book_.strings_.intern(v.asText());
        break;
    case Value::Kind::Boolean:
        c.kind = CellKind::Boolean;
        c.code = v.asBoolean() ? 1 : 0;
        break;
    case Value::Kind::Error:
        c.kind = CellKind::Error;
        c.code = static_cast<std::uint8_t>(v.asError());
        break;
    case Value::Kind::Empty:
        break;
    }
    contentChanged();
}

void Sheet::setRichText(int row, int col, std::u16string_view text, std::vector<TextRun> runs) {
    releaseArrays(Area::cell(row, col));
    Cell& c = touchCell(row, col);
    releaseContent(c);
    c.kind = CellKind::Text;
    c.data.text = book_.strings_.intern(text, std::move(runs));
    contentChanged();
}

std::span<const TextRun> Sheet::textRuns(int row, int col) const {
    const Cell* c = findCell(row, col);
    if (!c || c->kind != CellKind::Text)
        return {};
    return strings_.runs(c->data.text);
}

void Sheet::setFormula(int row, int col, std::u16string_view text) {
    if (text.empty() || text[0] != u'=') {
        enter(row, col, text);
        return;
    }
    formula::Program program = formula::parse(text.substr(1), book_.sheetNames());
    releaseArrays(Area::cell(row, col));
    storeProgram(row, col, program);
}

void Sheet::setFormula(int row, int col, std::span<const formula::Token> program) {
    releaseArrays(Area::cell(row, col));
    storeProgram(row, col, program);
}

bool Sheet::computesEverything(std::span<const formula::Token> program) const {
    for (std::size_t i = 0; i < program.size(); ++i) {
        const formula::Token& t = program[i];
        if (t.kind != formula::TokenKind::Name)
            continue;
        if (t.flags & formula::kUnknownCall)
            return false;
        if (book_.names().operand(formula::readChars(program, i, t.payload.call.id), id_).empty())
            return false;
    }
    return true;
}

void Sheet::setFileResult(int row, int col, const Value& result) {
    const Cell* c = findCell(row, col);
    if (!c || c->kind != CellKind::Formula)
        return;
    detail::FormulaSlot& f = formulas_[c->data.formula];
    if (computesEverything(programOf(f)))
        return;
    f.result = result;
    f.keepsFileResult = true;
    contentChanged();
}

void Sheet::enter(int row, int col, std::u16string_view typed) {
    Entry e = interpretEntry(typed);
    if (e.isFormula)
        setFormula(row, col, formula::parse(e.formula, book_.sheetNames()));
    else
        setValue(row, col, e.value);
}

void Sheet::clearContents(const Area& area) {
    checkArea(area);
    releaseArrays(area);
    int last = std::min(area.bottom, rowExtent() - 1);
    for (int r = area.top; r <= last; ++r) {
        auto& cells = rows_[r].cells;
        auto it = std::lower_bound(cells.begin(), cells.end(), area.left, byColumn);
        while (it != cells.end() && it->col <= area.right) {
            releaseContent(*it);
            FormatId inherited = rows_[r].props.format ? rows_[r].props.format : columns_[it->col].format;
            it = it->format == inherited ? cells.erase(it) : it + 1;
        }
    }
    contentChanged();
}

void Sheet::clear(const Area& area) {
    checkArea(area);
    releaseArrays(area);
    int last = std::min(area.bottom, rowExtent() - 1);
    for (int r = area.top; r <= last; ++r) {
        auto& cells = rows_[r].cells;
        auto first = std::lower_bound(cells.begin(), cells.end(), area.left, byColumn);
        auto end = first;
        for (; end != cells.end() && end->col <= area.right; ++end)
            releaseContent(*end);
        cells.erase(first, end);
        if (area.isWholeRows())
            rows_[r].props.format = kDefaultFormat;
    }
    if (area.isWholeColumns())
        for (int c = area.left; c <= area.right; ++c)
            columns_[c].format = kDefaultFormat;
    contentChanged();
}

// ---- Walking the cells

void Sheet::forEachCell(const Area& area, const std::function<void(int row, int col)>& visit) const {
    int last = std::min(area.bottom, rowExtent() - 1);
    for (int r = std::max(area.top, 0); r <= last; ++r) {
        const auto& cells = rows_[r].cells;
        for (auto it = std::lower_bound(cells.begin(), cells.end(), area.left, byColumn);
             it != cells.end() && it->col <= area.right; ++it)
            visit(r, it->col);
    }
}

std::optional<Area> Sheet::usedArea() const {
    std::optional<Area> used;
    for (int r = 0; r < rowExtent(); ++r) {
        const auto& cells = rows_[r].cells;
        if (cells.empty())
            continue;
        if (!used)
            used = Area{r, cells.front().col, r, cells.back().col};
        used->bottom = r;
        used->left = std::min<int>(used->left, cells.front().col);
        used->right = std::max<int>(used->right, cells.back().col);
    }
    return used;
}

std::optional<int> Sheet::contentRowAbove(int col, int row) const {
    for (int r = std::min(row, rowExtent()) - 1; r >= 0; --r)
        if (hasContent(r, col))
            return r;
    return std::nullopt;
}

std::optional<int> Sheet::contentRowBelow(int col, int row) const {
    for (int r = row + 1; r < rowExtent(); ++r)
        if (hasContent(r, col))
            return r;
    return std::nullopt;
}

std::optional<int> Sheet::contentColumnLeft(int row, int col) const {
    if (row >= rowExtent())
        return std::nullopt;
    const auto& cells = rows_[row].cells;
    for (auto it = std::lower_bound(cells.begin(), cells.end(), col, byColumn); it != cells.begin();) {
        --it;
        if (it->kind != CellKind::Empty)
            return it->col;
    }
    return std::nullopt;
}

std::optional<int> Sheet::contentColumnRight(int row, int col) const {
    if (row >= rowExtent())
        return std::nullopt;
    const auto& cells = rows_[row].cells;
    for (auto it = std::lower_bound(cells.begin(), cells.end(), col + 1, byColumn); it != cells.end(); ++it)
        if (it->kind != CellKind::Empty)
            return it->col;
    return std::nullopt;
}

// ---- Formats

FormatId Sheet::formatId(int row, int col) const {
    if (col < 0 || col > kLastColumn)
        return kDefaultFormat;
    if (const Cell* c = findCell(row, col))
        return c->format;
    if (row >= 0 && row < rowExtent() && rows_[row].props.format != kDefaultFormat)
        return rows_[row].props.format;
    return columns_[col].format;
}

const Format& Sheet::format(int row, int col) const {
    return book_.formats_.get(formatId(row, col));
}

void Sheet::setFormat(const Area& area, FormatId id) {
    checkArea(area);
    if (area.isWholeRows() || area.isWholeColumns()) {
        Format f = book_.formats_.get(id);
        modifyFormat(area, [&f](Format& x) { x = f; });
        return;
    }
    // Cell by cell, without comparing formats: what a file reader does for every cell it loads.
    for (int r = area.top; r <= area.bottom; ++r)
        for (int c = area.left; c <= area.right; ++c)
            touchCell(r, c).format = id;
    book_.bump();
}

void Sheet::modifyFormat(const Area& area, const std::function<void(Format&)>& change) {
    checkArea(area);
    std::unordered_map<FormatId, FormatId> done;
    auto map = [&](FormatId id) {
        auto [it, added] = done.try_emplace(id, id);
        if (added) {
            Format f = book_.formats_.get(id);
            change(f);
            it->second = book_.formats_.intern(f);
        }
        return it->second;
    };
    if (area.isWholeRows() || area.isWholeColumns()) {
        if (area.isWholeColumns())
            for (int c = area.left; c <= area.right; ++c)
                columns_[c].format = map(columns_[c].format);
        if (area.isWholeRows() && rowExtent() <= area.bottom)
            rows_.resize(area.bottom + 1);
        int last = std::min(area.bottom, rowExtent() - 1);
        for (int r = area.top; r <= last; ++r) {
            detail::Row& row = rows_[r];
            if (area.isWholeRows()) {
                row.props.format = map(row.props.format);
            } else if (row.props.format != kDefaultFormat) {
                // A row format would hide the new column format: its cells in these columns get one.
                for (int c = area.left; c <= area.right; ++c)
                    touchCell(r, c);
            }
            for (Cell& c : row.cells)
                if (c.col >= area.left && c.col <= area.right)
                    c.format = map(c.format);
        }
    } else {
        for (int r = area.top; r <= area.bottom; ++r)
            for (int c = area.left; c <= area.right; ++c) {
                Cell& cell = touchCell(r, c);
                cell.format = map(cell.format);
            }
    }
    book_.bump();
}

// ---- Rows and columns

const RowProperties& Sheet::row(int r) const {
    return r >= 0 && r < rowExtent() ? rows_[r].props : kDefaultRow;
}

RowProperties& Sheet::editRow(int r) {
    if (r < 0 || r > kLastRow)
        throw EngineError("a row outside the sheet");
    if (r >= rowExtent())
        rows_.resize(r + 1);
    book_.bump();
    return rows_[r].props;
}

void Sheet::setRowHidden(int r, bool hidden) {
    if (row(r).hidden == hidden)
        return;
    editRow(r).hidden = hidden;
    book_.rowsShownChangedAt_ = book_.bump();
}

void Sheet::reserveCells(int row, int count) {
    if (row < 0 || row > kLastRow)
        throw EngineError("a row outside the sheet");
    if (row >= rowExtent())
        rows_.resize(row + 1);
    rows_[row].cells.reserve(static_cast<std::size_t>(std::clamp(count, 0, kColumnCount)));
}

const ColumnProperties& Sheet::column(int c) const {
    static const ColumnProperties kDefaultColumn{};
    return c >= 0 && c <= kLastColumn ? columns_[c] : kDefaultColumn;
}

ColumnProperties& Sheet::editColumn(int c) {
    if (c < 0 || c > kLastColumn)
        throw EngineError("a column outside the sheet");
    book_.bump();
    return columns_[c];
}

double Sheet::rowHeight(int r) const {
    const RowProperties& p = row(r);
    if (p.hidden)
        return 0;
    return p.customHeight ? p.height : defaultRowHeight_;
}

void Sheet::groupRows(int first, int last) {
    for (int r = first; r <= last; ++r) {
        RowProperties& p = editRow(r);
        p.outlineLevel = static_cast<std::uint8_t>(std::min(p.outlineLevel + 1, kMaxOutlineLevel));
    }
}

std::optional<std::pair<int, int>> Sheet::detailRows(int summaryRow) const {
    int level = row(summaryRow).outlineLevel;
    int step = outline_.summaryRowsBelow ? -1 : 1;
    int r = summaryRow + step;
    while (r >= 0 && r <= kLastRow && row(r).outlineLevel > level)
        r += step;
    int last = r - step;
    if (last == summaryRow)
        return std::nullopt;
    return std::pair{std::min(summaryRow + step, last), std::max(summaryRow + step, last)};
}

bool Sheet::showDetail(int summaryRow, bool show) {
    auto detail = detailRows(summaryRow);
    if (!detail)
        return false;
    for (int r = detail->first; r <= detail->second; ++r)
        setRowHidden(r, !show);
    editRow(summaryRow).collapsed = !show;
    return true;
}

// ---- Merged cells

void Sheet::merge(const Area& area) {
    checkArea(area);
    Area m = area;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = merges_.begin(); it != merges_.end();) {
            if (!it->intersects(m)) {
                ++it;
                continue;
            }
            m = {std::min(m.top, it->top), std::min(m.left, it->left), std::max(m.bottom, it->bottom),
                 std::max(m.right, it->right)};
            it = merges_.erase(it);
            grew = true;
        }
    }
    merges_.push_back(m);
    book_.bump();
}

void Sheet::unmerge(const Area& area) {
    checkArea(area);
    std::erase_if(merges_, [&](const Area& m) { return m.intersects(area); });
    book_.bump();
}

std::optional<Area> Sheet::mergeAt(int row, int col) const {
    for (const Area& m : merges_)
        if (m.contains(row, col))
            return m;
    return std::nullopt;
}

void Sheet::setPageBreaks(std::vector<PageBreak> rows, std::vector<PageBreak> columns) {
    for (const PageBreak& b : rows)
        checkArea({b.at, b.first, b.at, b.last});
    for (const PageBreak& b : columns)
        checkArea({b.first, b.at, b.last, b.at});
    rowBreaks_ = std::move(rows);
    columnBreaks_ = std::move(columns);
}

void Sheet::setHyperlinks(std::vector<Hyperlink> links) {
    for (const Hyperlink& link : links)
        checkArea(link.area);
    hyperlinks_ = std::move(links);
}

void Sheet::setConditionalFormats(std::vector<ConditionalFormat> formats) {
    for (const ConditionalFormat& f : formats)
        for (const Area& a : f.areas)
            checkArea(a);
    conditionalFormats_ = std::move(formats);
}

const Comment* Sheet::comment(int row, int col) const {
    auto at = std::lower_bound(
        comments_.begin(), comments_.end(), std::pair(row, col),
        [](const Comment& c, std::pair<int, int> cell) { return std::pair(c.cell.row, c.cell.col) < cell; });
    return at != comments_.end() && at->cell == CellAddress{row, col} ? &*at : nullptr;
}

void Sheet::setAutoFilter(std::optional<AutoFilter> filter) {
    if (filter) {
        checkArea(filter->range);
        for (const FilterColumn& c : filter->columns)
            if (c.col < filter->range.left || c.col > filter->range.right)
                throw EngineError("an autofilter's condition lies outside its range");
    }
    autoFilter_ = std::move(filter);
}

void Sheet::setComments(std::vector<Comment> comments) {
    for (const Comment& c : comments) {
        checkArea(Area::cell(c.cell.row, c.cell.col));
        const CommentBox& b = c.box;
        checkArea({std::min(b.top, b.bottom), std::min(b.left, b.right), std::max(b.top, b.bottom),
                   std::max(b.left, b.right)});
    }
    auto byCell = [](const Comment& a, const Comment& b) {
        return std::pair(a.cell.row, a.cell.col) < std::pair(b.cell.row, b.cell.col);
    };
    std::stable_sort(comments.begin(), comments.end(), byCell);
    auto same = std::adjacent_find(comments.begin(), comments.end(),
                                   [](const Comment& a, const Comment& b) { return a.cell == b.cell; });
    if (same != comments.end())
        throw EngineError("a cell holds more than one comment");
    comments_ = std::move(comments);
}

} // namespace engine
