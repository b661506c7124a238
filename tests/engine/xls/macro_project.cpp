#include "tests/engine/xls/macro_project.h"

#include "engine/xls/bytes.h"
#include "engine/xls/compound_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace engine::xls::testing {

void addMacroProjectName(const std::filesystem::path& file) {
    std::vector<uint8_t> bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<uint8_t> stream = workbookStream(bytes);
    // CODENAME: a two-character name "Bk" in UTF-16's compressed form.
    const std::vector<uint8_t> codeName = {0xBA, 0x01, 0x05, 0x00, 0x02, 0x00, 0x00, 'B', 'k'};
    size_t globalsEnd = 0;
    for (size_t at = 0; at + 4 <= stream.size(); at += 4 + size_t(stream[at + 2] | stream[at + 3] << 8)) {
        uint16_t type = uint16_t(stream[at] | stream[at + 1] << 8);
        if (type == 0x0085) // a sheet's position, moved past the record put before it
            patchU32(
                stream, at + 4,
                uint32_t(stream[at + 4] | stream[at + 5] << 8 | stream[at + 6] << 16 | stream[at + 7] << 24) +
                    uint32_t(codeName.size()));
        if (type == 0x000A) {
            globalsEnd = at;
            break;
        }
    }
    if (globalsEnd == 0)
        throw std::runtime_error("no end of the workbook globals in " + file.string());
    stream.insert(stream.begin() + std::ptrdiff_t(globalsEnd), codeName.begin(), codeName.end());
    const std::vector<uint8_t> out = compoundFile(stream);
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

} // namespace engine::xls::testing
