#include "engine/automation/application.h"
#include "engine/automation/clipboard_text.h"
#include "engine/automation/editing.h"
#include "engine/automation/shared_clipboard.h"

#include <algorithm>
#include <utility>

namespace engine::automation {

void copyToClipboard(const SheetRef& ref, const Area& area) {
    Snapshot snapshot = takeSnapshot(ref.sheet(), area);
    clipboard() = ClipboardContent{std::move(snapshot), ref.app().number(), std::nullopt};
}

void cutToClipboard(const SheetRef& ref, const Area& area) {
    Snapshot snapshot = takeSnapshot(ref.sheet(), area);
    clipboard() =
        ClipboardContent{std::move(snapshot), ref.app().number(), CutSource{ref.book, ref.id, area}};
}

namespace {

// Empties the cells a cut took, when their workbook is still open; the paste follows.
void emptyCutSource(const CutSource& cut) {
    std::shared_ptr<Book> book = cut.book.lock();
    if (!book || !book->open() || !book->model->sheetById(cut.sheet))
        return;
    SheetRef source{Excel::_ApplicationPtr(book->app), book, cut.sheet};
    source.sheet().clear(cut.area);
    source.app().sheetChanged(source, {cut.area});
}

} // namespace

Area pasteClipboard(const SheetRef& ref, CellAddress at) {
    Application& app = ref.app();
    Sheet& sheet = ref.sheet();
    if (!clipboard())
        fail(u"There is nothing on the clipboard to paste.");
    // Cut cells leave the clipboard with this paste: they are taken off before the events below, whose
    // handlers may copy something else.
    std::optional<ClipboardContent> taken;
    if (clipboard()->cut)
        taken = std::exchange(clipboard(), std::nullopt);
    const ClipboardContent& content = taken ? *taken : *clipboard();
    bool sameInstance = content.instance == app.number();
    PasteMode mode = !sameInstance ? PasteMode::ValuesAndFormats
                     : content.cut ? PasteMode::Moved
                                   : PasteMode::Formulas;
    Area target{at.row, at.col, at.row + content.snapshot.rowCount() - 1,
                at.col + content.snapshot.columnCount() - 1};
    if (at.row < 0 || at.col < 0 || target.bottom > kLastRow || target.right > kLastColumn) {
        if (taken)
            clipboard() = std::move(taken);
        fail(u"The copied cells do not fit on the sheet there.");
    }
    if (content.cut)
        emptyCutSource(*content.cut);
    Area area = guarded([&] { return paste(sheet, at, content.snapshot, mode); });
    app.select(ref, {area}, at);
    app.sheetChanged(ref, {area});
    return area;
}

Area pasteText(const SheetRef& ref, CellAddress at, std::u16string_view text) {
    Application& app = ref.app();
    Sheet& sheet = ref.sheet();
    const auto rows = parseTabSeparated(text);
    std::size_t widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, row.size());
    if (rows.empty() || widest == 0)
        fail(u"There is nothing on the clipboard to paste.");
    Area area{at.row, at.col, at.row + static_cast<int>(rows.size()) - 1,
              at.col + static_cast<int>(widest) - 1};
    if (at.row < 0 || at.col < 0 || area.bottom > kLastRow || area.right > kLastColumn)
        fail(u"The copied cells do not fit on the sheet there.");
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < widest; ++c) {
            int row = at.row + static_cast<int>(r), col = at.col + static_cast<int>(c);
            const std::u16string* cell = c < rows[r].size() ? &rows[r][c] : nullptr;
            if (!cell || cell->empty()) {
                sheet.setValue(row, col, Value());
                continue;
            }
            try {
                sheet.enter(row, col, *cell);
            } catch (const EngineError&) {
                sheet.setValue(row, col, Value::text(*cell));
            }
        }
    app.select(ref, {area}, at);
    app.sheetChanged(ref, {area});
    return area;
}

} // namespace engine::automation
