#include "platform/profile/profile.h"
#include "tests/platform/profile/profile_files.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

// The names as a Chinese Windows stores them, in code page 936.
const std::string gbkSection = "\xD5\xF7\xB6\xA9\xD7\xCA\xC1\xCF"; // 征订资料
const std::string gbkKinds = gbkSection + "\xD6\xD6\xC0\xE0";      // 征订资料种类
const std::string gbkMagazine = "\xD4\xD3\xD6\xBE";                // 杂志
const std::string gbkNewspaper = "\xB1\xA8\xD6\xBD";               // 报纸
const std::string gbkBooks = "\xCD\xBC\xCA\xE9";                   // 图书
const std::string gbkBanyuetan = "\xB0\xEB\xD4\xC2\xCC\xB8";       // 半月谈
const std::string gbkNote = "\xD7\xA2\xCA\xCD";                    // 注释
const std::string gbkOther = "\xC6\xE4\xCB\xFB";                   // 其他

const std::u16string section = u"征订资料";

std::u16string read(const std::filesystem::path& file, std::u16string_view sectionName,
                    std::u16string_view key, const char16_t* fallback = u"无") {
    char16_t buffer[260];
    const std::uint32_t length =
        GetPrivateProfileStringW(sectionName.data(), key.data(), fallback, buffer, 260, u16(file).c_str());
    EXPECT_EQ(buffer[length], u'\0');
    return std::u16string(buffer, length);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::u16string section, key, expected;
};

TEST(ProfileRead, FollowsTheWindowsRulesInEveryEncoding) {
    const std::vector<ReadCase> cases = {
        {"GBK, CRLF", "[" + gbkSection + "]\r\n" + gbkKinds + "=" + gbkNewspaper + "," + gbkBooks + "\r\n",
         section, u"征订资料种类", u"报纸,图书"},
        {"UTF-16LE with BOM", utf16le(u"[征订资料]\r\n杂志=半月谈\r\n"), section, u"杂志", u"半月谈"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8(u"[征订资料]\r\n杂志=半月谈\r\n"), section, u"杂志",
         u"半月谈"},
        {"UTF-8, LF, no end", utf8(u"[征订资料]\n杂志=半月谈"), section, u"杂志", u"半月谈"},
        {"blanks around everything", utf8(u"  [ 征订资料 ]\t\n\t杂志 =  半月谈 \t\n"), section, u"杂志",
         u"半月谈"},
        {"double quotes", utf8(u"[征订资料]\n杂志 = \" 半月谈 \" \n"), section, u"杂志", u" 半月谈 "},
        {"single quotes", utf8(u"[征订资料]\n杂志='半月谈'\n"), section, u"杂志", u"半月谈"},
        {"one pair of quotes only", utf8(u"[征订资料]\n杂志=\"\"半月谈\"\"\n"), section, u"杂志",
         u"\"半月谈\""},
        {"quotes around nothing", utf8(u"[征订资料]\n杂志=\"\"\n"), section, u"杂志", u""},
        {"single quotes around nothing", utf8(u"[征订资料]\n杂志=''\n"), section, u"杂志", u""},
        {"a lone quote", utf8(u"[征订资料]\n杂志=\"\n"), section, u"杂志", u"\""},
        {"unbalanced quote", utf8(u"[征订资料]\n杂志=\"半月谈\n"), section, u"杂志", u"\"半月谈"},
        {"comments", utf8(u";[征订资料]\n[征订资料]\n;杂志=旧刊\n  ; 杂志=旧刊\n杂志=半月谈\n"), section,
         u"杂志", u"半月谈"},
        {"first of two sections", utf8(u"[征订资料]\n杂志=半月谈\n[征订资料]\n杂志=读者\n"), section, u"杂志",
         u"半月谈"},
        {"first of two keys", utf8(u"[征订资料]\n杂志=半月谈\n杂志=读者\n"), section, u"杂志", u"半月谈"},
        {"ASCII in other case", "[Config]\r\nMagazine=x\r\n", u"CONFIG", u"magazine", u"x"},
        {"full-width in other case", utf8(u"[ＣＯＮＦＩＧ]\nＫｅｙ=x\n"), u"ｃｏｎｆｉｇ", u"ＫＥＹ", u"x"},
        {"empty value is a value", utf8(u"[征订资料]\n杂志=\n"), section, u"杂志", u""},
        {"missing section", utf8(u"[其他]\n杂志=读者\n"), section, u"杂志", u"无"},
        {"missing key", utf8(u"[征订资料]\n征订资料种类=报纸\n"), section, u"杂志", u"无"},
        {"key before any section", utf8(u"杂志=读者\n[征订资料]\n"), section, u"杂志", u"无"},
        {"line without =", utf8(u"[征订资料]\n杂志\n"), section, u"杂志", u"无"},
        {"damaged GBK line",
         "[" + gbkSection + "]\r\n\xFF\x80\r\n" + gbkMagazine + "=" + gbkBanyuetan + "\r\n", section, u"杂志",
         u"半月谈"},
    };
    TempFolder folder;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(folder / "TessikConfig.ini", c.bytes);
        EXPECT_EQ(read(folder / "TessikConfig.ini", c.section, c.key), c.expected);
    }
}

