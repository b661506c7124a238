#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

using CommandBars = InstanceTest;

TEST_F(CommandBars, BuiltInBarsByNumberAndName) {
    auto bars = app->GetCommandBars();
    ASSERT_GE(bars->GetCount(), 4);
    for (const char16_t* name : {u"Worksheet Menu Bar", u"Standard", u"Formatting", u"Cell"})
        EXPECT_EQ(bars->GetItem(Variant(name))->GetName(), name);
    EXPECT_EQ(bars->GetItem(Variant(1))->GetName(), u"Worksheet Menu Bar");
    EXPECT_THROW(bars->GetItem(Variant(bars->GetCount() + 1)), ComError);
    EXPECT_THROW(bars->GetItem(Variant(u"Kestrova")), ComError);
    for (long n = bars->GetCount(); n >= 1; --n)
        bars->GetItem(Variant(n))->PutEnabled(VARIANT_FALSE);
    EXPECT_EQ(bars->GetItem(Variant(u"Standard"))->GetEnabled(), VARIANT_FALSE);
}

TEST_F(CommandBars, AToolbarWithButtonsThatRaiseClick) {
    auto bars = app->GetCommandBars();
    long before = bars->GetCount();
    auto bar = bars->Add(Variant(u"Kestrova"), Variant(1), vtMissing, Variant(short(-1)));
    EXPECT_EQ(bars->GetCount(), before + 1);
    EXPECT_THROW(bars->Add(Variant(u"Kestrova"), Variant(1), vtMissing, Variant(short(-1))), ComError);
    auto controls = bar->GetControls();
    Office::_CommandBarButtonPtr first(
        controls->Add(Variant(1), vtMissing, vtMissing, vtMissing, Variant(short(-1))));
    ASSERT_TRUE(first);
    first->PutStyle(Office::msoButtonCaption);
    first->PutCaption(u"增加征订单位");
    Office::_CommandBarButtonPtr second(
        controls->Add(Variant(1), vtMissing, vtMissing, vtMissing, Variant(short(-1))));
    second->PutCaption(u"添加资料名称");
    bar->PutVisible(VARIANT_TRUE);
    EXPECT_EQ(controls->GetCount(), 2);

    Connection one(first.get(), DIID__CommandBarButtonEvents);
    Connection two(second.get(), DIID__CommandBarButtonEvents);
    auto& button = static_cast<ButtonObject&>(*first.get());
    EXPECT_TRUE(button.click());
    ASSERT_EQ(one->received.size(), 1u);
    EXPECT_TRUE(two->received.empty());
    const auto& click = one->received[0];
    EXPECT_EQ(click.id, Office::CommandBarButtonEvents::Click);
    ASSERT_EQ(click.args.size(), 2u);
    EXPECT_EQ(Office::_CommandBarButtonPtr(click.args[0])->GetCaption(), u"增加征订单位");
    EXPECT_EQ(click.args[1].vt(), VT_BYREF | VT_BOOL);

    // A disabled bar's buttons do nothing.
    bar->PutEnabled(VARIANT_FALSE);
    EXPECT_FALSE(button.click());
    EXPECT_EQ(one->received.size(), 1u);
}

TEST_F(CommandBars, TemporaryBarsEndWithTheirInstanceAndLastingOnesStay) {
    app->GetCommandBars()->Add(Variant(u"Kestrova"), Variant(1), vtMissing, Variant(short(-1)));
    app->GetCommandBars()->Add(Variant(u"Lasting"), Variant(1), vtMissing, Variant(false));
    static_cast<Application&>(*app.get()).quit();
    Excel::_ApplicationPtr next;
    ASSERT_EQ(createInstance(next, u"Excel.Application"), S_OK);
    EXPECT_THROW(next->GetCommandBars()->GetItem(Variant(u"Kestrova")), ComError);
    EXPECT_EQ(next->GetCommandBars()->GetItem(Variant(u"Lasting"))->GetName(), u"Lasting");
    // Another instance has bars of its own.
    next->GetCommandBars()->Add(Variant(u"Kestrova"), Variant(1), vtMissing, Variant(short(-1)));
}

} // namespace
} // namespace engine::automation::testing
