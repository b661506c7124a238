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
Outcome clearCells(const Place& at, const engine::Area& area);
void copyCells(const Place& at, const engine::Area& area);
void cutCells(const Place& at, const engine::Area& area);
// Pastes at the sheet's active cell: the spreadsheet's clipboard, or tab-separated text from another
// program.
Outcome pasteCells(const Place& at);
Outcome pasteText(const Place& at, std::u16string_view text);
// The spreadsheet's clipboard as tab-separated text, for other programs; whether it holds cells.
std::u16string clipboardText();
bool clipboardHoldsCells();
// The next (previous) cell that shows `what`, selected and shown; nothing when none does.
std::optional<engine::CellAddress> findCell(const Place& at, std::u16string_view what,
                                            const engine::automation::user::FindOptions& options);
void selectCells(const Place& at, const engine::Area& area);
void showSheet(const Place& at);
// Expands (show) or collapses the group that summary row `row` heads.
void showDetail(const Place& at, int row, bool show);
// Shows the rows of outline levels 1 to `level`, as the gutter's level buttons do.
void showLevels(const Place& at, int level);
// Widths in characters of columns first to last, heights in points of rows, and AutoFit of either.
void setColumnWidths(const Place& at, int first, int last, double width);
void setRowHeights(const Place& at, int first, int last, double height);
void fitColumns(const Place& at, int first, int last);
void fitRows(const Place& at, int first, int last);
// Clicks a button of a shown command bar by its caption; false when no shown bar has it.
bool clickButton(Application& app, std::u16string_view caption);
// Saves to the workbook's own file, or to `path`.
Outcome saveBook(const Place& at, const std::optional<std::filesystem::path>& path);
// Closes every workbook of the instance (each may ask to save) and quits it; false when the user kept
// one open.
bool quitInstance(Application& app);

} // namespace desktop
