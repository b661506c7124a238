#include "engine/xls/compound_file_checks.h"

#include "engine/xls/error.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace engine::xls {

namespace {

// What is wrong with the directory's tree, or nullptr.
const char* directoryFault(std::span<const uint8_t> file) {
    auto u16 = [&](uint64_t at) {
        return uint16_t(file[at] | file[at + 1] << 8);
    };
    auto u32 = [&](uint64_t at) {
        return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16;
    };
    constexpr uint32_t End = 0xFFFFFFFE, Free = 0xFFFFFFFF;
    uint16_t shift = u16(0x1E);
    if (shift != 9 && shift != 12)
        return "its sector size is neither 512 nor 4096 bytes";
    const uint64_t sectorSize = uint64_t(1) << shift;
    const uint64_t sectors = file.size() / sectorSize;
    auto sectorAt = [&](uint32_t s) -> std::optional<uint64_t> {
        uint64_t at = (uint64_t(s) + 1) << shift;
        return at + sectorSize <= file.size() ? std::optional(at) : std::nullopt;
    };

    // The allocation table, from the sectors the header and its extension list.
    constexpr const char* BadTable = "its sector allocation table lies outside the file";
    std::vector<uint32_t> fatSectors;
    uint32_t fatCount = u32(0x2C);
    if (fatCount > sectors)
        return BadTable;
    for (uint32_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
        fatSectors.push_back(u32(0x4C + 4 * i));
    for (uint32_t next = u32(0x44), hops = 0; fatSectors.size() < fatCount && next < End; ++hops) {
        auto at = sectorAt(next);
        if (!at || hops > sectors)
            return BadTable;
        for (uint64_t k = 0; k + 1 < sectorSize / 4 && fatSectors.size() < fatCount; ++k)
            fatSectors.push_back(u32(*at + 4 * k));
        next = u32(*at + sectorSize - 4);
    }
    std::vector<uint32_t> fat;
    for (uint32_t s : fatSectors) {
        auto at = sectorAt(s);
        if (!at)
            return BadTable;
        for (uint64_t k = 0; k < sectorSize / 4; ++k)
            fat.push_back(u32(*at + 4 * k));
    }

    // The directory's sectors, then its entries as a tree from the root.
    std::vector<uint64_t> chain;
    for (uint32_t s = u32(0x30); s != End; s = fat[s]) {
        auto at = sectorAt(s);
        if (!at || s >= fat.size() || chain.size() > sectors)
            return "its directory's chain of sectors is broken";
        chain.push_back(*at);
    }
    const uint64_t perSector = sectorSize / 128;
    const uint64_t count = chain.size() * perSector;
    auto entry = [&](uint64_t i) {
        return chain[i / perSector] + (i % perSector) * 128;
    };
    constexpr uint8_t Storage = 1, Stream = 2, Root = 5;
    if (count == 0 || file[entry(0) + 0x42] != Root)
        return "its directory does not begin with the root entry";
    if (u32(entry(0) + 0x44) != Free || u32(entry(0) + 0x48) != Free)
        return "its root entry has sibling entries";
    std::vector<bool> seen(count, false);
    std::vector<uint32_t> pending{u32(entry(0) + 0x4C)};
    while (!pending.empty()) {
        uint32_t i = pending.back();
        pending.pop_back();
        if (i == Free)
            continue;
        if (i == 0 || i >= count || seen[i])
            return "its directory links an entry twice or to nowhere";
        seen[i] = true;
        uint8_t type = file[entry(i) + 0x42];
        if (type != Storage && type != Stream)
            return "its directory holds an entry of unknown kind";
        for (uint64_t link : {0x44, 0x48, 0x4C})
            pending.push_back(u32(entry(i) + link));
    }

    // Every stream's chain of sectors, and the chains holding the small streams: a chain that loops
    // would keep a reader following it for ever.
    auto chainBroken = [&](const std::vector<uint32_t>& table, uint32_t start, bool inFile) {
        uint64_t hops = 0;
        for (uint32_t s = start; s != End; s = table[s], ++hops) {
            if (s >= table.size() || hops > table.size() || (inFile && !sectorAt(s)))
                return true;
        }
        return false;
    };
    constexpr const char* BrokenStream = "a stream's chain of sectors is broken or loops";
    std::vector<uint32_t> mini;
    if (u32(0x40) > 0) {
        if (chainBroken(fat, u32(0x3C), true))
            return BrokenStream;
        for (uint32_t s = u32(0x3C); s != End; s = fat[s])
            for (uint64_t k = 0; k < sectorSize / 4; ++k)
                mini.push_back(u32(*sectorAt(s) + 4 * k));
    }
    const uint32_t cutoff = u32(0x38);
    for (uint64_t i = 0; i < count; ++i) {
        if (i != 0 && !seen[i])
            continue;
        uint32_t start = u32(entry(i) + 0x74), size = u32(entry(i) + 0x78);
        if (size == 0 || (i != 0 && file[entry(i) + 0x42] != Stream))
            continue;
        bool small = i != 0 && size < cutoff;
        if (chainBroken(small ? mini : fat, start, !small))
            return BrokenStream;
    }
    return nullptr;
}

// Excel 4.0 and older wrote a bare stream of records, not a compound file; it opens with their BOF
// (BIFF2, BIFF3 or BIFF4), whose body is 4 to 16 bytes long.
bool startsLikeExcel4OrOlder(std::span<const uint8_t> file) {
    if (file.size() < 8)
        return false;
    uint16_t type = uint16_t(file[0] | file[1] << 8);
    uint16_t size = uint16_t(file[2] | file[3] << 8);
    return (type == 0x0009 || type == 0x0209 || type == 0x0409) && size >= 4 && size <= 16;
}

} // namespace

void refuseUnsoundCompoundFile(std::span<const uint8_t> file) {
    static const uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (startsLikeExcel4OrOlder(file))
        throw FormatError(kExcel4OrOlder);
    if (file.size() < 512 || std::memcmp(file.data(), signature, 8) != 0)
        throw FormatError("it is not an Excel workbook (not a compound document file)");
    if (const char* fault = directoryFault(file))
        throw FormatError(std::string("its compound document is inconsistent: ") + fault);
}

} // namespace engine::xls
