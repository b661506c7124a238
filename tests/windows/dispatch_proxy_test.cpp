#include "platform/com/disp_event.h"
#include "platform/com/dispatch_proxy.h"
#include "platform/com/registry.h"
#include "tests/windows/recording_server.h"
#include "varnel/excel/dispatch/proxies.h"
#include "varnel/excel/excel.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::u16string>;

class DispatchProxyTest : public ::testing::Test {
protected:
    std::shared_ptr<recording::Log> log = std::make_shared<recording::Log>();
    void* server = nullptr;
    Excel::_ApplicationPtr app;

    static void SetUpTestSuite() {
        ::CoInitialize(nullptr);
        excel_dispatch::registerProxies();
    }
    static void TearDownTestSuite() { ::CoUninitialize(); }

    void SetUp() override {
        server = recording::create(log);
        // The proxy takes over the server's reference.
        app = com::proxyFor(server);
    }

    const recording::Call& last() const { return log->calls.back(); }
};

TEST_F(DispatchProxyTest, ArgumentsFollowExcelsConventions) {
    ASSERT_TRUE(app);
    app->PutVisible(VARIANT_TRUE);
    EXPECT_EQ(last().member, u"Visible");
    EXPECT_EQ(last().flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(last().args, Args{u"BOOL:-1"});
    EXPECT_EQ(last().namedArgs, std::vector<std::int32_t>{DISPID_PROPERTYPUT});

    app->GetWorkbooks()->Open(u"C:/征订/Ombrell.xls");
    EXPECT_EQ(last().object, u"app.Workbooks");
    EXPECT_EQ(last().member, u"Open");
    EXPECT_EQ(last().flags, DISPATCH_METHOD);
    EXPECT_EQ(last().args, Args{u"BSTR:C:\\征订\\Ombrell.xls"}); // the options left out are not passed

    Office::_CommandBarsPtr bars = app->GetCommandBars();
    EXPECT_EQ(last().flags, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
    bars->Add(Variant(u"Kestrova"), Variant(int(Office::msoBarTop)), vtMissing, Variant(short(VARIANT_TRUE)));
    EXPECT_EQ(last().args, (Args{u"BSTR:Kestrova", u"I4:1", u"MISSING", u"I2:-1"}));

    Excel::_WorksheetPtr sheet = app->GetActiveSheet();
    ASSERT_TRUE(sheet);
    sheet->GetRange(Variant(u"B65536"))->GetEnd(Excel::xlUp);
    EXPECT_EQ(last().object, u"app.ActiveSheet.Range");
    EXPECT_EQ(last().args, Args{u"I4:-4162"});
}

TEST_F(DispatchProxyTest, AnswersComeBackAsTheProgramReadsThem) {
    log->answers = {{u"Name", u"BSTR:征订登记"},       {u"Count", u"I4:7"},     {u"Saved", u"BOOL:-1"},
                    {u"Value2", u"ARRAY:甲,乙,丙,丁"}, {u"CountIf", u"R8:2.5"}, {u"Find", u"EMPTY"}};
    Excel::_WorkbookPtr book = app->GetWorkbooks()->Open(u"C:/Ombrell.xls");
    EXPECT_EQ(book->GetName(), u"征订登记");
    EXPECT_EQ(book->GetSaved(), VARIANT_TRUE);
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 7);

    Excel::_WorksheetPtr sheet = book->GetWorksheets()->GetItem(Variant(u"征订登记"));
    ASSERT_TRUE(sheet);
    Excel::RangePtr block = sheet->GetRange(Variant(u"A1:B2"));
    // Several cells read at once give the top-left one's value, as the program reads a range.
    EXPECT_EQ(block->GetValue2(), Variant(u"甲"));
    EXPECT_EQ(app->GetWorksheetFunction()->CountIf(block, Variant(u"报纸")), 2.5);
    EXPECT_EQ(last().args, (Args{u"OBJECT", u"BSTR:报纸"}));
    EXPECT_FALSE(block->Find(Variant(u"无")));
}

TEST_F(DispatchProxyTest, AnExceptionOfTheServerIsTheAutomationErrorWithItsCodeAndDescription) {
    log->answers = {{u"Open", u"FAIL:800A03EC:无法打开 Ombrell.xls"}};
    try {
        app->GetWorkbooks()->Open(u"C:/Ombrell.xls");
        FAIL() << "the failure was not raised";
    } catch (const ComError& e) {
        EXPECT_EQ(e.error(), XL_E_METHODFAILED);
        EXPECT_EQ(e.description(), u"无法打开 Ombrell.xls");
    }
}

inline constexpr _ATL_FUNC_INFO twoObjects = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_DISPATCH}};
inline constexpr _ATL_FUNC_INFO objectAndFlag = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_BYREF | VT_BOOL}};

