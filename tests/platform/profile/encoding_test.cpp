#include "platform/profile/profile.h"
#include "tests/platform/profile/profile_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const std::u16string section = u"征订资料";

std::u16string read(const std::filesystem::path& file, const char16_t* key) {
    return profile::readString(section, key, u"无", u16(file));
}

bool write(const std::filesystem::path& file, const char16_t* key, const char16_t* value) {
    return WritePrivateProfileStringW(section.c_str(), key, value, u16(file).c_str());
}

TEST(ProfileEncoding, UTF16BigEndianIsReadAndWrittenInItsOwnByteOrder) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    writeBytes(file, utf16(u"[征订资料]\r\n征订资料种类=报纸,杂志\r\n杂志=半月谈\r\n", true));
    EXPECT_EQ(read(file, u"征订资料种类"), u"报纸,杂志");
    EXPECT_EQ(read(file, u"杂志"), u"半月谈");
    EXPECT_FALSE(profile::unreadable(u16(file)));

    ASSERT_TRUE(write(file, u"征订资料种类", u"报纸,杂志,图书"));
    ASSERT_TRUE(write(file, u"年度", u"2026"));
    EXPECT_EQ(readBytes(file),
              utf16(u"[征订资料]\r\n征订资料种类=报纸,杂志,图书\r\n杂志=半月谈\r\n年度=2026\r\n", true));
}

TEST(ProfileEncoding, UTF16WithoutAMarkIsUndecodableNeverWrittenAndSaysSo) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    for (bool bigEndian : {false, true}) {
        const std::string before = utf16(u"[征订资料]\r\n征订资料种类=报纸\r\n", bigEndian, false);
        writeBytes(file, before);
        EXPECT_EQ(read(file, u"征订资料种类"), u"无");
        EXPECT_TRUE(profile::unreadable(u16(file)));
        EXPECT_FALSE(write(file, u"征订资料种类", u"报纸,图书"));
        EXPECT_EQ(readBytes(file), before);
    }
}

TEST(ProfileEncoding, ALoneByteAfterTheLastUnitOfUTF16IsNoCharacter) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    // As a tool that knows no UTF-16 leaves it: one more byte at the end.
    writeBytes(file, utf16le(u"[征订资料]\r\n杂志=半月谈") + "A");
    EXPECT_EQ(read(file, u"杂志"), u"半月谈");

    ASSERT_TRUE(write(file, u"征订资料种类", u"报纸"));
    EXPECT_EQ(readBytes(file), utf16le(u"[征订资料]\r\n杂志=半月谈\r\n征订资料种类=报纸\r\n"));
    EXPECT_EQ(read(file, u"杂志"), u"半月谈");
}

TEST(ProfileEncoding, KeysBeforeAnySectionBelongToNoneAndStayWhereTheyAre) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    writeBytes(file, utf8(u"杂志=读者\r\n征订资料种类=图书\r\n"));
    EXPECT_EQ(read(file, u"杂志"), u"无");
    ASSERT_TRUE(write(file, u"杂志", u"半月谈"));
    EXPECT_EQ(readBytes(file), utf8(u"杂志=读者\r\n征订资料种类=图书\r\n[征订资料]\r\n杂志=半月谈\r\n"));
    EXPECT_EQ(read(file, u"杂志"), u"半月谈");
    EXPECT_EQ(read(file, u"征订资料种类"), u"无");
}

TEST(ProfileEncoding, AFileThatIsNoFileReadsAsMissingAndIsNotWritten) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.ini");
    EXPECT_EQ(profile::unreadable(u16(folder / "folder.ini")), "it is a folder");
    EXPECT_EQ(read(folder / "folder.ini", u"杂志"), u"无");
    ASSERT_EQ(::mkfifo((folder / "fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(profile::unreadable(u16(folder / "fifo.ini")), "it is not a regular file");
    EXPECT_EQ(read(folder / "fifo.ini", u"杂志"), u"无");
    EXPECT_FALSE(write(folder / "fifo.ini", u"杂志", u"读者"));
    EXPECT_TRUE(profile::unreadable(u16(folder / "missing.ini")));
}

TEST(ProfileEncoding, AReadOnlyFileIsNotReplaced) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    const std::string before = utf16le(u"[征订资料]\r\n杂志=半月谈\r\n");
    writeBytes(file, before);
    ::chmod(file.c_str(), 0444);
    EXPECT_FALSE(write(file, u"杂志", u"读者"));
    EXPECT_EQ(readBytes(file), before);
}

} // namespace
