#include "platform/text/utf.h"

#include <gtest/gtest.h>

TEST(Utf, RoundTripsChineseAndSupplementaryCharacters) {
    const std::string utf8 = "征订登记 \xF0\x9F\x93\x96 A1";
    const std::u16string utf16 = text::toUtf16(utf8);
    EXPECT_EQ(utf16.substr(0, 4), u"征订登记");
    EXPECT_EQ(utf16.size(), 10u); // the book emoji takes a surrogate pair
    EXPECT_EQ(text::toUtf8(utf16), utf8);
}

TEST(Utf, ReplacesIllFormedInputInsteadOfThrowing) {
    EXPECT_EQ(text::toUtf16("a\xFF"
                            "b"),
              u"a\uFFFDb");
    const std::u16string loneSurrogate = {u'x', char16_t(0xD800), u'y'};
    EXPECT_EQ(text::toUtf8(loneSurrogate), "x\xEF\xBF\xBDy");
}