class Listener : public IDispEventSimpleImpl<1, Listener, &DIID_AppEvents> {
public:
    using Sink = IDispEventSimpleImpl<1, Listener, &DIID_AppEvents>;
    std::vector<std::u16string> changedSheets;
    bool cancel = false;
    bool fail = false;
    std::vector<std::u16string> reported;

    BEGIN_SINK_MAP(Listener)
    SINK_ENTRY_INFO(1, DIID_AppEvents, Excel::AppEvents::SheetChange, OnSheetChange, &twoObjects)
    SINK_ENTRY_INFO(1, DIID_AppEvents, Excel::AppEvents::WorkbookBeforeClose, OnBeforeClose, &objectAndFlag)
    END_SINK_MAP()

    void OnSheetChange(IDispatch* Sh, IDispatch* Target) {
        changedSheets.push_back(Excel::_WorksheetPtr(Sh)->GetName());
        Excel::RangePtr(Target)->GetAddress();
    }
    void OnBeforeClose(IDispatch* Wb, VARIANT_BOOL* Cancel) {
        Excel::_WorkbookPtr(Wb)->GetName();
        if (cancel)
            *Cancel = VARIANT_TRUE;
        if (fail)
            throwComError(XL_E_METHODFAILED, u"拒绝关闭");
    }
    void ReportSinkError(UINT, HRESULT, const std::u16string& description) {
        reported.push_back(description);
    }
};

const unsigned char (&idOf(const IID& iid))[16] {
    return *reinterpret_cast<const unsigned char(*)[16]>(&iid);
}

TEST_F(DispatchProxyTest, EventsArriveThroughRealConnectionPointsUntilUnadvised) {
    log->answers = {{u"Name", u"BSTR:征订登记"}, {u"Address", u"BSTR:$C$4"}};
    Listener listener;
    ASSERT_EQ(listener.DispEventAdvise(app), S_OK);
    EXPECT_EQ(recording::sinks(server), 1);

    auto fired =
        recording::fire(server, idOf(DIID_AppEvents), Excel::AppEvents::SheetChange, {u"OBJECT", u"OBJECT"});
    EXPECT_EQ(fired.results, std::vector<std::int32_t>{S_OK});
    EXPECT_EQ(listener.changedSheets, std::vector<std::u16string>{u"征订登记"});
    EXPECT_EQ(last().object, u"app.event");
    EXPECT_EQ(last().member, u"Address");

    listener.cancel = true;
    fired = recording::fire(server, idOf(DIID_AppEvents), Excel::AppEvents::WorkbookBeforeClose,
                            {u"SELF", u"FLAG"});
    EXPECT_TRUE(fired.flag);

    listener.fail = true;
    fired = recording::fire(server, idOf(DIID_AppEvents), Excel::AppEvents::WorkbookBeforeClose,
                            {u"SELF", u"FLAG"});
    EXPECT_EQ(fired.results, std::vector<std::int32_t>{DISP_E_EXCEPTION});
    EXPECT_EQ(fired.description, u"拒绝关闭");
    EXPECT_EQ(listener.reported, std::vector<std::u16string>{u"拒绝关闭"});

    EXPECT_EQ(listener.DispEventUnadvise(app), S_OK);
    EXPECT_EQ(recording::sinks(server), 0);
    fired =
        recording::fire(server, idOf(DIID_AppEvents), Excel::AppEvents::SheetChange, {u"OBJECT", u"OBJECT"});
    EXPECT_TRUE(fired.results.empty());
}

// Another implementation's server, reached as Excel is: created by its ProgID, called by name.
TEST_F(DispatchProxyTest, AServerOfTheSystemTakesAndGivesBackTexts) {
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(u"Scripting.Dictionary", &clsid), S_OK);
    ComPtr<IUnknown> dictionary;
    ASSERT_EQ(
        CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&dictionary)),
        S_OK);
    const auto* calls = dynamic_cast<const com::ProxyCore*>(dictionary.get());
    ASSERT_TRUE(calls);
    calls->call(u"Add", {Variant(u"征订资料种类"), Variant(u"报纸,杂志")});
    EXPECT_EQ(calls->get(u"Count"), Variant(1));
    EXPECT_EQ(calls->get(u"Item", {Variant(u"征订资料种类")}), Variant(u"报纸,杂志"));
    EXPECT_EQ(calls->get(u"Exists", {Variant(u"征订资料种类")}), Variant(true));
    EXPECT_THROW(calls->call(u"Add", {Variant(u"征订资料种类"), Variant(u"图书")}), ComError);
}

} // namespace
