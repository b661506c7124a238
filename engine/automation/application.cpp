#include "engine/automation/application.h"

#include "engine/automation/editing.h"
#include "engine/automation/files.h"
#include "engine/automation/objects.h"
#include "engine/automation/prompts.h"
#include "engine/core/text.h"
#include "platform/ui/user.h"
#include "platform/ui/window.h"
#include "varnel/excel/events.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace engine::automation {

namespace {

struct Instances {
    std::vector<Application*> running;
    std::vector<ComPtr<Application>> visible; // held for their users
    int created = 0;
};

// Never destroyed: the instances still running when the process ends end with it, after the window
// registry they would otherwise tell of their windows is gone.
Instances& instances() {
    static Instances* all = new Instances;
    return *all;
}

IDispatch* asDispatch(Excel::_Workbook* book) {
    return book;
}

// Whether two paths name one file: the same file through a link or another spelling, or the same
// place when either is missing.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    std::error_code ea, eb;
    std::filesystem::path ca = std::filesystem::weakly_canonical(a, ea);
    std::filesystem::path cb = std::filesystem::weakly_canonical(b, eb);
    return ea || eb ? a.lexically_normal() == b.lexically_normal() : ca == cb;
}

// The instance's main window, so that the dialogs and message boxes it owns have a real owner.
long makeMainWindow() {
    HWND window = ui::createWindow(u"SpreadsheetFrame", kInstanceCaption, WS_CAPTION | WS_SYSMENU,
                                   RECT{0, 0, 1024, 768});
    return static_cast<long>(reinterpret_cast<std::intptr_t>(window));
}

} // namespace

void registerApplicationClass() {
    registerClass(u"Excel.Application", CLSID_Application, [] {
        ComPtr<Application> app = Application::create();
        return ComPtr<IUnknown>(static_cast<IUnknown*>(static_cast<Excel::_Application*>(app.get())));
    });
}

ComPtr<Application> Application::create() {
    return ComPtr<Application>(new Application());
}

Application::Application()
    : number_(++instances().created), hwnd_(makeMainWindow()), bars_(makeComObject<CommandBarsObject>()),
      events_(*this, DIID_AppEvents) {
    instances().running.push_back(this);
}

Application::~Application() {
    end();
}

std::vector<ComPtr<Application>> runningInstances() {
    std::vector<ComPtr<Application>> list;
    for (Application* app : instances().running)
        list.emplace_back(app);
    return list;
}

void Application::end() {
    if (!running_)
        return;
    running_ = false;
    std::erase(instances().running, this);
    for (auto& book : books_)
        book->app = nullptr;
    books_.clear();
    active_.reset();
    bars_->end();
    DestroyWindow(reinterpret_cast<HWND>(static_cast<std::intptr_t>(hwnd_)));
}

void Application::PutVisible(VARIANT_BOOL RHS) {
    ComPtr<Application> self(this);
    visible_ = RHS != VARIANT_FALSE;
    auto& held = instances().visible;
    std::erase_if(held, [this](const ComPtr<Application>& a) { return a.get() == this; });
    if (visible_ && running_)
        held.push_back(self);
}

Excel::WorkbooksPtr Application::GetWorkbooks() {
    return workbooksObject(*this);
}

Excel::WorksheetFunctionPtr Application::GetWorksheetFunction() {
    return worksheetFunctionObject(*this);
}

Office::_CommandBarsPtr Application::GetCommandBars() {
    return Office::_CommandBarsPtr(bars_.get());
}

Excel::_WorkbookPtr Application::GetActiveWorkbook() {
    return active_ ? workbookObject(active_) : nullptr;
}

IDispatchPtr Application::GetActiveSheet() {
    if (!active_)
        return nullptr;
    return sheetObject(sheetRef(active_, active_->activeSheet));
}

Variant Application::InputBox(const std::u16string& Prompt, const Variant& Title, const Variant& Default,
                              const Variant&, const Variant&, const Variant&, const Variant&,
                              const Variant& Type) {
    std::optional<long> type = optionalLong(Type);
    if (type && *type != 2)
        fail(u"The input box takes text only (Type 2).");
    std::u16string title = omitted(Title) ? u"Input" : Title.toString();
    std::u16string initial = omitted(Default) ? std::u16string() : Default.toString();
    ComPtr<Application> self(this);
    std::optional<std::u16string> answer = prompts().inputBox(hwnd_, Prompt, title, initial);
    if (!answer)
        return Variant(false);
    return Variant(std::move(*answer));
}

HRESULT STDMETHODCALLTYPE Application::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
    return findConnectionPoint({&events_}, riid, ppCP);
}

std::shared_ptr<Book> Application::findBook(std::u16string_view name) const {
    for (const auto& book : books_)
        if (compareFolded(book->name, name) == 0)
            return book;
    return nullptr;
}

std::shared_ptr<Book> Application::addBook(std::unique_ptr<Workbook> model, std::u16string name,
                                           std::filesystem::path path, DISPID event,
                                           std::vector<std::u16string> notKept) {
    auto book = std::make_shared<Book>();
    book->model = std::move(model);
    book->name = std::move(name);
    book->path = std::move(path);
    book->notKept = std::move(notKept);
    book->openedFrom = book->path;
    book->app = this;
    book->markSaved();
    books_.push_back(book);
    bookEvent(event, book);
    activate(book);
    return book;
}

