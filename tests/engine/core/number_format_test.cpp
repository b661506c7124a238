#include "engine/core/number_format.h"
#include "platform/text/utf.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace engine {
namespace {

struct Case {
    std::string code, value, libreOffice, shown;
    int line;
};

// number_formats.tsv: code, value, what LibreOffice shows, and what we show instead where Excel differs.
std::vector<Case> cases() {
    std::ifstream in(std::string(VARNEL_SOURCE_DIR) + "/tests/engine/core/number_formats.tsv");
    std::vector<Case> all;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.empty() || line.rfind("//", 0) == 0)
            continue;
        std::vector<std::string> fields;
        std::stringstream s(line);
        for (std::string f; std::getline(s, f, '\t');)
            fields.push_back(f);
        if (line.back() == '\t')
            fields.emplace_back();
        fields.resize(std::max<std::size_t>(fields.size(), 3));
        all.push_back({fields[0], fields[1], fields[2], fields.size() > 3 ? fields[3] : fields[2], n});
    }
    return all;
}

Value valueOf(const std::string& field) {
    if (field.size() >= 2 && field.front() == '"')
        return Value::text(text::toUtf16(field.substr(1, field.size() - 2)));
    return Value::number(std::stod(field));
}

TEST(NumberFormat, ShowsValuesAsLibreOfficeDoesSaveWhereExcelDiffers) {
    auto all = cases();
    ASSERT_GT(all.size(), 150u);
    for (const Case& c : all) {
        ShownValue shown = showValue(valueOf(c.value), text::toUtf16(c.code));
        EXPECT_EQ(text::toUtf8(shown.text), c.shown)
            << "line " << c.line << ": " << c.code << " with " << c.value;
    }
}

TEST(NumberFormat, SectionsNameTheirColour) {
    EXPECT_EQ(showValue(Value::number(-3), u"0.00;[Red]-0.00").colorIndex, 3);
    EXPECT_EQ(showValue(Value::number(3), u"0.00;[Red]-0.00").colorIndex, 0);
    EXPECT_EQ(showValue(Value::number(0), u"[Blue]0;[Red]-0;[Green]0").colorIndex, 4);
    EXPECT_EQ(showValue(Value::number(5), u"[Color10]0").colorIndex, 10);
    EXPECT_EQ(showValue(Value::text(u"x"), u"0;0;0;[Magenta]@").colorIndex, 7);
}

// Day 0 of the 1904 date system is Friday, 1 January 1904; elapsed time counts no calendar.
TEST(NumberFormat, DatesOfThe1904SystemCountFromItsFirstDay) {
    EXPECT_EQ(showValue(Value::number(0), u"yyyy-mm-dd ddd", DateSystem::Excel1904).text, u"1904-01-01 Fri");
    EXPECT_EQ(showValue(Value::number(1462.75), u"yyyy-mm-dd hh:mm", DateSystem::Excel1904).text,
              u"1908-01-02 18:00");
    EXPECT_EQ(showValue(Value::number(1.5), u"[h]:mm", DateSystem::Excel1904).text, u"36:00");
    EXPECT_EQ(showValue(Value::number(2957004), u"yyyy-mm-dd", DateSystem::Excel1904).text, u"########");
}

TEST(NumberFormat, BooleansErrorsAndEmptyCellsIgnoreTheCode) {
    EXPECT_EQ(showValue(Value::boolean(true), u"0.00").text, u"TRUE");
    EXPECT_EQ(showValue(Value::error(ErrorCode::Div0), u"0.00").text, u"#DIV/0!");
    EXPECT_EQ(showValue(Value(), u"0.00").text, u"");
}

TEST(NumberFormat, MalformedCodesAreRefusedAndShowTheGeneralForm) {
    for (std::u16string_view code :
         {u"0.00\"", u"[Red0", u"[Purple]0", u"0;0;0;@;0", u"[>abc]0", u"[Color57]0"})
        EXPECT_FALSE(NumberFormat::parse(code)) << text::toUtf8(code);
    EXPECT_EQ(showValue(Value::number(1.5), u"0.00\"").text, u"1.5");
    EXPECT_TRUE(NumberFormat::parse(u"General")->isGeneral());
    EXPECT_TRUE(isGeneralCode(u"GENERAL"));
    EXPECT_FALSE(isGeneralCode(u"General;-General"));
}

} // namespace
} // namespace engine
