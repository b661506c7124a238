#include "engine/automation/files.h"

#include "engine/automation/support.h"
#include "engine/xls/error.h"
#include "engine/xls/xls.h"

namespace engine::automation {

std::unique_ptr<Workbook> readWorkbookFile(const std::filesystem::path& path) {
    try {
        return engine::xls::readWorkbook(path).workbook;
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
