#include "desktop/user_actions.h"

namespace desktop {

namespace user = engine::automation::user;

namespace {

user::Place placeOf(const Place& at) {
    return {at.book->name, at.book->model->sheet(at.sheet).name()};
}

std::u16string cell(int row, int col) {
    return engine::formatAddress({row, col}, false);
}

std::u16string range(const engine::Area& area) {
    return engine::formatArea(area, false);
}

std::u16string columns(int first, int last) {
    return range({0, first, engine::kLastRow, last});
}

std::u16string rows(int first, int last) {
    return range({first, 0, last, engine::kLastColumn});
}

} // namespace

Outcome typeInto(const Place& at, int row, int col, std::u16string_view text) {
    return user::type(*at.app, placeOf(at), cell(row, col), text);
}

Outcome clearCells(const Place& at, const engine::Area& area) {
    return user::clear(*at.app, placeOf(at), range(area));
}

void copyCells(const Place& at, const engine::Area& area) {
    user::copy(*at.app, placeOf(at), range(area));
}

void cutCells(const Place& at, const engine::Area& area) {
    user::cut(*at.app, placeOf(at), range(area));
}

Outcome pasteCells(const Place& at) {
    return user::paste(*at.app, placeOf(at));
}

Outcome pasteText(const Place& at, std::u16string_view text) {
    return user::pasteText(*at.app, placeOf(at), text);
}

std::u16string clipboardText() {
    return user::clipboardText();
}

bool clipboardHoldsCells() {
    return user::clipboardHoldsCells();
}

std::optional<engine::CellAddress> findCell(const Place& at, std::u16string_view what,
                                            const user::FindOptions& options) {
    return user::find(*at.app, placeOf(at), what, options);
}

void selectCells(const Place& at, const engine::Area& area) {
    user::select(*at.app, placeOf(at), range(area));
}

void showSheet(const Place& at) {
    user::activate(*at.app, placeOf(at));
}

void showDetail(const Place& at, int row, bool show) {
    if (show)
        user::expand(*at.app, placeOf(at), row + 1);
    else
        user::collapse(*at.app, placeOf(at), row + 1);
}

void showLevels(const Place& at, int level) {
    user::showLevels(*at.app, placeOf(at), level);
}

void setColumnWidths(const Place& at, int first, int last, double width) {
    user::setColumnWidth(*at.app, placeOf(at), columns(first, last), width);
}

void setRowHeights(const Place& at, int first, int last, double height) {
    user::setRowHeight(*at.app, placeOf(at), rows(first, last), height);
}

void fitColumns(const Place& at, int first, int last) {
    user::autoFit(*at.app, placeOf(at), columns(first, last));
}

void fitRows(const Place& at, int first, int last) {
    user::autoFit(*at.app, placeOf(at), rows(first, last));
}

bool clickButton(Application& app, std::u16string_view caption) {
    return user::click(app, caption);
}

Outcome saveBook(const Place& at, const std::optional<std::filesystem::path>& path) {
    return user::save(*at.app, at.book->name, path);
}

bool quitInstance(Application& app) {
    return user::quit(app);
}

} // namespace desktop
