#include "engine/automation/files.h"

#include "engine/automation/support.h"
#include "engine/xls/error.h"
#include "engine/xls/xls.h"

namespace engine::automation {

OpenedFile readWorkbookFile(const std::filesystem::path& path) {
    try {
        engine::xls::ReadResult read = engine::xls::readWorkbook(path);
        OpenedFile opened{std::move(read.workbook), {}};
        for (const std::string& what : read.dropped)
            opened.notKept.push_back(text::toUtf16(what));
        return opened;
    } catch (const engine::xls::XlsError& e) {
        fail(text::toUtf16(e.what()));
    }
}

void writeWorkbookFile(const Workbook& book, const std::filesystem::path& path) {
    try {
        engine::xls::writeWorkbook(book, path);
    } catch (const engine::xls::XlsError& e) {
        fail(text::toUtf16(e.what()));
    }
}

} // namespace engine::automation
