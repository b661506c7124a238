#include "engine/automation/user.h"
#include "tests/varnel/register/register_fixture.h"

namespace {

class TypedValuesTest : public RegisterTest {
protected:
    // Types into the register as a user does at the grid: the cell's validation has its say.
    bool typeByHand(const std::u16string& ref, const std::u16string& typed) {
        auto& app = *static_cast<engine::automation::Application*>(engineApp.get());
        return engine::automation::user::type(app, {dlg._epBook->GetName(), u"征订登记"}, ref, typed).done;
    }
};

TEST_F(TypedValuesTest, QuantityAndPriceTakeNumbersOfAtLeastZeroOnly) {
    addUnit(u"市一中");
    ASSERT_TRUE(typeByHand(u"B4", u"报纸"));
    for (const char16_t* refused : {u"十", u"-3", u"abc", u"TRUE", u"#N/A"}) {
        SCOPED_TRACE(text::toUtf8(refused));
        EXPECT_FALSE(typeByHand(u"C4", refused));
        EXPECT_FALSE(typeByHand(u"D4", refused));
    }
    EXPECT_EQ(value(u"C4").vt(), VT_EMPTY);
    EXPECT_TRUE(typeByHand(u"C4", u"10"));
    EXPECT_TRUE(typeByHand(u"D4", u"12.5"));
    EXPECT_TRUE(typeByHand(u"D4", u"0"));
    EXPECT_TRUE(typeByHand(u"D4", u"12.5"));
    EXPECT_EQ(value(u"E4").dblVal(), 125.0);
    // The amount formula stays as stored registers hold it.
    EXPECT_EQ(formula(u"E4"), u"=IF(OR($C$4<1,$D$4<1),\"\",PRODUCT($C$4,$D$4))");
    EXPECT_TRUE(typeByHand(u"C4", u""));

    // The entry row the block gains on the way gets the same rule.
    EXPECT_FALSE(typeByHand(u"C5", u"十"));
    EXPECT_TRUE(typeByHand(u"C5", u"3"));
}

} // namespace