void Application::bookEvent(DISPID event, const std::shared_ptr<Book>& book) {
    if (!events_.hasSinks())
        return;
    ComPtr<Application> self(this);
    raise(event, {Variant(asDispatch(workbookObject(book).get()))});
}

void Application::activate(const std::shared_ptr<Book>& book) {
    if (active_ == book)
        return;
    active_ = book;
    bookEvent(Excel::AppEvents::WorkbookActivate, book);
}

void Application::activateSheet(const std::shared_ptr<Book>& book, int index) {
    activate(book);
    if (book->activeSheet == index)
        return;
    book->activeSheet = index;
    if (!events_.hasSinks())
        return;
    ComPtr<Application> self(this);
    raise(Excel::AppEvents::SheetActivate, {Variant(sheetObject(sheetRef(book, index)).get())});
}

void Application::select(const SheetRef& ref, const std::vector<Area>& areas, CellAddress active) {
    Sheet& sheet = ref.sheet();
    Selection selection{areas, active};
    if (sheet.selection() == selection)
        return;
    sheet.setSelection(selection);
    // Only the sheet on screen tells of its selection.
    if (!events_.hasSinks() || !isShown(ref))
        return;
    ComPtr<Application> self(this);
    raise(Excel::AppEvents::SheetSelectionChange,
          {Variant(sheetObject(ref).get()), Variant(static_cast<IDispatch*>(rangeObject(ref, areas).get()))});
}

void Application::sheetChanged(const SheetRef& ref, const std::vector<Area>& areas) {
    if (!events_.hasSinks())
        return;
    ComPtr<Application> self(this);
    raise(Excel::AppEvents::SheetChange,
          {Variant(sheetObject(ref).get()), Variant(static_cast<IDispatch*>(rangeObject(ref, areas).get()))});
}

void Application::raise(DISPID event, std::vector<Variant> args) {
    // As a spreadsheet does, an event handler's failure stays with the handler: the change that raised
    // the event stands and its caller carries on. The failure is kept for a front end to report.
    try {
        events_.fire(event, std::move(args));
    } catch (const ComError& e) {
        handlerFailures_.push_back(e.description().empty() ? errorMessage(e.error()) : e.description());
    } catch (const std::exception& e) {
        handlerFailures_.push_back(text::toUtf16(e.what()));
    }
}

void Application::handlerFailed(std::u16string description) {
    handlerFailures_.push_back(std::move(description));
}

std::vector<std::u16string> Application::takeHandlerFailures() {
    return std::exchange(handlerFailures_, {});
}

IDispatchPtr Application::sheetObject(const SheetRef& ref) {
    return IDispatchPtr(static_cast<IDispatch*>(worksheetObject(ref).get()));
}

bool Application::close(std::shared_ptr<Book> book, std::optional<bool> saveChanges,
                        std::optional<std::filesystem::path> saveTo) {
    if (!book->open())
        fail(u"The workbook is closed.");
    ComPtr<Application> self(this);
    if (events_.hasSinks()) {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        raise(Excel::AppEvents::WorkbookBeforeClose,
              {Variant(asDispatch(workbookObject(book).get())), Variant(&cancel)});
        if (cancel != VARIANT_FALSE)
            return false;
        if (!book->open()) // a handler closed it meanwhile
            return true;
    }
    bool saving = false;
    if (saveChanges) {
        saving = *saveChanges;
    } else if (!book->saved() && alerts_) {
        switch (prompts().askSave(hwnd_, book->name)) {
        case SaveAnswer::Cancel:
            return false;
        case SaveAnswer::DontSave:
            break;
        case SaveAnswer::Save:
            saving = true;
            break;
        }
    }
    if (saving) {
        if (!saveTo && book->path.empty()) {
            saveTo = prompts().askSavePath(hwnd_, book->name);
            if (!saveTo)
                return false;
        }
        if (!save(*book, saveTo))
            return false;
    }
    if (!book->open())
        return true;
    std::erase(books_, book);
    book->app = nullptr;
    if (active_ == book) {
        active_.reset();
        if (!books_.empty())
            activate(books_.back());
    }
    return true;
}

bool Application::save(Book& book, const std::optional<std::filesystem::path>& path) {
    std::filesystem::path target = path ? *path : book.path;
    if (target.empty())
        fail(u"The workbook " + book.name + u" has no file yet: save it under a name.");
    // Another file gets what the workbook holds, and the file it came from keeps all it had.
    const bool losing = !book.notKept.empty() && sameFile(target, book.openedFrom);
    if (losing && alerts_) {
        ComPtr<Application> self(this);
        if (!prompts().confirmLoss(hwnd_, book.name, book.notKept))
            return false;
    }
    writeWorkbookFile(*book.model, target);
    // Written over, the file no longer holds what was lost: nothing is left to warn about. A write that
    // failed left the file as it was, and the next save asks again.
    if (losing)
        book.notKept.clear();
    book.path = target;
    book.name = target.filename().u16string();
    book.markSaved();
    return true;
}

bool Application::quit() {
    ComPtr<Application> self(this);
    while (!books_.empty())
        if (!close(books_.front(), std::nullopt))
            return false;
    end();
    std::erase_if(instances().visible, [this](const ComPtr<Application>& a) { return a.get() == this; });
    return true;
}

} // namespace engine::automation
