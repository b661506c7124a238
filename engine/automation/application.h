#pragma once

#include "engine/automation/book.h"
#include "engine/automation/command_bars.h"
#include "engine/automation/find.h"
#include "engine/automation/support.h"
#include "engine/core/address.h"
#include "varnel/excel/application.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// One spreadsheet instance: what a client gets by creating "Excel.Application". Each has its own
// workbooks, command bars, events and main window; the clipboard is shared by all.
namespace engine::automation {

// The class id under which the instance is registered with the ProgID "Excel.Application".
inline constexpr CLSID CLSID_Application = com::guidOf("{00024500-0000-0000-C000-000000000046}");

// Registers the class (once per process is enough; again does no harm).
void registerApplicationClass();

class Application final : public Object<Excel::_Application, IConnectionPointContainer> {
public:
    static ComPtr<Application> create();
    ~Application() override;

    // ---- _Application
    VARIANT_BOOL GetVisible() override { return visible_ ? VARIANT_TRUE : VARIANT_FALSE; }
    void PutVisible(VARIANT_BOOL RHS) override;
    VARIANT_BOOL GetDisplayFormulaBar() override { return formulaBar_ ? VARIANT_TRUE : VARIANT_FALSE; }
    void PutDisplayFormulaBar(VARIANT_BOOL RHS) override { formulaBar_ = RHS != VARIANT_FALSE; }
    VARIANT_BOOL GetDisplayAlerts() override { return alerts_ ? VARIANT_TRUE : VARIANT_FALSE; }
    void PutDisplayAlerts(VARIANT_BOOL RHS) override { alerts_ = RHS != VARIANT_FALSE; }
    long GetHwnd() override { return hwnd_; }
    Excel::WorkbooksPtr GetWorkbooks() override;
    Excel::WorksheetFunctionPtr GetWorksheetFunction() override;
    Office::_CommandBarsPtr GetCommandBars() override;
    Excel::_WorkbookPtr GetActiveWorkbook() override;
    IDispatchPtr GetActiveSheet() override;
    Variant InputBox(const std::u16string& Prompt, const Variant& Title, const Variant& Default,
                     const Variant& Left, const Variant& Top, const Variant& HelpFile,
                     const Variant& HelpContextID, const Variant& Type) override;

    // ---- IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

    // ---- For the objects of this instance and for its user
    int number() const { return number_; }
    bool running() const { return running_; }
    const std::vector<std::shared_ptr<Book>>& books() const { return books_; }
    std::shared_ptr<Book> findBook(std::u16string_view name) const;
    std::shared_ptr<Book> activeBook() const { return active_; }
    CommandBarsObject& commandBars() { return *bars_; }
    // Find keeps the settings it was last given for the next search that leaves them out.
    FindSettings& findSettings() { return find_; }

    // A new workbook: `event` (NewWorkbook or WorkbookOpen), then it becomes the active one. `notKept`
    // is what its file `path` holds that the model does not keep.
    std::shared_ptr<Book> addBook(std::unique_ptr<Workbook> model, std::u16string name,
                                  std::filesystem::path path, DISPID event,
                                  std::vector<std::u16string> notKept = {});
    // The number of the next new workbook's name, BookN.
    int takeBookNumber() { return nextBookNumber_++; }
    // Raises an application event that carries one workbook (NewWorkbook, WorkbookOpen, ...).
    void bookEvent(DISPID event, const std::shared_ptr<Book>& book);

    // Makes the book the active one; then the sheet of that index its active sheet. Raise
    // WorkbookActivate and SheetActivate when something changed.
    void activate(const std::shared_ptr<Book>& book);
    void activateSheet(const std::shared_ptr<Book>& book, int index);
    // A sheet's selection changes to `areas` with the active cell `active` (SheetSelectionChange).
    void select(const SheetRef& ref, const std::vector<Area>& areas, CellAddress active);

    // Closes a workbook as Workbook.Close does: WorkbookBeforeClose first (a handler may cancel); then,
    // unless saveChanges says, with unsaved changes and alerts on, the user is asked whether to save.
    // A book saved on closing goes to `saveTo` when given. Whether the workbook closed.
    // The book is taken by value: the caller's may be the list's own entry, which the close removes.
    bool close(std::shared_ptr<Book> book, std::optional<bool> saveChanges,
               std::optional<std::filesystem::path> saveTo = std::nullopt);
    // Saves to the book's own file, or to `path` (which becomes its file and gives its name). Before
    // the first save over the file it was opened from, when that file holds what the model does not
    // keep and alerts are on, the user is asked whether to lose it. False, with nothing written, when
    // they chose not to.
    bool save(Book& book, const std::optional<std::filesystem::path>& path);
    // The user quits: every workbook closes as by close(); a cancelled close ends the quitting. Then
    // the instance ends: its temporary command bars go and it leaves the list of running instances.
    bool quit();

    // Events. Each is raised synchronously to every advised sink; handlers may change cells meanwhile.
    void sheetChanged(const SheetRef& ref, const std::vector<Area>& areas);
    // What event handlers failed with since the last call, oldest first. A handler's failure does not
    // reach the call that raised its event.
    std::vector<std::u16string> takeHandlerFailures();
    void handlerFailed(std::u16string description);

private:
    Application();
    void end();
    IDispatchPtr sheetObject(const SheetRef& ref);
    void raise(DISPID event, std::vector<Variant> args);

    int number_;
    long hwnd_;
    bool visible_ = false;
    bool formulaBar_ = true;
    bool alerts_ = true;
    bool running_ = true;
    int nextBookNumber_ = 1;
    std::vector<std::shared_ptr<Book>> books_;
    std::shared_ptr<Book> active_;
    ComPtr<CommandBarsObject> bars_;
    FindSettings find_;
    std::vector<std::u16string> handlerFailures_;
    ConnectionPoint events_;
};

// Every instance that has not ended, in the order they were created. A visible instance belongs to
// its user: it keeps running when its clients let go of it, until the user quits it.
std::vector<ComPtr<Application>> runningInstances();

} // namespace engine::automation
