#include "desktop/user_actions.h"

#include "engine/automation/editing.h"
#include "engine/automation/objects.h"
#include "engine/automation/outline.h"
#include "engine/formula/text.h"

namespace desktop {

namespace {

engine::automation::SheetRef refOf(const Place& at) {
    return engine::automation::sheetRef(at.book, at.sheet);
}

// A list validation with a stop alert takes only its items (compared without regard to case).
bool allowed(const engine::Sheet& sheet, int row, int col, std::u16string_view text) {
    const engine::ValidationRule* rule = sheet.validationAt(row, col);
    if (!rule || rule->type != engine::ValidationType::List || rule->alert != engine::AlertStyle::Stop)
        return true;
    if (text.empty())
        return rule->ignoreBlank;
    std::u16string_view items = rule->formula1;
    for (size_t start = 0;;) {
        size_t comma = items.find(u',', start);
        std::u16string_view item =
            items.substr(start, comma == std::u16string_view::npos ? items.npos : comma - start);
        if (engine::formula::compareFolded(item, text) == 0)
            return true;
        if (comma == std::u16string_view::npos)
            return false;
        start = comma + 1;
    }
}

} // namespace

bool typeInto(const Place& at, int row, int col, std::u16string_view text) {
    auto ref = refOf(at);
    engine::Sheet& sheet = ref.sheet();
    if (!allowed(sheet, row, col, text))
        return false;
    engine::automation::guarded([&] { sheet.enter(row, col, text); });
    at.app->sheetChanged(ref, {engine::Area::cell(row, col)});
    return true;
}

void clearCells(const Place& at, const engine::Area& area) {
    auto ref = refOf(at);
    ref.sheet().clearContents(area);
    at.app->sheetChanged(ref, {area});
}

void copyCells(const Place& at, const engine::Area& area) {
    engine::automation::copyToClipboard(refOf(at), area);
}

void pasteCells(const Place& at) {
    auto ref = refOf(at);
    engine::automation::pasteClipboard(ref, ref.sheet().selection().active);
}

void selectCells(const Place& at, const engine::Area& area, engine::CellAddress active) {
    at.app->select(refOf(at), {area}, active);
}

void showSheet(const Place& at) {
    at.app->activateSheet(at.book, at.sheet);
}

void showDetail(const Place& at, int row, bool show) {
    engine::automation::showRowDetail(refOf(at).sheet(), row, show);
}

bool clickButton(engine::automation::ButtonObject& button) {
    return button.click();
}

void saveBook(const Place& at, const std::optional<std::filesystem::path>& path) {
    at.app->save(*at.book, path);
}

bool quitInstance(Application& app) {
    return app.quit();
}

} // namespace desktop