TEST(ProfileRead, ReadsTheSampleMadeOnAChineseWindows) {
    const auto sample = std::filesystem::path(PROFILE_TEST_DATA) / "TessikConfig.ini";
    EXPECT_EQ(read(sample, section, u"征订资料种类"), u"报纸,杂志,图书,年鉴,音像资料");
    EXPECT_EQ(read(sample, section, u"杂志"), u"半月谈");
}

TEST(ProfileRead, MissingFileGivesTheDefaultWithoutItsTrailingBlanks) {
    TempFolder folder;
    EXPECT_EQ(read(folder / "missing.ini", section, u"杂志", u"无  "), u"无");
    EXPECT_EQ(read(folder / "missing.ini", section, u"杂志", nullptr), u"");
    EXPECT_FALSE(PathFileExistsW(u16(folder / "missing.ini").c_str()));
    EXPECT_TRUE(PathFileExistsW(u16(folder.path()).c_str()));
}

TEST(ProfileRead, SizeCutsTheValueButTheWholeReadDoesNot) {
    TempFolder folder;
    const std::u16string longValue(300, u'报');
    writeBytes(folder / "a.ini", utf8(u"[征订资料]\r\n征订资料种类=" + longValue + u"\r\n"));
    const std::u16string path = u16(folder / "a.ini");

    EXPECT_EQ(read(folder / "a.ini", section, u"征订资料种类"), longValue.substr(0, 259));
    EXPECT_EQ(profile::readString(section, u"征订资料种类", u"", path), longValue);

    char16_t tiny[1] = {u'x'};
    EXPECT_EQ(GetPrivateProfileStringW(section.c_str(), u"征订资料种类", u"", tiny, 1, path.c_str()), 0u);
    EXPECT_EQ(tiny[0], u'\0');
}

struct WriteCase {
    const char* name;
    std::optional<std::string> before; // none: no file yet
    std::u16string section, key, value;
    std::string after;
};

