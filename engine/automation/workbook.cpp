#include "engine/automation/application.h"
#include "engine/automation/files.h"
#include "engine/automation/objects.h"
#include "engine/core/text.h"
#include "varnel/excel/events.h"

namespace engine::automation {

namespace {

// Why a client's save did not happen when the user chose not to lose what the file holds.
constexpr const char16_t* kSaveDeclined = u"保存已取消，文件保持原样。";

Application& instanceOf(const std::shared_ptr<Book>& book) {
    if (!book->open())
        fail(u"The workbook has been closed.");
    return *book->app;
}

// The sheet an Item or Activate argument names: a 1-based number or a name.
int sheetIndex(const Workbook& model, const Variant& index) {
    if (index.vt() == VT_BSTR) {
        if (const Sheet* sheet = model.findSheet(index.bstrVal()))
            return model.indexOf(*sheet);
        fail(u"There is no sheet named " + index.bstrVal() + u".");
    }
    long n = optionalLong(index).value_or(0);
    if (n < 1 || n > model.sheetCount())
        fail(u"There is no sheet of that number.");
    return static_cast<int>(n - 1);
}

class SheetsObject final : public Object<Excel::Sheets> {
public:
    explicit SheetsObject(std::shared_ptr<Book> book)
        : instance_(&instanceOf(book)), book_(std::move(book)) {}

    long GetCount() override { return model().sheetCount(); }
    IDispatchPtr GetItem(const Variant& Index) override {
        return IDispatchPtr(worksheetObject(sheetRef(book_, sheetIndex(model(), Index))).get());
    }
    IDispatchPtr Add(const Variant& Before, const Variant& After, const Variant& Count,
                     const Variant&) override {
        Workbook& book = model();
        int position = book_->activeSheet;
        if (!omitted(Before))
            position = positionOf(Before);
        else if (!omitted(After))
            position = positionOf(After) + 1;
        long count = optionalLong(Count).value_or(1);
        if (count < 1)
            fail(u"At least one sheet must be added.");
        int added = position;
        for (long i = 0; i < count; ++i) {
            std::u16string name;
            int n = book.sheetCount() + 1;
            do
                name = u"Sheet" + formatNumber(n++);
            while (book.findSheet(name));
            guarded([&] { book.addSheet(name, position); });
            added = position;
        }
        instanceOf(book_).activateSheet(book_, added);
        return IDispatchPtr(worksheetObject(sheetRef(book_, added)).get());
    }

private:
    Workbook& model() {
        instanceOf(book_);
        return *book_->model;
    }
    int positionOf(const Variant& sheet) {
        Excel::_WorksheetPtr ws(sheet);
        if (!ws)
            fail(u"Before and After take a worksheet.");
        return static_cast<int>(ws->GetIndex() - 1);
    }

    Excel::_ApplicationPtr instance_;
    std::shared_ptr<Book> book_;
};

class WorkbookObject final : public Object<Excel::_Workbook> {
public:
    explicit WorkbookObject(std::shared_ptr<Book> book)
        : instance_(&instanceOf(book)), book_(std::move(book)) {}

    Excel::SheetsPtr GetWorksheets() override { return sheetsObject(book_); }
    void Activate() override { instanceOf(book_).activate(book_); }
    std::u16string GetName() override { return book_->name; }
    void Close(const Variant& SaveChanges, const Variant& Filename, const Variant&) override {
        Application& app = instanceOf(book_);
        std::optional<std::filesystem::path> saveTo;
        if (!omitted(Filename))
            saveTo = std::filesystem::path(Filename.toString());
        app.close(book_, optionalBool(SaveChanges), saveTo);
    }
    void Save() override {
        Application& app = instanceOf(book_);
        if (book_->path.empty())
            fail(u"The workbook " + book_->name + u" has no file yet: use SaveAs.");
        if (!app.save(*book_, std::nullopt))
            fail(kSaveDeclined);
    }
    void SaveAs(const Variant& Filename, const Variant&, const Variant&, const Variant&, const Variant&,
                const Variant&, Excel::XlSaveAsAccessMode, const Variant&, const Variant&) override {
        Application& app = instanceOf(book_);
        if (omitted(Filename))
            fail(u"SaveAs needs a file name.");
        std::u16string name = Filename.toString();
        std::shared_ptr<Book> other = app.findBook(std::filesystem::path(name).filename().u16string());
        if (other && other != book_)
            fail(u"A workbook of that name is open already.");
        if (!app.save(*book_, std::filesystem::path(name)))
            fail(kSaveDeclined);
    }
    VARIANT_BOOL GetSaved() override { return book_->saved() ? VARIANT_TRUE : VARIANT_FALSE; }
    void PutSaved(VARIANT_BOOL RHS) override {
        if (RHS != VARIANT_FALSE)
            book_->markSaved();
        else
            book_->markedUnsaved = true;
    }

private:
    Excel::_ApplicationPtr instance_;
    std::shared_ptr<Book> book_;
};

class WorkbooksObject final : public Object<Excel::Workbooks> {
public:
    explicit WorkbooksObject(Application& app) : app_(&app) {}

    Excel::_WorkbookPtr Open(const std::u16string& Filename, const Variant&, const Variant&, const Variant&,
                             const Variant&, const Variant&, const Variant&, const Variant&, const Variant&,
                             const Variant&, const Variant&, const Variant&, const Variant&) override {
        std::filesystem::path path(Filename);
        std::u16string name = path.filename().u16string();
        if (std::shared_ptr<Book> open = app_->findBook(name)) {
            if (open->path != path)
                fail(u"A workbook named " + name + u" is open already.");
            app_->activate(open);
            return workbookObject(open);
        }
        OpenedFile opened = readWorkbookFile(path);
        if (opened.model->sheetCount() == 0)
            fail(u"The workbook " + name + u" has no sheets.");
        return workbookObject(app_->addBook(std::move(opened.model), name, path,
                                            Excel::AppEvents::WorkbookOpen, std::move(opened.notKept)));
    }
    Excel::_WorkbookPtr Add(const Variant&) override {
        auto model = std::make_unique<Workbook>();
        for (const char16_t* name : {u"Sheet1", u"Sheet2", u"Sheet3"})
            model->addSheet(name);
        std::u16string name = u"Book" + formatNumber(app_->takeBookNumber());
        return workbookObject(app_->addBook(std::move(model), name, {}, Excel::AppEvents::NewWorkbook));
    }
    long GetCount() override { return static_cast<long>(app_->books().size()); }
    Excel::_WorkbookPtr GetItem(const Variant& Index) override {
        if (Index.vt() == VT_BSTR) {
            if (auto book = app_->findBook(Index.bstrVal()))
                return workbookObject(book);
            fail(u"There is no workbook named " + Index.bstrVal() + u".");
        }
        long n = optionalLong(Index).value_or(0);
        if (n < 1 || n > GetCount())
            fail(u"There is no workbook of that number.");
        return workbookObject(app_->books()[n - 1]);
    }

private:
    ComPtr<Application> app_;
};

} // namespace

Excel::WorkbooksPtr workbooksObject(Application& app) {
    return makeComObject<WorkbooksObject>(app);
}

Excel::_WorkbookPtr workbookObject(const std::shared_ptr<Book>& book) {
    return makeComObject<WorkbookObject>(book);
}

Excel::SheetsPtr sheetsObject(const std::shared_ptr<Book>& book) {
    return makeComObject<SheetsObject>(book);
}

} // namespace engine::automation
