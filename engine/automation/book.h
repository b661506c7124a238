#pragma once

#include "engine/model/workbook.h"
#include "varnel/excel/application.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace engine::automation {

class Application;

// One workbook open in an instance. The objects handed to clients share it, so that one held after its
// workbook was closed still answers (with an error) instead of pointing at nothing.
struct Book {
    std::unique_ptr<Workbook> model;
    std::u16string name;        // the file name, or BookN for one never saved
    std::filesystem::path path; // empty until it is saved or when it was added
    std::uint64_t savedAt = 0;  // the model's revision when it was last opened or saved
    bool markedUnsaved = false; // Saved was set to false
    int activeSheet = 0;        // index of the sheet shown
    // What the file it was opened from held that the model does not keep, and that file. A save over
    // that file loses these, so the user is asked first; the list empties once they agreed or the file
    // was written. Empty for a new workbook.
    std::vector<std::u16string> notKept;
    std::filesystem::path openedFrom;
    Application* app = nullptr; // null once closed

    bool saved() const { return !markedUnsaved && model->revision() == savedAt; }
    void markSaved() {
        savedAt = model->revision();
        markedUnsaved = false;
    }
    bool open() const { return app != nullptr; }
};

// A sheet of a book, as the objects of the object model hold it. Holding one keeps its instance running,
// as any object of a spreadsheet does.
struct SheetRef {
    Excel::_ApplicationPtr instance;
    std::shared_ptr<Book> book;
    SheetId id = 0;

    // Fails when the workbook was closed or the sheet removed.
    Sheet& sheet() const;
    Application& app() const;
};

} // namespace engine::automation
