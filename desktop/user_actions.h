#pragma once

#include "engine/automation/application.h"

#include <filesystem>
#include <memory>
#include <string_view>

// What a user does in a spreadsheet window, taken through the spreadsheet's own user path, so that its
// events (SheetChange, WorkbookBeforeClose, a button's Click) reach whoever listens, exactly as when the
// user works in the spreadsheet itself. The one place where the windows change an instance.
namespace desktop {

using engine::automation::Application;
using engine::automation::Book;

struct Place {
    ComPtr<Application> app;
    std::shared_ptr<Book> book;
    int sheet = 0; // index in the workbook
};

// Enters typed text into a cell as a user does. False, with nothing changed, when a stop validation of
// the cell refuses the value.
bool typeInto(const Place& at, int row, int col, std::u16string_view text);
void clearCells(const Place& at, const engine::Area& area);
void copyCells(const Place& at, const engine::Area& area);
// Pastes at the sheet's active cell.
void pasteCells(const Place& at);
void selectCells(const Place& at, const engine::Area& area, engine::CellAddress active);
void showSheet(const Place& at);
// Expands (show) or collapses the group that summary row `row` heads.
void showDetail(const Place& at, int row, bool show);
// Clicks a button of a command bar; false when its bar does not take clicks now.
bool clickButton(engine::automation::ButtonObject& button);
// Saves to the workbook's own file, or to `path`.
void saveBook(const Place& at, const std::optional<std::filesystem::path>& path);
// Closes every workbook of the instance (each may ask to save) and quits it; false when the user kept
// one open.
bool quitInstance(Application& app);

} // namespace desktop
