#include "engine/xls/compound_file.h"

#include "engine/xls/error.h"

#include <algorithm>
#include <cstring>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <memory>
#include <mutex>
#include <optional>

namespace engine::xls {

namespace {

struct Unref {
    void operator()(void* p) const { g_object_unref(p); }
};
template <class T> using GsfPtr = std::unique_ptr<T, Unref>;

// Excel keeps its workbook stream out of the compound file's small-block area; streams shorter than
// this are padded after their last record.
constexpr size_t MinStreamSize = 4096;

// libgsf leaks directory entries when the directory is not a tree under a root storage (an entry
// pointing back to the root, a cycle, an entry of no known kind, siblings beside the root, which it
// reads with no parent to hold them). Such a file is damaged anyway, so the directory is walked here
// first and a file whose tree is unsound is turned away. Returns what is wrong, or nullptr.
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
    return nullptr;
}

// libgsf describes each flaw of a damaged file on stderr; the caller gets one message of ours instead.
void quietLibgsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_log_set_handler(
            "libgsf:msole", GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
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

bool sameName(const char* a, const char* b) {
    return a && g_ascii_strcasecmp(a, b) == 0;
}

} // namespace

std::vector<uint8_t> workbookStream(std::span<const uint8_t> file) {
    static const uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (startsLikeExcel4OrOlder(file))
        throw FormatError(kExcel4OrOlder);
    if (file.size() < 512 || std::memcmp(file.data(), signature, 8) != 0)
        throw FormatError("it is not an Excel workbook (not a compound document file)");

    quietLibgsf();
    if (const char* fault = directoryFault(file))
        throw FormatError(std::string("its compound document is inconsistent: ") + fault);

    GsfPtr<GsfInput> input(gsf_input_memory_new(file.data(), gsf_off_t(file.size()), FALSE));
    GError* error = nullptr;
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
    if (!ole) {
        if (error)
            g_error_free(error);
        throw FormatError("its compound document structure is damaged");
    }

    GsfPtr<GsfInput> stream;
    int children = gsf_infile_num_children(ole.get());
    for (const char* wanted : {"Workbook", "Book"}) {
        for (int i = 0; i < children && !stream; ++i) {
            if (sameName(gsf_infile_name_by_index(ole.get(), i), wanted))
                stream.reset(gsf_infile_child_by_index(ole.get(), i));
        }
        if (stream)
            break;
    }
    if (!stream)
        throw FormatError("it holds no workbook stream");

    gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || uint64_t(size) > file.size())
        throw FormatError("its workbook stream is larger than the file");
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !gsf_input_read(stream.get(), size_t(size), bytes.data()))
        throw FormatError("its workbook stream cannot be read completely");
    return bytes;
}

namespace {

bool writeTo(GsfOutput* sink, const StreamPieces& pieces) {
    GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new_full(sink, 512, 64));
    GsfPtr<GsfOutput> child(gsf_outfile_new_child(ole.get(), "Workbook", FALSE));
    bool ok = true;
    size_t size = 0;
    for (auto piece : pieces) {
        ok = ok && gsf_output_write(child.get(), piece.size(), piece.data());
        size += piece.size();
    }
    if (ok && size < MinStreamSize) {
        std::vector<uint8_t> padding(MinStreamSize - size, 0);
        ok = gsf_output_write(child.get(), padding.size(), padding.data());
    }
    ok = gsf_output_close(child.get()) && ok;
    ok = gsf_output_close(GSF_OUTPUT(ole.get())) && ok;
    return ok;
}

} // namespace

std::vector<uint8_t> compoundFile(const StreamPieces& pieces) {
    GsfPtr<GsfOutput> sink(gsf_output_memory_new());
    if (!writeTo(sink.get(), pieces))
        throw FormatError("the compound document could not be assembled");
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    return std::vector<uint8_t>(data, data + gsf_output_size(sink.get()));
}

std::vector<uint8_t> compoundFile(std::span<const uint8_t> stream) {
    return compoundFile(StreamPieces{stream});
}

bool writeCompoundFile(std::FILE* file, const StreamPieces& pieces) {
    GsfPtr<GsfOutput> sink(gsf_output_stdio_new_FILE("workbook", file, TRUE));
    // Closing the compound file closes (and flushes) the sink too; the FILE itself stays open.
    return sink && writeTo(sink.get(), pieces);
}

} // namespace engine::xls
