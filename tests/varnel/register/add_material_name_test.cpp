#include "tests/varnel/register/register_fixture.h"

#include <fstream>
#include <iterator>

namespace {

using Texts = std::vector<std::u16string>;

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A configuration as a Chinese Windows writes it: code page 936, CRLF, with a comment and another
// section around the kinds.
const std::string gbkSection = "\xD5\xF7\xB6\xA9\xD7\xCA\xC1\xCF"; // 征订资料
const std::string gbkKinds = gbkSection + "\xD6\xD6\xC0\xE0";      // 征订资料种类
const std::string gbkMagazine = "\xD4\xD3\xD6\xBE";                // 杂志
const std::string gbkNewspaper = "\xB1\xA8\xD6\xBD";               // 报纸
const std::string gbkReader = "\xB6\xC1\xD5\xDF";                  // 读者
const std::string gbkYearbook = "\xC4\xEA\xBC\xF8";                // 年鉴

std::string gbkConfig(const std::string& kinds) {
    return "; " + gbkSection + "\r\n[" + gbkSection + "]\r\n" + gbkKinds + "=" + kinds + "\r\n" +
           gbkMagazine + "=" + gbkReader + "\r\n\r\n[other]\r\nkey=value\r\n";
}

TEST_F(RegisterTest, NewNameIsStoredInTheFileAsItWasWrittenAndOfferedAtOnce) {
    const std::filesystem::path config = folder / "TessikConfig.ini";
    writeBytes(config, gbkConfig(gbkNewspaper));
    dlg.materialKinds = u"报纸";

    addMaterialName(u" \u3000年鉴\t ");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dlg.materialKinds, u"报纸,年鉴");
    EXPECT_EQ(readBytes(config), gbkConfig(gbkNewspaper + "," + gbkYearbook));

    addUnit(u"市一中");
    EXPECT_EQ(validation(u"B4"), u"报纸,年鉴,2026年度读者,2027年度读者");
    EXPECT_EQ(text(u"B2"), u"报纸、年鉴");
}

TEST_F(RegisterTest, NamesAreComparedWithWholeItemsAndMustNotSplitTheList) {
    const std::filesystem::path config = folder / "TessikConfig.ini";
    writeBytes(config, "");
    dlg.materialKinds = u"";
    addMaterialName(u"杂志A");
    EXPECT_EQ(dlg.materialKinds, u",杂志A");

    addMaterialName(u"杂志");
    addMaterialName(u"杂志A");
    addMaterialName(u"志A,图");
    addMaterialName(u"甲,乙");
    addMaterialName(u"   ");
    EXPECT_EQ(dlg.materialKinds, u",杂志A,杂志");
    EXPECT_EQ(messages(), (Texts{u"添加征订资料错误|该资料名称已经存在，不会被再次添加！",
                                 u"添加征订资料错误|输入类型不正确！", u"添加征订资料错误|输入类型不正确！",
                                 u"添加征订资料错误|输入类型不正确！"}));
}

TEST_F(RegisterTest, NameIsRefusedWhenEntryRowsCouldNoLongerOfferIt) {
    writeBytes(folder / "TessikConfig.ini", "");
    // ",2026年度读者,2027年度读者" takes 18 of the 255 characters a drop-down list holds.
    dlg.materialKinds = std::u16string(230, u'甲');
    addMaterialName(u"乙乙乙乙乙乙");
    EXPECT_EQ(dlg.materialKinds.size(), 237u);
    addMaterialName(u"丙");
    EXPECT_EQ(dlg.materialKinds.size(), 237u);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find(u"255"), std::u16string::npos);
}

TEST_F(RegisterTest, NameThatCannotBeStoredIsNotAdded) {
    dlg.configPath = (folder / "missing" / "TessikConfig.ini").u16string();
    addMaterialName(u"年鉴");
    EXPECT_EQ(dlg.materialKinds, u"报纸,杂志,图书");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].starts_with(u"添加征订资料错误|"));
}

} // namespace
