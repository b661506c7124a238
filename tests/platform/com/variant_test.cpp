#include "platform/text/utf.h"
#include "tests/platform/com/test_objects.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

HRESULT failureOf(auto&& call) {
    try {
        call();
    } catch (const ComError& e) {
        return e.error();
    }
    return S_OK;
}

TEST(Variant, ConstructorsGiveTheAutomationTypes) {
    EXPECT_EQ(Variant().vt(), VT_EMPTY);
    EXPECT_EQ(Variant::null().vt(), VT_NULL);
    EXPECT_EQ(Variant(short(-1)).vt(), VT_I2);
    EXPECT_EQ(Variant(short(-1), VT_BOOL).boolVal(), VARIANT_TRUE);
    EXPECT_EQ(Variant(7).vt(), VT_I4);
    EXPECT_EQ(Variant(7L).lVal(), 7);
    EXPECT_EQ(Variant(5000000000L).vt(), VT_R8); // beyond a 32-bit long: kept, as a double
    EXPECT_EQ(Variant(2.5).vt(), VT_R8);
    EXPECT_EQ(Variant(true).boolVal(), VARIANT_TRUE);
    EXPECT_EQ(Variant(false).boolVal(), VARIANT_FALSE);
    EXPECT_EQ(Variant(u"征订").bstrVal(), u"征订");
    EXPECT_EQ(Variant(std::u16string(u"x")).vt(), VT_BSTR);
    EXPECT_EQ(Variant::error(E_FAIL).scode(), E_FAIL);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    Variant flag(&cancel);
    EXPECT_EQ(flag.vt(), VT_BYREF | VT_BOOL);
    *flag.pboolVal() = VARIANT_TRUE;
    EXPECT_EQ(cancel, VARIANT_TRUE);
}

TEST(Variant, MissingValueIsAnErrorHoldingParamNotFound) {
    EXPECT_TRUE(vtMissing.isMissing());
    EXPECT_EQ(vtMissing.vt(), VT_ERROR);
    EXPECT_EQ(vtMissing.scode(), DISP_E_PARAMNOTFOUND);
    EXPECT_FALSE(Variant::error(E_FAIL).isMissing());
    EXPECT_FALSE(Variant().isMissing());
    EXPECT_EQ(failureOf([] { vtMissing.toLong(); }), DISP_E_TYPEMISMATCH);
}

