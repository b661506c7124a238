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

} // namespace

Outcome typeInto(const Place& at, int row, int col, std::u16string_view text) {
    return user::type(*at.app, placeOf(at), cell(row, col), text);
}

void clearCells(const Place& at, const engine::Area& area) {
    user::clear(*at.app, placeOf(at), range(area));
}

void copyCells(const Place& at, const engine::Area& area) {
    user::copy(*at.app, placeOf(at), range(area));
}

Outcome pasteCells(const Place& at) {
    return user::paste(*at.app, placeOf(at));
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
