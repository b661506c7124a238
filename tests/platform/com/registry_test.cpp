#include "platform/text/utf.h"
#include "tests/platform/com/test_objects.h"

#include <gtest/gtest.h>

namespace {

constexpr CLSID CLSID_Square = com::guidOf("{6D1C2A30-3B4E-4F51-9A62-7B8C9D0E1F21}");
constexpr CLSID CLSID_Unregistered = com::guidOf("{6D1C2A31-3B4E-4F51-9A62-7B8C9D0E1F21}");

struct ClassRegistry : testing::Test {
    int alive = 0;
    int made = 0;

    void SetUp() override {
        registerClass(u"Test.Square", CLSID_Square, [this] {
            ++made;
            return ComPtr<IUnknown>(makeComObject<Square>(&alive));
        });
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        revokeClass(CLSID_Square);
    }
};

TEST_F(ClassRegistry, ProgIdLooksUpItsClass) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"Test.Square", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_Square);
    ASSERT_EQ(CLSIDFromProgID(u"TEST.square", &clsid), S_OK);
    EXPECT_EQ(CLSIDFromProgID(u"Test.Circle", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
}

TEST_F(ClassRegistry, EveryCreationMakesANewInstance) {
    ComPtr<IShape> first, second;
    ASSERT_EQ(createInstance(first, u"Test.Square"), S_OK);
    ASSERT_EQ(createInstance(second, u"Test.Square"), S_OK);
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(made, 2);
    EXPECT_EQ(alive, 2);
    EXPECT_EQ(first->corners(), 4);
    first = nullptr;
    second = nullptr;
    EXPECT_EQ(alive, 0);
}

TEST_F(ClassRegistry, CoCreateInstanceQueriesTheRequestedInterface) {
    void* out = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_Square, nullptr, CLSCTX_ALL, uuidof<IColour>(), &out), S_OK);
    ComPtr<IColour> colour(static_cast<IColour*>(out), false);
    EXPECT_EQ(colour->rgb(), 0xFF0000);

    EXPECT_EQ(CoCreateInstance(CLSID_Square, nullptr, CLSCTX_LOCAL_SERVER, uuidof<IAbsent>(), &out),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    ComPtr<IAbsent> absent;
    EXPECT_EQ(createInstance(absent, u"Test.Square"), E_NOINTERFACE);
    EXPECT_FALSE(absent);
    EXPECT_EQ(alive, 1);
}

TEST_F(ClassRegistry, FailuresSayWhy) {
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Unregistered, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
              REGDB_E_CLASSNOTREG);
    ComPtr<IShape> outer = makeComObject<Square>();
    EXPECT_EQ(CoCreateInstance(CLSID_Square, outer.get(), CLSCTX_ALL, IID_IUnknown, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_Square, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);

    ComPtr<IShape> shape;
    EXPECT_EQ(createInstance(shape, u"Test.Circle"), CO_E_CLASSSTRING);

    // A ProgID whose class went away.
    revokeClass(CLSID_Square);
    EXPECT_EQ(createInstance(shape, u"Test.Square"), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(shape);
    EXPECT_EQ(made, 0);
}

TEST_F(ClassRegistry, FactoryThatRaisesGivesItsResult) {
    registerClass(u"Test.Square", CLSID_Square,
                  []() -> ComPtr<IUnknown> { throwComError(XL_E_METHODFAILED); });
    ComPtr<IShape> shape;
    EXPECT_EQ(createInstance(shape, u"Test.Square"), XL_E_METHODFAILED);
    registerClass(u"Test.Square", CLSID_Square, [] { return ComPtr<IUnknown>(); });
    EXPECT_EQ(createInstance(shape, u"Test.Square"), E_FAIL);
}

TEST_F(ClassRegistry, CreationNeedsTheThreadInitialised) {
    // SetUp initialised once; nested initialisations count.
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Square, nullptr, CLSCTX_ALL, IID_IUnknown, &out), CO_E_NOTINITIALIZED);
    CoUninitialize(); // one too many: ignored
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
}

TEST(Guid, RegistryFormRoundTrips) {
    const char16_t* text = u"{00024413-0000-0000-C000-000000000046}";
    auto parsed = com::parseGuid(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, DIID_AppEvents);
    EXPECT_EQ(com::formatGuid(*parsed), text);
    EXPECT_EQ(com::parseGuid(u"{b196b284-bab4-101a-b69c-00aa00341d07}"), IID_IConnectionPointContainer);
    EXPECT_EQ(com::formatGuid(DIID__CommandBarButtonEvents), u"{000C0351-0000-0000-C000-000000000046}");

    for (const char16_t* bad :
         {u"", u"00024413-0000-0000-C000-000000000046", u"{00024413-0000-0000-C000-00000000004}",
          u"{00024413-0000-0000-C000-00000000004G}", u"{00024413+0000-0000-C000-000000000046}",
          u"{00024413-0000-0000-C000-000000000046}x"})
        EXPECT_FALSE(com::parseGuid(bad)) << text::toUtf8(bad);
}

TEST(AutomationError, CarriesResultAndDescription) {
    ComError own(XL_E_METHODFAILED, u"无法取得类 Range 的 Find 属性");
    EXPECT_EQ(own.error(), XL_E_METHODFAILED);
    EXPECT_EQ(own.description(), u"无法取得类 Range 的 Find 属性");
    EXPECT_STREQ(own.what(), "0x800A03EC: 无法取得类 Range 的 Find 属性");

    ComError standard(DISP_E_TYPEMISMATCH);
    EXPECT_EQ(standard.description(), u"Type mismatch.");
    EXPECT_NO_THROW(checkResult(S_FALSE));
    EXPECT_THROW(checkResult(E_FAIL), ComError);
    EXPECT_TRUE(FAILED(XL_E_METHODFAILED));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
}

} // namespace
