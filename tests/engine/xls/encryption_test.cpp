#include "engine/xls/bytes.h"
#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"
#include "engine/xls/record_types.h"
#include "engine/xls/xls.h"
#include "tests/engine/xls/encrypted_stream.h"
#include "tests/engine/xls/sample_register.h"
#include "tests/engine/xls/workbook_compare.h"

#include <gtest/gtest.h>

using namespace engine;
using namespace engine::xls;

namespace {

std::string refusal(const std::vector<uint8_t>& stream) {
    try {
        readWorkbook(compoundFile(stream), "\"Ombrell.xls\"");
    } catch (const XlsError& e) {
        return e.what();
    }
    return "accepted";
}

// Where the FILEPASS body starts in a stream from encryptedStream().
size_t filePassBody(const std::vector<uint8_t>& stream) {
    return 4 + size_t(stream[2] | stream[3] << 8) + 4;
}

} // namespace

TEST(Encryption, AWorkbookEncryptedWithTheDefaultPasswordReadsAsIfItWereNot) {
    Workbook book;
    // Large enough for the stream to span many 1,024-byte blocks and several sheets.
    xls_testing::buildRegister(book, 40, 6, true);
    auto plain = workbookStream(workbookBytes(book));
    ASSERT_GT(plain.size(), 8 * 1024u);
    for (uint8_t salt : {uint8_t(0x00), uint8_t(0x5A), uint8_t(0xFF)}) {
        auto read = readWorkbook(compoundFile(xls_testing::encryptedStream(plain, u"VelvetSweatshop", salt)),
                                 "encrypted");
        xls_testing::expectSameWorkbook(book, *read.workbook);
        EXPECT_TRUE(read.dropped.empty());
    }
}

TEST(Encryption, OtherPasswordsAndSchemesAreRefusedAsEncrypted) {
    Workbook book;
    xls_testing::buildRegister(book, 2, 2, false);
    auto plain = workbookStream(workbookBytes(book));
    auto expectRefused = [](const std::vector<uint8_t>& stream, const char* why) {
        std::string message = refusal(stream);
        EXPECT_NE(message.find("\"Ombrell.xls\""), std::string::npos) << why << ": " << message;
        EXPECT_NE(message.find("protected by a password (encrypted)"), std::string::npos)
            << why << ": " << message;
    };

    expectRefused(xls_testing::encryptedStream(plain, u"secret"), "another password");
    expectRefused(xls_testing::encryptedStream(plain, u"velvetsweatshop"), "the password in other case");

    auto stream = xls_testing::encryptedStream(plain, u"VelvetSweatshop");
    size_t body = filePassBody(stream);
    auto damagedVerifier = stream;
    damagedVerifier[body + 6 + 16] ^= 1;
    expectRefused(damagedVerifier, "a verifier that does not match");
    auto xorObfuscation = stream;
    patchU16(xorObfuscation, body, 0);
    expectRefused(xorObfuscation, "the older obfuscation");
    auto systemProvider = stream;
    patchU16(systemProvider, body + 2, 4);
    patchU16(systemProvider, body + 4, 2);
    expectRefused(systemProvider, "RC4 through the system's crypto provider");
    auto cut = stream;
    patchU16(cut, body - 2, 20);
    expectRefused(cut, "a FILEPASS too short for its verifier");
}
