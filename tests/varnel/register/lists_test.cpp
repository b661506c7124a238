#include "varnel/register/layout.h"
#include "varnel/register/lists.h"

#include <gtest/gtest.h>

namespace {

TEST(RegisterLists, YearsAndMaterialsAsTheDropDownsOfferThem) {
    EXPECT_EQ(layout::yearList(2026), u"2025,2026");
    EXPECT_EQ(layout::yearItem(2009, u"半月谈"), u"2009年度半月谈");
    EXPECT_EQ(layout::materialList(u"报纸,图书", u"半月谈", 2026),
              u"报纸,图书,2026年度半月谈,2027年度半月谈");
    // The stored text is taken whole: an empty or comma-led list gives an empty first item.
    EXPECT_EQ(layout::materialList(u"", u"半月谈", 2026), u",2026年度半月谈,2027年度半月谈");
    EXPECT_EQ(layout::materialList(u",报纸", u"", 2026), u",报纸,2026年度,2027年度");
}

std::u16string kindsOfLength(std::size_t length) {
    std::u16string kinds;
    for (int i = 0; kinds.size() < length; ++i) {
        kinds += kinds.empty() ? u"资料" : u",资料";
        kinds += char16_t(u'A' + i % 26);
    }
    return kinds.substr(0, length);
}

TEST(RegisterLists, MaterialListNeverExceedsWhatAValidationHolds) {
    const std::u16string items = u",2026年度半月谈,2027年度半月谈"; // 20 characters
    const std::u16string fitting = kindsOfLength(layout::maxListLength - items.size());
    EXPECT_TRUE(layout::materialListFits(fitting, u"半月谈", 2026));
    EXPECT_EQ(layout::materialList(fitting, u"半月谈", 2026), fitting + items);

    // One character more: the last kind is left out whole, the magazine items stay.
    const std::u16string over = fitting + u"X";
    EXPECT_FALSE(layout::materialListFits(over, u"半月谈", 2026));
    const std::u16string list = layout::materialList(over, u"半月谈", 2026);
    EXPECT_LE(list.size(), layout::maxListLength);
    EXPECT_EQ(list, over.substr(0, over.rfind(u',')) + items);

    // Whole kinds that fill the room exactly, with more after them: those kinds are all kept.
    EXPECT_EQ(layout::materialList(fitting + u",资料Z", u"半月谈", 2026), fitting + items);

    // A single kind longer than the list can hold leaves only the magazine items.
    EXPECT_EQ(layout::materialList(std::u16string(300, u'长'), u"半月谈", 2026), items.substr(1));

    // A magazine name that alone overflows: whole items from the start, or the first characters.
    const std::u16string longName(200, u'刊');
    EXPECT_EQ(layout::materialList(u"报纸", longName, 2026), u"报纸,2026年度" + longName);
    EXPECT_EQ(layout::materialList(u"", std::u16string(300, u'刊'), 2026).size(), layout::maxListLength);
}

} // namespace