TEST(ProfileWrite, ChangesOnlyTheLineItWritesAndKeepsTheEncoding) {
    const std::string gbkRest = gbkMagazine + "=" + gbkBanyuetan + "\r\n\r\n[" + gbkOther + "]\r\nx=1\r\n";
    const std::vector<WriteCase> cases = {
        {"GBK: replace in place",
         "; " + gbkNote + "\r\n[" + gbkSection + "]\r\n" + gbkKinds + " = " + gbkNewspaper + "\r\n" + gbkRest,
         section, u"征订资料种类", u"报纸,图书",
         "; " + gbkNote + "\r\n[" + gbkSection + "]\r\n" + gbkKinds + " = " + gbkNewspaper + "," + gbkBooks +
             "\r\n" + gbkRest},
        {"GBK gains a character GBK lacks: GB18030",
         "[" + gbkSection + "]\r\n" + gbkKinds + "=" + gbkNewspaper + "\r\n" + gbkRest, section,
         u"征订资料种类", u"报纸,\U00020000",
         "[" + gbkSection + "]\r\n" + gbkKinds + "=" + gbkNewspaper + ",\x95\x32\x82\x36\r\n" + gbkRest},
        {"key in other case keeps its spelling", "[Config]\r\nMagazine=a\r\n", u"CONFIG", u"MAGAZINE", u"b",
         "[Config]\r\nMagazine=b\r\n"},
        {"UTF-8, LF: key added before the blank line", utf8(u"[征订资料]\n杂志=半月谈\n\n[其他]\nx=1\n"),
         section, u"征订资料种类", u"报纸",
         utf8(u"[征订资料]\n杂志=半月谈\n征订资料种类=报纸\n\n[其他]\nx=1\n")},
        {"mixed line ends: new lines take the first", utf8(u"[征订资料]\r\n杂志=读者\n\n[其他]\rx=1\r"),
         section, u"征订资料种类", u"报纸",
         utf8(u"[征订资料]\r\n杂志=读者\n征订资料种类=报纸\r\n\n[其他]\rx=1\r")},
        {"section added after a last line without end", utf8(u"[其他]\r\nx=1"), section, u"杂志", u"半月谈",
         utf8(u"[其他]\r\nx=1\r\n[征订资料]\r\n杂志=半月谈\r\n")},
        {"UTF-16LE: replace", utf16le(u"[征订资料]\r\n杂志=读者\r\n"), section, u"杂志", u"半月谈",
         utf16le(u"[征订资料]\r\n杂志=半月谈\r\n")},
        {"UTF-8 with BOM: add key", "\xEF\xBB\xBF" + utf8(u"[征订资料]\r\n杂志=读者\r\n"), section,
         u"征订资料种类", u"报纸",
         "\xEF\xBB\xBF" + utf8(u"[征订资料]\r\n杂志=读者\r\n征订资料种类=报纸\r\n")},
        {"first of two sections", utf8(u"[征订资料]\n杂志=a\n[征订资料]\n杂志=b\n"), section, u"杂志", u"c",
         utf8(u"[征订资料]\n杂志=c\n[征订资料]\n杂志=b\n")},
        {"comment that looks like the key", utf8(u"[征订资料]\n;杂志=旧\n"), section, u"杂志", u"新",
         utf8(u"[征订资料]\n;杂志=旧\n杂志=新\n")},
        {"damaged GBK line survives", "[" + gbkSection + "]\r\n\xFF\x80\r\n" + gbkMagazine + "=x\r\n",
         section, u"杂志", u"半月谈",
         "[" + gbkSection + "]\r\n\xFF\x80\r\n" + gbkMagazine + "=" + gbkBanyuetan + "\r\n"},
        {"new file: UTF-16LE with BOM, CRLF", std::nullopt, section, u"杂志", u"半月谈",
         utf16le(u"[征订资料]\r\n杂志=半月谈\r\n")},
    };
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file);
        if (c.before)
            writeBytes(file, *c.before);
        EXPECT_TRUE(
            WritePrivateProfileStringW(c.section.c_str(), c.key.c_str(), c.value.c_str(), u16(file).c_str()));
        EXPECT_EQ(readBytes(file), c.after);
        EXPECT_EQ(read(file, c.section, c.key), c.value);
    }
}

// The file's text with every "\n" turned into `end`.
std::u16string withLineEnds(std::u16string_view text, std::u16string_view end) {
    std::u16string out;
    for (char16_t c : text)
        out += c == u'\n' ? std::u16string(end) : std::u16string(1, c);
    return out;
}

