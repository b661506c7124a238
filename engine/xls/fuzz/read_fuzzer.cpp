// libFuzzer entry: a workbook file (when it starts like a compound file) or a bare workbook stream.
// Every input must either read or be refused with XlsError; anything else is a finding.
#include "engine/xls/error.h"
#include "engine/xls/xls.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const uint8_t signature[4] = {0xD0, 0xCF, 0x11, 0xE0};
    std::span<const uint8_t> bytes(data, size);
    try {
        if (size >= 4 && std::memcmp(data, signature, 4) == 0)
            engine::xls::readWorkbook(bytes, "fuzz");
        else
            engine::xls::readWorkbookStream(bytes, "fuzz");
    } catch (const engine::xls::XlsError&) {
    }
    return 0;
}
