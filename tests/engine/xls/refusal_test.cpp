#include "engine/xls/bytes.h"
#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"
#include "engine/xls/record_types.h"
#include "engine/xls/record_writer.h"
#include "engine/xls/xls.h"
#include "tests/engine/xls/sample_register.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace engine;
using namespace engine::xls;

namespace {

// The workbook stream of a register, taken back out of its compound file.
std::vector<uint8_t> registerStream() {
    Workbook book;
    xls_testing::buildRegister(book, 3, 3, true);
    return workbookStream(workbookBytes(book));
}

std::string refusal(const std::vector<uint8_t>& file) {
    try {
        readWorkbook(file, "\"Ombrell.xls\"");
    } catch (const XlsError& e) {
        return e.what();
    }
    return "accepted";
}

std::vector<uint8_t> streamWith(uint16_t version, bool encrypted) {
    std::vector<uint8_t> s;
    RecordWriter w(s);
    std::vector<uint8_t> bof(16, 0);
    patchU16(bof, 0, version);
    patchU16(bof, 2, rec::BofGlobals);
    w.record(rec::Bof, bof);
    if (encrypted)
        w.record(rec::FilePass, {1, 0, 1, 0});
    w.record(rec::Eof, {});
    return s;
}

void expectMentions(const std::string& message, const std::string& part) {
    EXPECT_NE(message.find("\"Ombrell.xls\""), std::string::npos) << message;
    EXPECT_NE(message.find(part), std::string::npos) << message;
}

} // namespace

TEST(Refusal, EachKindOfUnreadableFileGetsItsOwnMessage) {
    expectMentions(refusal({'h', 'e', 'l', 'l', 'o'}), "not an Excel workbook");
    expectMentions(refusal(compoundFile(streamWith(0x0500, false))), "Excel 95 or older");
    // Excel 2.1, 3.0 and 4.0 files, bare as they were written, and one put into a compound file.
    expectMentions(refusal({0x09, 0x00, 0x04, 0x00, 0x02, 0x00, 0x10, 0x00, 0x0A, 0x00, 0x00, 0x00}),
                   "Excel 4.0 or older");
    expectMentions(refusal({0x09, 0x02, 0x06, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00}),
                   "Excel 4.0 or older");
    expectMentions(refusal({0x09, 0x04, 0x06, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00}),
                   "Excel 4.0 or older");
    expectMentions(refusal(compoundFile(std::vector<uint8_t>{0x09, 0x04, 0x06, 0x00, 0x00, 0x00, 0x00, 0x01,
                                                             0x00, 0x00, 0x0A, 0x00, 0x00, 0x00})),
                   "Excel 4.0 or older");
    expectMentions(refusal(compoundFile(streamWith(rec::Biff8Version, true))), "encrypted");

    auto file = compoundFile(registerStream());
    // Rename the stream in the compound file's directory ("Workbook" in UTF-16).
    const char16_t name[] = u"Workbook";
    auto at = std::search(file.begin(), file.end(), reinterpret_cast<const uint8_t*>(name),
                          reinterpret_cast<const uint8_t*>(name) + 16);
    ASSERT_NE(at, file.end());
    at[2] = 'X';
    expectMentions(refusal(file), "no workbook stream");

    auto truncated = file;
    truncated.resize(300);
    expectMentions(refusal(truncated), "not an Excel workbook");

    // The root entry given the workbook stream as a sibling: libgsf would read that entry with no
    // parent to own it.
    auto sibling = compoundFile(registerStream());
    const char16_t root[] = u"Root Entry";
    at = std::search(sibling.begin(), sibling.end(), reinterpret_cast<const uint8_t*>(root),
                     reinterpret_cast<const uint8_t*>(root) + 20);
    ASSERT_NE(at, sibling.end());
    patchU32(sibling, size_t(at - sibling.begin()) + 0x44, 1);
    expectMentions(refusal(sibling), "root entry has sibling entries");
}

TEST(Refusal, TruncatedStreamsAreRefusedAtEveryLength) {
    auto stream = registerStream();
    for (size_t n = 0; n < stream.size(); n += 97) {
        std::vector<uint8_t> cut(stream.begin(), stream.begin() + std::ptrdiff_t(n));
        std::string message = refusal(compoundFile(cut));
        EXPECT_NE(message, "accepted") << n;
    }
}

TEST(Refusal, DamagedStreamsNeverCrashTheReader) {
    auto stream = registerStream();
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        auto damaged = stream;
        for (int k = 0; k < 1 + i % 8; ++k)
            damaged[random() % damaged.size()] = uint8_t(random());
        auto file = compoundFile(damaged);
        try {
            readWorkbook(file, "x");
        } catch (const XlsError&) {
        }
    }
}

TEST(Refusal, AMissingFileNamesItself) {
    try {
        readWorkbook(std::filesystem::path("/nonexistent/Ombrell.xls"));
        FAIL();
    } catch (const XlsError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/Ombrell.xls"), std::string::npos);
    }
}

// Inputs the fuzzer found; each must be refused cleanly or read and saved (under the sanitizers:
// without leaks too).
TEST(Refusal, FuzzFindingsAreRefused) {
    std::filesystem::path dir =
        std::filesystem::path(VARNEL_SOURCE_DIR) / "tests" / "engine" / "xls" / "fuzz-findings";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        static const uint8_t signature[4] = {0xD0, 0xCF, 0x11, 0xE0};
        try {
            bool file = bytes.size() >= 4 && std::equal(signature, signature + 4, bytes.begin());
            auto result = file ? readWorkbook(bytes, "finding") : readWorkbookStream(bytes, "finding");
            workbookBytes(*result.workbook); // what reads must save, computing every formula
        } catch (const XlsError&) {
        }
        ++seen;
    }
    EXPECT_GT(seen, 0);
}
