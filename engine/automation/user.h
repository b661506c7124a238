#pragma once

#include "engine/automation/application.h"
#include "engine/model/workbook.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a person does at a running instance, for a front end and for a scripted user: the same edits
// the object model makes, with the same events, plus what only a user does (typing under a validation,
// clicking a toolbar button, collapsing a group, answering the save question). Also what a front end
// reads to show an instance.
//
// Places name a workbook of the instance and one of its sheets; empty names mean the active workbook
// and its active sheet. Cells and ranges are A1 texts ("B4", "A1:G1", "3:3"). A name or address that
// does not exist raises the automation error; a refusal the user should see comes back as an Outcome.
namespace engine::automation::user {

struct Place {
    std::u16string book;  // empty: the active workbook
    std::u16string sheet; // empty: that workbook's active sheet
};

// What became of an action the instance may refuse, and the message to show when it did.
struct Outcome {
    bool done = true;
    std::u16string caption;
    std::u16string message;
};

// ---- Reading

struct InstanceView {
    int number = 0; // 1, 2, ... in the order the instances were created
    long hwnd = 0;  // its main window
    bool visible = false;
    bool formulaBar = true;
    std::vector<std::u16string> books; // open workbooks, in the order they were opened
    std::u16string activeBook;         // empty when none is open
};
InstanceView describe(Application& app);

struct ButtonView {
    std::u16string caption;
    Office::MsoButtonStyle style = Office::msoButtonAutomatic;
};
struct BarView {
    std::u16string name;
    bool builtIn = false;
    bool enabled = true;
    bool visible = false;
    std::vector<ButtonView> buttons;
};
// Every bar, in the order of CommandBars.Item; a front end shows those that are enabled and visible.
std::vector<BarView> commandBars(Application& app);

// The model of a workbook (its sheets, cells, formats, row and column properties) to show; read only.
// Change it only through the actions below, so that the instance raises its events.
const Workbook& workbook(Application& app, std::u16string_view book = {});
const Sheet& sheet(Application& app, const Place& place = {});
// The index of the shown sheet of a workbook.
int activeSheet(Application& app, std::u16string_view book = {});

struct CellView {
    std::u16string shown;   // the value as the cell shows it, through its number format
    std::u16string formula; // "=…" for a formula, else what the formula bar shows for the value
    Value value;
    Format format;
};
CellView cell(Application& app, const Place& place, std::u16string_view address);

struct RowView {
    double height = 0; // points; 0 when hidden
    bool hidden = false;
    int outlineLevel = 1; // 1 when not grouped, as Range.OutlineLevel counts
    bool collapsed = false;
};
RowView row(Application& app, const Place& place, int row); // row counts from 1

// ---- Acting

// Activates the workbook and sheet (WorkbookActivate, SheetActivate).
void activate(Application& app, const Place& place);
// Selects cells of the shown sheet, activating it first (SheetSelectionChange).
void select(Application& app, const Place& place, std::u16string_view range);
// Types text into a cell as a user does: the cell's sheet is shown and the cell selected, then the
// text is checked against the cell's validation with a stop alert (a value outside its list, or for a
// whole-number or decimal rule no number within its bounds, is refused with the message to show) and
// entered (a leading "=" makes a formula, numeric text a number); SheetChange
// follows. A formula that does not parse is refused too.
Outcome type(Application& app, const Place& place, std::u16string_view cell, std::u16string_view text);
// Empties the cells' contents, keeping their formats (the Delete key); SheetChange follows.
Outcome clear(Application& app, const Place& place, std::u16string_view range);
// Copies cells to the clipboard shared by all instances.
void copy(Application& app, const Place& place, std::u16string_view range);
// Cuts them: the paste that takes them moves them there (editing.h).
void cut(Application& app, const Place& place, std::u16string_view range);
// Pastes the clipboard at the cell, or at the sheet's active cell when `cell` is empty.
Outcome paste(Application& app, const Place& place, std::u16string_view cell = {});
// Whether the clipboard holds cells to paste.
bool clipboardHoldsCells();
// What the clipboard holds as tab-separated text, for other programs (clipboard_text.h); empty when it
// holds nothing.
std::u16string clipboardText();
// Pastes tab-separated text from another program, as pasteText of editing.h does, at the cell or the
// sheet's active cell.
Outcome pasteText(Application& app, const Place& place, std::u16string_view text,
                  std::u16string_view cell = {});
// Find in the find dialog: the next cell after the active cell (the previous one) whose shown value
// matches, searched in the selection when it is more than one cell, else in the whole sheet; the
// search wraps around. The cell found is selected; when its row lies in a collapsed group, the group is
// expanded so that it shows. The settings become the instance's find settings, as the dialog's do.
// Nothing, and nothing changed, when no cell matches.
struct FindOptions {
    bool wholeCell = false;
    bool matchCase = false;
    bool previous = false;
};
std::optional<CellAddress> find(Application& app, const Place& place, std::u16string_view what,
                                const FindOptions& options);
// A width in characters for whole columns ("B:B", "B:D"), a height in points for whole rows ("4:4");
// 0 hides them. Out of range, or not whole columns (rows): refused.
void setColumnWidth(Application& app, const Place& place, std::u16string_view columns, double width);
void setRowHeight(Application& app, const Place& place, std::u16string_view rows, double height);
// AutoFit of whole columns or whole rows (autofit.h).
void autoFit(Application& app, const Place& place, std::u16string_view range);
// The outline's level buttons (Outline.ShowLevels): rows of outline levels 1 to `level` show, deeper ones
// are hidden (levels as Range.OutlineLevel counts them: 1 for rows in no group); a summary row is marked
// collapsed where its detail is hidden. Raises nothing.
void showLevels(Application& app, const Place& place, int level);
// Clicks the button of that caption on a shown command bar (Click to its sinks). False when no shown,
// enabled bar has such a button. A handler's failure is kept (handlerFailures), as an event's is.
bool click(Application& app, std::u16string_view caption);
// Collapses or expands the group that the row (from 1) summarises. False when it summarises none.
bool collapse(Application& app, const Place& place, int row);
bool expand(Application& app, const Place& place, int row);
// Saves a workbook to its file, or to `path`, which then becomes its file and name. Not done, with no
// message, when the user chose not to lose what its file holds (Application::save).
Outcome save(Application& app, std::u16string_view book = {},
             const std::optional<std::filesystem::path>& path = std::nullopt);
// Closes a workbook as the window's close box does: WorkbookBeforeClose, then the save question when it
// has unsaved changes. False when it stays open (a handler or the user cancelled).
bool close(Application& app, std::u16string_view book = {});
// What event handlers (sheet changes, clicks, ...) failed with since the last call: a handler's failure
// never reaches the action that raised its event, as with a spreadsheet; a front end may show these.
std::vector<std::u16string> handlerFailures(Application& app);
// Quits the instance: every workbook closes as by close(); then the instance ends. False when a
// workbook stayed open.
bool quit(Application& app);

} // namespace engine::automation::user
