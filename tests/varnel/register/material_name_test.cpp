#include "varnel/register/material_name.h"

#include <gtest/gtest.h>

namespace {

using layout::checkMaterialName;
using layout::NameCheck;

TEST(MaterialName, TrimmedOfEveryKindOfBlank) {
    EXPECT_EQ(layout::trimmed(u"  杂志 \t"), u"杂志");
    EXPECT_EQ(layout::trimmed(u"\u3000人民 日报\u3000\r\n"), u"人民 日报");
    EXPECT_EQ(layout::trimmed(u" \u3000 "), u"");
}

TEST(MaterialName, ComparedWithWholeItemsOfTheList) {
    const std::u16string kinds = u"报纸,杂志A,图书";
    EXPECT_EQ(checkMaterialName(u"杂志", kinds, u"半月谈", 2026), NameCheck::Accepted);
    EXPECT_EQ(checkMaterialName(u"杂志A", kinds, u"半月谈", 2026), NameCheck::AlreadyListed);
    EXPECT_EQ(checkMaterialName(u"报纸", kinds, u"半月谈", 2026), NameCheck::AlreadyListed);
    EXPECT_EQ(checkMaterialName(u"图书", kinds, u"半月谈", 2026), NameCheck::AlreadyListed);
    EXPECT_EQ(checkMaterialName(u"杂志a", kinds, u"半月谈", 2026), NameCheck::Accepted);
    EXPECT_EQ(checkMaterialName(u"纸,杂", kinds, u"半月谈", 2026), NameCheck::NotAName);
    EXPECT_EQ(checkMaterialName(u"", kinds, u"半月谈", 2026), NameCheck::NotAName);
    EXPECT_EQ(checkMaterialName(u"报纸", u"", u"半月谈", 2026), NameCheck::Accepted);
}

TEST(MaterialName, RefusedWhenTheEntryRowListWouldOverflow) {
    // With ",2026年度半月谈,2027年度半月谈" (20) the kinds may take 235 characters.
    const std::u16string kinds(229, u'甲');
    EXPECT_EQ(checkMaterialName(u"乙乙乙乙乙", kinds, u"半月谈", 2026), NameCheck::Accepted);
    EXPECT_EQ(checkMaterialName(u"乙乙乙乙乙乙", kinds, u"半月谈", 2026), NameCheck::ListFull);
}

} // namespace