TEST(ProfileWrite, EveryLineEndIsReadAsOneAndGivesNewLinesTheFilesOwn) {
    struct Case {
        const char* name;
        std::u16string before, key, value, after;
    };
    const std::vector<Case> cases = {
        {"key added before the blank line", u"[征订资料]\n杂志=半月谈\n\n[其他]\nx=1\n", u"征订资料种类",
         u"报纸", u"[征订资料]\n杂志=半月谈\n征订资料种类=报纸\n\n[其他]\nx=1\n"},
        {"key added before a line of blanks", u"[征订资料]\n杂志=半月谈\n \t\n[其他]\n", u"征订资料种类",
         u"报纸", u"[征订资料]\n杂志=半月谈\n征订资料种类=报纸\n \t\n[其他]\n"},
        {"first of two sections", u"[征订资料]\n杂志=a\n[征订资料]\n杂志=b\n", u"杂志", u"c",
         u"[征订资料]\n杂志=c\n[征订资料]\n杂志=b\n"},
        {"comment that looks like the key", u"[征订资料]\n;杂志=旧\n", u"杂志", u"新",
         u"[征订资料]\n;杂志=旧\n杂志=新\n"},
        {"file that opens with a blank line", u"\n[其他]\nx=1\n", u"杂志", u"半月谈",
         u"\n[其他]\nx=1\n[征订资料]\n杂志=半月谈\n"},
        {"last line without end", u"[征订资料]\n\n杂志=读者", u"征订资料种类", u"报纸",
         u"[征订资料]\n\n杂志=读者\n征订资料种类=报纸\n"},
    };
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    for (std::u16string_view end : {u"\n", u"\r\n", u"\r"})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (end == u"\n" ? ", LF" : end == u"\r" ? ", CR" : ", CRLF"));
            writeBytes(file, utf8(withLineEnds(c.before, end)));
            EXPECT_TRUE(WritePrivateProfileStringW(section.c_str(), c.key.c_str(), c.value.c_str(),
                                                   u16(file).c_str()));
            EXPECT_EQ(readBytes(file), utf8(withLineEnds(c.after, end)));
            EXPECT_EQ(read(file, section, c.key), c.value);
            writeBytes(file, utf16le(withLineEnds(c.before, end)));
            EXPECT_TRUE(WritePrivateProfileStringW(section.c_str(), c.key.c_str(), c.value.c_str(),
                                                   u16(file).c_str()));
            EXPECT_EQ(readBytes(file), utf16le(withLineEnds(c.after, end)));
        }
}

TEST(ProfileRead, ALoneCarriageReturnEndsALine) {
    TempFolder folder;
    writeBytes(folder / "a.ini", utf8(u"[征订资料]\r征订资料种类=报纸,图书\r杂志=半月谈\r"));
    EXPECT_EQ(read(folder / "a.ini", section, u"征订资料种类"), u"报纸,图书");
    EXPECT_EQ(read(folder / "a.ini", section, u"杂志"), u"半月谈");
    // Mixed ends, each one line end, and a CR before a CRLF is a line of its own.
    writeBytes(folder / "b.ini", utf8(u"[征订资料]\r\n杂志=读者\r\r\n征订资料种类=报纸\n"));
    EXPECT_EQ(read(folder / "b.ini", section, u"杂志"), u"读者");
    EXPECT_EQ(read(folder / "b.ini", section, u"征订资料种类"), u"报纸");
}

TEST(ProfileWrite, GB18030FileStaysReadableAndKeepsGrowing) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    writeBytes(file, readBytes(std::filesystem::path(PROFILE_TEST_DATA) / "TessikConfig.ini"));
    const std::u16string path = u16(file);

    ASSERT_TRUE(
        WritePrivateProfileStringW(section.c_str(), u"征订资料种类", u"报纸,\U00020000", path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(section.c_str(), u"杂志", u"한국문학", path.c_str()));
    EXPECT_EQ(read(file, section, u"征订资料种类"), u"报纸,\U00020000");
    EXPECT_EQ(read(file, section, u"杂志"), u"한국문학");
}

TEST(ProfileWrite, RefusesWhatWouldNotReadBackAndLeavesTheFile) {
    TempFolder folder;
    const auto file = folder / "TessikConfig.ini";
    const std::string before = "[" + gbkSection + "]\r\n" + gbkMagazine + "=" + gbkBanyuetan + "\r\n";
    writeBytes(file, before);
    const std::u16string path = u16(file);
    EXPECT_FALSE(WritePrivateProfileStringW(section.c_str(), u"杂志", u"读者\r\n[其他]", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringW(u"征订]资料", u"杂志", u"读者", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringW(section.c_str(), u"杂=志", u"读者", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringW(section.c_str(), u";杂志", u"读者", path.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringW(section.c_str(), u"杂志", nullptr, path.c_str()));
    EXPECT_EQ(readBytes(file), before);
}

TEST(ProfileWrite, FailureLeavesEverythingAsItWas) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "TessikConfig.ini");
    EXPECT_FALSE(WritePrivateProfileStringW(section.c_str(), u"杂志", u"读者",
                                            u16(folder / "TessikConfig.ini").c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "TessikConfig.ini"));

    EXPECT_FALSE(WritePrivateProfileStringW(section.c_str(), u"杂志", u"读者",
                                            u16(folder / "gone" / "a.ini").c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder / "gone"));
}

} // namespace
