#include "engine/xls/compound_file.h"

#include "engine/xls/compound_file_checks.h"
#include "engine/xls/error.h"

#include <algorithm>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <memory>
#include <mutex>

namespace engine::xls {

namespace {

struct Unref {
    void operator()(void* p) const { g_object_unref(p); }
};
template <class T> using GsfPtr = std::unique_ptr<T, Unref>;

// libgsf describes each flaw of a damaged file on stderr; the caller gets one message of ours instead.
void quietLibgsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        g_log_set_handler(
            "libgsf:msole", GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
            [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    });
}

bool sameName(const char* a, const char* b) {
    return a && g_ascii_strcasecmp(a, b) == 0;
}

} // namespace

std::vector<uint8_t> workbookStream(std::span<const uint8_t> file) {
    refuseUnsoundCompoundFile(file);
    quietLibgsf();

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
