#include "engine/automation/user.h"

#include "engine/automation/autofit.h"
#include "engine/automation/clipboard_text.h"
#include "engine/automation/editing.h"
#include "engine/automation/find.h"
#include "engine/automation/objects.h"
#include "engine/automation/prompts.h"
#include "engine/automation/range.h"
#include "engine/automation/shared_clipboard.h"
#include "engine/automation/values.h"
#include "engine/core/text.h"
#include "engine/model/entry.h"

#include <cmath>

namespace engine::automation::user {

namespace {

std::shared_ptr<Book> bookOf(Application& app, std::u16string_view name) {
    std::shared_ptr<Book> book = name.empty() ? app.activeBook() : app.findBook(name);
    if (!book)
        fail(name.empty() ? u"No workbook is open."
                          : u"No workbook named " + std::u16string(name) + u" is open.");
    return book;
}

SheetRef refOf(Application& app, const Place& place) {
    std::shared_ptr<Book> book = bookOf(app, place.book);
    int index = book->activeSheet;
    if (!place.sheet.empty()) {
        const Sheet* found = book->model->findSheet(place.sheet);
        if (!found)
            fail(u"There is no sheet named " + place.sheet + u".");
        index = book->model->indexOf(*found);
    }
    return sheetRef(book, index);
}

CellAddress cellOf(std::u16string_view address) {
    std::optional<Area> area = parseArea(address);
    if (!area || area->rowCount() != 1 || area->columnCount() != 1)
        fail(std::u16string(address) + u" is not a cell.");
    return {area->top, area->left};
}

void show(Application& app, const SheetRef& ref) {
    app.activateSheet(ref.book, ref.book->model->indexOf(ref.sheet()));
}

// The items a list validation offers: its text split at commas, or the cells it refers to.
std::vector<std::u16string> listItems(const Sheet& sheet, const std::u16string& list) {
    std::vector<std::u16string> items;
    if (!list.empty() && list[0] == u'=') {
        if (std::optional<Area> area = parseArea(std::u16string_view(list).substr(1)))
            for (int r = area->top; r <= area->bottom; ++r)
                for (int c = area->left; c <= area->right; ++c)
                    items.push_back(shownText(sheet.value(r, c)));
        return items;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t comma = list.find(u',', start);
        std::u16string item = list.substr(start, comma == std::u16string::npos ? comma : comma - start);
        std::size_t first = item.find_first_not_of(u' ');
        std::size_t last = item.find_last_not_of(u' ');
        items.push_back(first == std::u16string::npos ? std::u16string()
                                                      : item.substr(first, last - first + 1));
        if (comma == std::u16string::npos)
            break;
        start = comma + 1;
    }
    return items;
}

bool offered(const std::vector<std::u16string>& items, std::u16string_view typed) {
    Entry entry = interpretEntry(typed);
    for (const std::u16string& item : items) {
        if (compareFolded(item, typed) == 0)
            return true;
        std::optional<double> n = readNumber(item);
        if (n && !entry.isFormula && entry.value.isNumber() && entry.value.asNumber() == *n)
            return true;
    }
    return false;
}

// The one area of whole columns (whole rows) that a range text names.
Area wholeArea(std::u16string_view range, bool columns) {
    std::vector<Area> areas = parseRangeText(range);
    if (areas.size() != 1 || !(columns ? areas.front().isWholeColumns() : areas.front().isWholeRows()))
        fail(std::u16string(range) + (columns ? u" is not whole columns." : u" is not whole rows."));
    return areas.front();
}

// Expands the groups that contain the row, outermost first, when one of them hides it.
void reveal(Sheet& sheet, int row) {
    if (!sheet.row(row).hidden)
        return;
    int step = sheet.outline().summaryRowsBelow ? 1 : -1;
    std::vector<int> summaries; // innermost first
    int summary = row;
    for (int level = sheet.row(row).outlineLevel; level > 0; --level) {
        while (summary >= 0 && summary <= kLastRow && sheet.row(summary).outlineLevel >= level)
            summary += step;
        if (summary < 0 || summary > kLastRow)
            break;
        summaries.push_back(summary);
    }
    for (auto it = summaries.rbegin(); it != summaries.rend(); ++it)
        sheet.showDetail(*it, true);
}

// Whether a number lies within the bounds of a whole-number or decimal rule. Bounds that are not
// constants (formulas, references) are not checked here.
bool withinBounds(const ValidationRule& rule, double value) {
    const std::optional<double> a = readNumber(rule.formula1), b = readNumber(rule.formula2);
    if (!a)
        return true;
    switch (rule.op) {
    case ValidationOperator::Between:
        return !b || (value >= *a && value <= *b);
    case ValidationOperator::NotBetween:
        return !b || value < *a || value > *b;
    case ValidationOperator::Equal:
        return value == *a;
    case ValidationOperator::NotEqual:
        return value != *a;
    case ValidationOperator::Greater:
        return value > *a;
    case ValidationOperator::Less:
        return value < *a;
    case ValidationOperator::GreaterOrEqual:
        return value >= *a;
    case ValidationOperator::LessOrEqual:
        return value <= *a;
    }
    return true;
}

// Whether a validation with a stop alert lets the typed text in: a list its items, a whole-number or
// decimal rule a number within its bounds (a formula is let in; its result is not known yet).
bool admitted(const Sheet& sheet, const ValidationRule& rule, std::u16string_view typed) {
    switch (rule.type) {
    case ValidationType::List:
        return offered(listItems(sheet, rule.formula1), typed);
    case ValidationType::WholeNumber:
    case ValidationType::Decimal: {
        const Entry entry = interpretEntry(typed);
        if (entry.isFormula)
            return true;
        if (!entry.value.isNumber())
            return false;
        const double value = entry.value.asNumber();
        return (rule.type == ValidationType::Decimal || value == std::floor(value)) &&
               withinBounds(rule, value);
    }
    default:
        return true;
    }
}

Outcome refused(std::u16string message) {
    return Outcome{false, kInstanceCaption, std::move(message)};
}

} // namespace

InstanceView describe(Application& app) {
    InstanceView view;
    view.number = app.number();
    view.hwnd = app.GetHwnd();
    view.visible = app.GetVisible() != VARIANT_FALSE;
    view.formulaBar = app.GetDisplayFormulaBar() != VARIANT_FALSE;
    for (const auto& book : app.books())
        view.books.push_back(book->name);
    if (auto active = app.activeBook())
        view.activeBook = active->name;
    return view;
}

std::vector<BarView> commandBars(Application& app) {
    std::vector<BarView> bars;
    for (const auto& bar : app.commandBars().bars()) {
        BarView view{bar->name(), bar->builtIn(), bar->enabled(), bar->visible(), {}};
        for (const auto& button : bar->buttons())
            view.buttons.push_back({button->GetCaption(), button->GetStyle()});
        bars.push_back(std::move(view));
    }
    return bars;
}

const Workbook& workbook(Application& app, std::u16string_view book) {
    return *bookOf(app, book)->model;
}

const Sheet& sheet(Application& app, const Place& place) {
    return refOf(app, place).sheet();
}

int activeSheet(Application& app, std::u16string_view book) {
    return bookOf(app, book)->activeSheet;
}

CellView cell(Application& app, const Place& place, std::u16string_view address) {
    const Sheet& s = sheet(app, place);
    CellAddress at = cellOf(address);
    CellView view;
    view.value = s.value(at.row, at.col);
    view.shown = s.shown(at.row, at.col).text;
    view.formula = s.hasFormula(at.row, at.col) ? s.formulaText(at.row, at.col) : shownText(view.value);
    view.format = s.format(at.row, at.col);
    return view;
}

RowView row(Application& app, const Place& place, int row) {
    if (row < 1 || row > kRowCount)
        fail(u"There is no such row.");
    const Sheet& s = sheet(app, place);
    const RowProperties& props = s.row(row - 1);
    return RowView{s.rowHeight(row - 1), props.hidden, props.outlineLevel + 1, props.collapsed};
}

void activate(Application& app, const Place& place) {
    show(app, refOf(app, place));
}

void select(Application& app, const Place& place, std::u16string_view range) {
    SheetRef ref = refOf(app, place);
    std::vector<Area> areas = parseRangeText(range);
    show(app, ref);
    app.select(ref, areas, {areas.front().top, areas.front().left});
}

Outcome type(Application& app, const Place& place, std::u16string_view address, std::u16string_view text) {
    SheetRef ref = refOf(app, place);
    CellAddress at = cellOf(address);
    show(app, ref);
    app.select(ref, {Area::cell(at.row, at.col)}, at);
    Sheet& s = ref.sheet();
    if (const ValidationRule* rule = s.validationAt(at.row, at.col)) {
        bool blank = text.empty() && rule->ignoreBlank;
        if (rule->showError && rule->alert == AlertStyle::Stop && !blank && !admitted(s, *rule, text))
            return refused(u"输入值非法。\n其他用户已经限定了可以输入该单元格的数值。");
    }
    if (auto array = s.arrayAt(at.row, at.col); array && *array != Area::cell(at.row, at.col))
        return refused(u"不能更改数组的某一部分。");
    try {
        s.enter(at.row, at.col, text);
    } catch (const EngineError&) {
        return refused(u"输入的公式中包含错误。");
    }
    app.sheetChanged(ref, {Area::cell(at.row, at.col)});
    return {};
}

Outcome clear(Application& app, const Place& place, std::u16string_view range) {
    SheetRef ref = refOf(app, place);
    std::vector<Area> areas = parseRangeText(range);
    for (const Area& a : areas)
        if (ref.sheet().takesPartOfArray(a))
            return refused(u"不能更改数组的某一部分。");
    for (const Area& a : areas)
        ref.sheet().clearContents(a);
    app.sheetChanged(ref, areas);
    return {};
}

void copy(Application& app, const Place& place, std::u16string_view range) {
    SheetRef ref = refOf(app, place);
    std::vector<Area> areas = parseRangeText(range);
    if (areas.size() != 1)
        fail(u"A range of several areas cannot be copied.");
    copyToClipboard(ref, areas.front());
}

void cut(Application& app, const Place& place, std::u16string_view range) {
    SheetRef ref = refOf(app, place);
    std::vector<Area> areas = parseRangeText(range);
    if (areas.size() != 1)
        fail(u"A range of several areas cannot be cut.");
    cutToClipboard(ref, areas.front());
}

bool clipboardHoldsCells() {
    return clipboard().has_value();
}

std::u16string clipboardText() {
    return clipboard() ? tabSeparatedText(clipboard()->snapshot) : std::u16string();
}

Outcome pasteText(Application& app, const Place& place, std::u16string_view text,
                  std::u16string_view address) {
    SheetRef ref = refOf(app, place);
    CellAddress at = address.empty() ? ref.sheet().selection().active : cellOf(address);
    try {
        automation::pasteText(ref, at, text);
    } catch (const ComError& e) {
        return refused(e.description());
    }
    return {};
}

std::optional<CellAddress> find(Application& app, const Place& place, std::u16string_view what,
                                const FindOptions& options) {
    SheetRef ref = refOf(app, place);
    Sheet& s = ref.sheet();
    FindSettings settings;
    settings.lookInFormulas = false;
    settings.wholeCell = options.wholeCell;
    settings.matchCase = options.matchCase;
    app.findSettings() = settings;
    const Selection& selection = s.selection();
    bool inSelection = selection.areas.size() > 1 ||
                       (selection.areas.size() == 1 && (selection.areas.front().rowCount() > 1 ||
                                                        selection.areas.front().columnCount() > 1));
    std::vector<Area> scope = inSelection ? selection.areas : std::vector<Area>{Area::wholeSheet()};
    std::optional<CellAddress> found = findCell(s, scope, selection.active, what, settings, options.previous);
    if (!found)
        return std::nullopt;
    reveal(s, found->row);
    show(app, ref);
    // Within the selection the selection stays and the active cell moves, as the dialog does it.
    app.select(ref, inSelection ? selection.areas : std::vector<Area>{Area::cell(found->row, found->col)},
               *found);
    return found;
}

void setColumnWidth(Application& app, const Place& place, std::u16string_view columns, double width) {
    SheetRef ref = refOf(app, place);
    Area area = wholeArea(columns, true);
    if (!(width >= 0 && width <= 255))
        fail(u"A column width is out of range.");
    for (int c = area.left; c <= area.right; ++c) {
        ColumnProperties& props = ref.sheet().editColumn(c);
        props.width = width;
        props.customWidth = true;
    }
}

void setRowHeight(Application& app, const Place& place, std::u16string_view rows, double height) {
    SheetRef ref = refOf(app, place);
    Area area = wholeArea(rows, false);
    if (!(height >= 0 && height <= 409.5))
        fail(u"A row height is out of range.");
    for (int r = area.top; r <= area.bottom; ++r) {
        RowProperties& props = ref.sheet().editRow(r);
        props.height = height;
        props.customHeight = true;
    }
}

void autoFit(Application& app, const Place& place, std::u16string_view range) {
    SheetRef ref = refOf(app, place);
    std::vector<Area> areas = parseRangeText(range);
    for (const Area& a : areas)
        if (!a.isWholeColumns() && !a.isWholeRows())
            fail(u"AutoFit applies to whole rows or whole columns.");
    for (const Area& a : areas) {
        if (a.isWholeRows())
            autoFitRows(ref.sheet(), a.top, a.bottom);
        else
            autoFitColumns(ref.sheet(), a.left, a.right);
    }
}

void showLevels(Application& app, const Place& place, int level) {
    if (level < 1 || level > kMaxOutlineLevel + 1)
        fail(u"There is no such outline level.");
    Sheet& s = refOf(app, place).sheet();
    int step = s.outline().summaryRowsBelow ? -1 : 1; // from a summary row towards its detail
    // One row past the extent may summarise the rows above it.
    for (int r = 0, end = std::min(s.rowExtent(), kLastRow); r <= end; ++r) {
        const RowProperties props = s.row(r);
        bool hide = props.outlineLevel >= level;
        int next = r + step;
        bool summary = next >= 0 && next <= kLastRow && s.row(next).outlineLevel > props.outlineLevel;
        bool collapse = summary && props.outlineLevel + 1 >= level;
        if (props.hidden != hide)
            s.setRowHidden(r, hide);
        if (props.collapsed != collapse)
            s.editRow(r).collapsed = collapse;
    }
}

Outcome paste(Application& app, const Place& place, std::u16string_view address) {
    SheetRef ref = refOf(app, place);
    CellAddress at = address.empty() ? ref.sheet().selection().active : cellOf(address);
    try {
        pasteClipboard(ref, at);
    } catch (const ComError& e) {
        return refused(e.description());
    }
    return {};
}

bool click(Application& app, std::u16string_view caption) {
    ComPtr<Application> keep(&app);
    for (const auto& bar : app.commandBars().bars()) {
        if (!bar->shown())
            continue;
        for (const auto& button : bar->buttons())
            if (button->GetCaption() == caption) {
                ComPtr<ButtonObject> target = button; // the handler may change the bars
                try {
                    return target->click();
                } catch (const ComError& e) {
                    app.handlerFailed(e.description().empty() ? errorMessage(e.error()) : e.description());
                } catch (const std::exception& e) {
                    app.handlerFailed(text::toUtf16(e.what()));
                }
                return true;
            }
    }
    return false;
}

bool collapse(Application& app, const Place& place, int row) {
    SheetRef ref = refOf(app, place);
    if (row < 1 || row > kRowCount)
        fail(u"There is no such row.");
    return ref.sheet().showDetail(row - 1, false);
}

bool expand(Application& app, const Place& place, int row) {
    SheetRef ref = refOf(app, place);
    if (row < 1 || row > kRowCount)
        fail(u"There is no such row.");
    return ref.sheet().showDetail(row - 1, true);
}

Outcome save(Application& app, std::u16string_view book, const std::optional<std::filesystem::path>& path) {
    std::shared_ptr<Book> target = bookOf(app, book);
    try {
        // Declined by the user, the save says nothing more.
        if (!app.save(*target, path))
            return Outcome{false, {}, {}};
    } catch (const ComError& e) {
        return refused(e.description());
    }
    return {};
}

bool close(Application& app, std::u16string_view book) {
    ComPtr<Application> keep(&app);
    return app.close(bookOf(app, book), std::nullopt);
}

std::vector<std::u16string> handlerFailures(Application& app) {
    return app.takeHandlerFailures();
}

bool quit(Application& app) {
    ComPtr<Application> keep(&app);
    return app.quit();
}

} // namespace engine::automation::user
