#include "platform/com/com.h"

#include <gtest/gtest.h>

namespace {

TEST(DispatchArguments, ArriveLastFirstAndAreReadByPosition) {
    DispArgs args{Variant(u"first"), Variant(2), Variant(3.5)};
    const DISPPARAMS& params = *args.params();
    ASSERT_EQ(params.cArgs, 3u);
    EXPECT_EQ(params.cNamedArgs, 0u);
    EXPECT_EQ(params.rgvarg[0], Variant(3.5));
    EXPECT_EQ(params.rgvarg[2], Variant(u"first"));

    EXPECT_EQ(*dispArg(params, 0), Variant(u"first"));
    EXPECT_EQ(*dispArg(params, 1), Variant(2));
    EXPECT_EQ(*dispArg(params, 2), Variant(3.5));
    EXPECT_EQ(dispArg(params, 3), nullptr);
}

TEST(DispatchArguments, NamedArgumentsGoToTheirPositions) {
    // A call passing "a" positionally and parameter 2 by name: rgvarg holds the named ones first.
    Variant args[] = {Variant(u"by name"), Variant(u"a")};
    DISPID names[] = {2};
    DISPPARAMS params{args, names, 2, 1};

    EXPECT_EQ(*dispArg(params, 0), Variant(u"a"));
    EXPECT_EQ(dispArg(params, 1), nullptr);
    EXPECT_EQ(*dispArg(params, 2), Variant(u"by name"));
}

TEST(DispatchArguments, MalformedParametersFindNothing) {
    Variant args[] = {Variant(1)};
    DISPPARAMS tooManyNamed{args, nullptr, 1, 2};
    EXPECT_EQ(dispArg(tooManyNamed, 0), nullptr);
    DISPPARAMS namedWithoutIds{args, nullptr, 1, 1};
    EXPECT_EQ(dispArg(namedWithoutIds, 0), nullptr);
    DISPPARAMS none;
    EXPECT_EQ(dispArg(none, 0), nullptr);
}

TEST(DispatchArguments, DispGetParamConvertsOrReportsTheArgument) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    DispArgs args{Variant(u"12"), vtMissing, Variant(&cancel), Variant(u"x")};
    Variant out;
    UINT argErr = 99;

    ASSERT_EQ(DispGetParam(args.params(), 0, VT_I4, &out, &argErr), S_OK);
    EXPECT_EQ(out, Variant(12));
    EXPECT_EQ(DispGetParam(args.params(), 1, VT_I4, &out, &argErr), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(DispGetParam(args.params(), 9, VT_I4, &out, &argErr), DISP_E_PARAMNOTFOUND);

    ASSERT_EQ(DispGetParam(args.params(), 2, VT_BYREF | VT_BOOL, &out, &argErr), S_OK);
    *out.pboolVal() = VARIANT_TRUE;
    EXPECT_EQ(cancel, VARIANT_TRUE);

    EXPECT_EQ(DispGetParam(args.params(), 3, VT_R8, &out, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u); // the last argument sits first in rgvarg
    EXPECT_EQ(DispGetParam(args.params(), 0, VT_BYREF | VT_BOOL, &out, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 3u);

    ASSERT_EQ(DispGetParam(args.params(), 3, VT_VARIANT, &out, nullptr), S_OK);
    EXPECT_EQ(out, Variant(u"x"));
    EXPECT_EQ(DispGetParam(nullptr, 0, VT_I4, &out, nullptr), E_INVALIDARG);
}

} // namespace
