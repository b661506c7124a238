// The compound file as written, read with the published layout of the format rather than our reader.
#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace engine::xls;

namespace {

uint32_t u32(const std::vector<uint8_t>& f, size_t at) {
    return uint32_t(f[at]) | uint32_t(f[at + 1]) << 8 | uint32_t(f[at + 2]) << 16 | uint32_t(f[at + 3]) << 24;
}

// The 128-byte directory entries, following the directory's chain through the allocation table (the
// table's sectors listed in the header, which is enough for a small file).
std::vector<std::vector<uint8_t>> directoryEntries(const std::vector<uint8_t>& f) {
    std::vector<uint32_t> fat;
    for (uint32_t i = 0; i < u32(f, 0x2C); ++i) {
        size_t at = (size_t(u32(f, 0x4C + 4 * i)) + 1) * 512;
        for (size_t k = 0; k < 128; ++k)
            fat.push_back(u32(f, at + 4 * k));
    }
    std::vector<std::vector<uint8_t>> entries;
    for (uint32_t s = u32(f, 0x30); s < fat.size() && entries.size() < 64; s = fat[s])
        for (size_t k = 0; k < 4; ++k) {
            auto from = f.begin() + std::ptrdiff_t((s + 1) * 512 + k * 128);
            entries.emplace_back(from, from + 128);
        }
    return entries;
}

} // namespace

// Entries the file does not use are empty, as the format asks: no name, no kind, no stream; a file
// must not carry whatever the memory it was assembled in held before.
TEST(CompoundFile, HoldsTheWorkbookStreamAndNothingElse) {
    std::vector<uint8_t> stream(70000);
    for (size_t i = 0; i < stream.size(); ++i)
        stream[i] = uint8_t(i * 7 + 1);
    auto file = compoundFile(stream);
    ASSERT_EQ(file.size() % 512, 0u);
    EXPECT_EQ(u32(file, 0x1C) & 0xFFFF, 0xFFFEu); // little-endian byte order mark
    EXPECT_EQ(file[0x1E], 9);                     // 512-byte sectors

    auto entries = directoryEntries(file);
    ASSERT_GE(entries.size(), 2u);
    int used = 0;
    for (const auto& e : entries) {
        uint8_t kind = e[0x42];
        if (kind == 5 || kind == 2) {
            ++used;
            continue;
        }
        EXPECT_EQ(kind, 0);
        EXPECT_TRUE(std::all_of(e.begin(), e.begin() + 0x40, [](uint8_t b) { return b == 0; }));
        EXPECT_EQ(u32(e, 0x78), 0u); // no stream size
    }
    EXPECT_EQ(used, 2); // the root and "Workbook"
    EXPECT_EQ(workbookStream(file), stream);
}

// Names in a compound file's directory compare without regard to case.
TEST(CompoundFile, TheWorkbookStreamIsFoundWhateverTheCaseOfItsName) {
    std::vector<uint8_t> stream(5000, 0x2A);
    auto file = compoundFile(stream);
    const char16_t name[] = u"Workbook";
    auto at = std::search(file.begin(), file.end(), reinterpret_cast<const uint8_t*>(name),
                          reinterpret_cast<const uint8_t*>(name) + 16);
    ASSERT_NE(at, file.end());
    for (size_t i = 2; i < 16; i += 2)
        at[std::ptrdiff_t(i)] = uint8_t(std::toupper(at[std::ptrdiff_t(i)]));
    EXPECT_EQ(workbookStream(file), stream);
    at[2] = 'X';
    EXPECT_THROW(workbookStream(file), FormatError);
}

// A damaged allocation table whose chain for the workbook stream leads back to its own start: refused,
// not followed for ever.
TEST(CompoundFile, AStreamWhoseChainLoopsIsRefused) {
    std::vector<uint8_t> stream(20000, 0x2A);
    auto file = compoundFile(stream);
    auto entries = directoryEntries(file);
    auto workbook = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e[0x42] == 2; });
    ASSERT_NE(workbook, entries.end());
    uint32_t first = u32(*workbook, 0x74);
    size_t table = (size_t(u32(file, 0x4C)) + 1) * 512;
    uint32_t last = first;
    while (u32(file, table + 4 * last) != 0xFFFFFFFE)
        last = u32(file, table + 4 * last);
    for (int i = 0; i < 4; ++i)
        file[table + 4 * last + i] = uint8_t(first >> (8 * i));
    try {
        workbookStream(file);
        FAIL() << "accepted";
    } catch (const FormatError& e) {
        EXPECT_NE(std::string(e.what()).find("chain of sectors is broken or loops"), std::string::npos)
            << e.what();
    }
}
