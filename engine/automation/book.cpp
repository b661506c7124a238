#include "engine/automation/book.h"

#include "engine/automation/application.h"
#include "engine/automation/objects.h"

namespace engine::automation {

Sheet& SheetRef::sheet() const {
    if (!book->open())
        fail(u"The workbook has been closed.");
    Sheet* sheet = book->model->sheetById(id);
    if (!sheet)
        fail(u"The worksheet has been deleted.");
    return *sheet;
}

Application& SheetRef::app() const {
    if (!book->open())
        fail(u"The workbook has been closed.");
    return *book->app;
}

SheetRef sheetRef(const std::shared_ptr<Book>& book, int index) {
    if (!book->open())
        fail(u"The workbook has been closed.");
    return SheetRef{Excel::_ApplicationPtr(book->app), book, book->model->sheet(index).id()};
}

} // namespace engine::automation