TEST(Variant, AccessorOfAnotherTypeRaisesTypeMismatch) {
    EXPECT_EQ(failureOf([] { Variant(1).iVal(); }), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(failureOf([] { Variant(u"1").dblVal(); }), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(failureOf([] { Variant().punkVal(); }), DISP_E_TYPEMISMATCH);
}

TEST(Variant, TrueAsTheSixteenBitMinusOne) {
    Variant minusOne(short(-1));
    EXPECT_TRUE(minusOne.toBool());
    EXPECT_EQ(minusOne.toLong(), -1);
    EXPECT_FALSE(Variant(short(0)).toBool());
    EXPECT_EQ(Variant(true).toLong(), -1);
    EXPECT_EQ(Variant(true).toDouble(), -1.0);
    EXPECT_EQ(Variant(true).toString(), u"True");
    EXPECT_EQ(Variant(false).toString(), u"False");
    EXPECT_TRUE(Variant(0.25).toBool());
}

TEST(Variant, NumericTextConvertsToNumbers) {
    EXPECT_EQ(Variant(u"42").toLong(), 42);
    EXPECT_EQ(Variant(u"  -12  ").toLong(), -12);
    EXPECT_EQ(Variant(u"+3").toLong(), 3);
    EXPECT_DOUBLE_EQ(Variant(u"1.5e3").toDouble(), 1500.0);
    EXPECT_DOUBLE_EQ(Variant(u".5").toDouble(), 0.5);
    EXPECT_TRUE(Variant(u"2").toBool());
    EXPECT_FALSE(Variant(u"0").toBool());
    EXPECT_TRUE(Variant(u"TRUE").toBool());
    EXPECT_FALSE(Variant(u"false").toBool());

    for (const char16_t* notNumber :
         {u"", u"  ", u"abc", u"12abc", u"1 2", u"--1", u"+-1", u"nan", u"inf", u"0x10", u"１２"})
        EXPECT_EQ(failureOf([&] { Variant(notNumber).toDouble(); }), DISP_E_TYPEMISMATCH)
            << text::toUtf8(notNumber);
    EXPECT_EQ(failureOf([] { Variant(u"yes").toBool(); }), DISP_E_TYPEMISMATCH);
}

TEST(Variant, DoublesRoundHalfToEvenAndOverflowIsRefused) {
    EXPECT_EQ(Variant(2.5).toLong(), 2);
    EXPECT_EQ(Variant(3.5).toLong(), 4);
    EXPECT_EQ(Variant(-2.5).toLong(), -2);
    EXPECT_EQ(Variant(u"1.5").toLong(), 2);
    EXPECT_EQ(Variant(2147483647.0).toLong(), 2147483647);
    EXPECT_EQ(failureOf([] { Variant(2147483648.0).toLong(); }), DISP_E_OVERFLOW);
    EXPECT_EQ(failureOf([] { Variant(std::nan("")).toLong(); }), DISP_E_OVERFLOW);
    EXPECT_EQ(failureOf([] { Variant(40000).changeType(VT_I2); }), DISP_E_OVERFLOW);
    EXPECT_EQ(failureOf([] { Variant(u"1e999").toDouble(); }), DISP_E_OVERFLOW);
}

TEST(Variant, NumbersFormatAsText) {
    EXPECT_EQ(Variant(12).toString(), u"12");
    EXPECT_EQ(Variant(short(-7)).toString(), u"-7");
    EXPECT_EQ(Variant(1.5).toString(), u"1.5");
    EXPECT_EQ(Variant(0.1).toString(), u"0.1");
    EXPECT_EQ(Variant(100.0).toString(), u"100");
    EXPECT_EQ(Variant(1e20).toString(), u"1E+20");
}

TEST(Variant, EmptyNullAndErrorConvert) {
    EXPECT_EQ(Variant().toLong(), 0);
    EXPECT_EQ(Variant().toString(), u"");
    EXPECT_FALSE(Variant().toBool());
    EXPECT_EQ(failureOf([] { Variant::null().toLong(); }), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(failureOf([] { Variant::null().toString(); }), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(failureOf([] { Variant::error(E_FAIL).toString(); }), DISP_E_TYPEMISMATCH);
}

TEST(Variant, ByReferenceFlagConvertsThroughWhatItPointsAt) {
    VARIANT_BOOL cancel = VARIANT_TRUE;
    Variant flag(&cancel);
    EXPECT_TRUE(flag.toBool());
    cancel = VARIANT_FALSE;
    EXPECT_FALSE(flag.toBool());
}

// An object whose default member gives a value, as a range gives its cell's value.
class Cell : public ComObject<IShape> {
public:
    explicit Cell(Variant value) : value_(std::move(value)) {}
    int corners() override { return 4; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, Variant* result,
                                     EXCEPINFO*, UINT*) override {
        if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET))
            return DISP_E_MEMBERNOTFOUND;
        *result = value_;
        return S_OK;
    }

private:
    Variant value_;
};

TEST(Variant, ObjectConvertsThroughItsDefaultValue) {
    Variant cell(makeComObject<Cell>(Variant(u"15")));
    EXPECT_EQ(cell.toLong(), 15);
    EXPECT_EQ(cell.toString(), u"15");
    Variant noValue(makeComObject<Square>());
    EXPECT_EQ(failureOf([&] { noValue.toLong(); }), DISP_E_MEMBERNOTFOUND);
}

TEST(Variant, CopiesCountTheObjectTheyHold) {
    int alive = 0;
    {
        ComPtr<Square> square = makeComObject<Square>(&alive);
        Variant a(square);
        EXPECT_EQ(square->refs(), 2u);
        {
            Variant b = a;
            Variant c;
            c = b;
            EXPECT_EQ(square->refs(), 4u);
            EXPECT_EQ(a, c);
            Variant d = std::move(c);
            EXPECT_EQ(c.vt(), VT_EMPTY);
            EXPECT_EQ(square->refs(), 4u);
            d = Variant(3); // lets go of the object
            EXPECT_EQ(square->refs(), 3u);
        }
        EXPECT_EQ(square->refs(), 2u);
        square.release();
        EXPECT_EQ(alive, 1); // still held by the variant
    }
    EXPECT_EQ(alive, 0);
}

TEST(Variant, EqualityComparesTypeAndValue) {
    EXPECT_EQ(Variant(u"a"), Variant(u"a"));
    EXPECT_NE(Variant(u"a"), Variant(u"A"));
    EXPECT_NE(Variant(1), Variant(short(1)));
    EXPECT_NE(Variant(1), Variant(1.0));
    EXPECT_EQ(Variant(), Variant());
    EXPECT_EQ(vtMissing, Variant::error(DISP_E_PARAMNOTFOUND));
}

} // namespace
