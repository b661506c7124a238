#pragma once

#include "engine/automation/user.h"

#include <filesystem>
#include <memory>
#include <string_view>

// What a user does in a spreadsheet window, taken through the instance's user side, so that its events
// (SheetChange, WorkbookBeforeClose, a button's Click) reach whoever listens exactly as when the user works
// in the spreadsheet itself. The one place where the windows change an instance; the grid's coordinates
// (from 0) become the user side's A1 addresses here.
namespace desktop {

using engine::automation::Application;
using engine::automation::Book;
using engine::automation::user::Outcome;

struct Place {
    ComPtr<Application> app;
    std::shared_ptr<Book> book;
    int sheet = 0; // index in the workbook
};

// Enters typed text as a user does; refused (with the message to show) outside the cell's list.
Outcome typeInto(const Place& at, int row, int col, std::u16string_view text);
void clearCells(const Place& at, const engine::Area& area);
void copyCells(const Place& at, const engine::Area& area);
// Pastes at the sheet's active cell.
Outcome pasteCells(const Place& at);
void selectCells(const Place& at, const engine::Area& area);
void showSheet(const Place& at);
// Expands (show) or collapses the group that summary row `row` heads.
void showDetail(const Place& at, int row, bool show);
// Clicks a button of a shown command bar by its caption; false when no shown bar has it.
bool clickButton(Application& app, std::u16string_view caption);
// Saves to the workbook's own file, or to `path`.
Outcome saveBook(const Place& at, const std::optional<std::filesystem::path>& path);
// Closes every workbook of the instance (each may ask to save) and quits it; false when the user kept
// one open.
bool quitInstance(Application& app);

} // namespace desktop
