// libFuzzer entry: a workbook file (when it starts like a compound file) or a bare workbook stream.
// Every input must either read or be refused with XlsError; what reads must save (or be refused with
// XlsError) and what saves must read again. Anything else is a finding.
#include "engine/xls/error.h"
#include "engine/xls/xls.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t signature[4] = {0xD0, 0xCF, 0x11, 0xE0};
    std::span<const uint8_t> bytes(data, size);
    engine::xls::ReadResult result;
    try {
        if (size >= 4 && std::memcmp(data, signature, 4) == 0)
            result = engine::xls::readWorkbook(bytes, "fuzz");
        else
            result = engine::xls::readWorkbookStream(bytes, "fuzz");
    } catch (const engine::xls::XlsError&) {
        return 0;
    }
    std::vector<uint8_t> saved;
    try {
        saved = engine::xls::workbookBytes(*result.workbook);
    } catch (const engine::xls::XlsError&) {
        return 0;
    }
    auto again = engine::xls::readWorkbook(saved, "saved"); // throws, and so aborts, when it cannot
    if (again.workbook->sheetCount() != result.workbook->sheetCount())
        std::abort();
    return 0;
}
