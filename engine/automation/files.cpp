#include "engine/automation/files.h"

#include "engine/automation/support.h"

namespace engine::automation {

std::unique_ptr<Workbook> readWorkbookFile(const std::filesystem::path& path) {
    fail(u"Cannot open " + path.filename().u16string() + u": reading workbook files is not available yet.");
}

void writeWorkbookFile(const Workbook&, const std::filesystem::path& path) {
    fail(u"Cannot save " + path.filename().u16string() + u": writing workbook files is not available yet.");
}

} // namespace engine::automation
