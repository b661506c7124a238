#include "platform/com/disp_event.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// An event source with one connection point.
template <const IID* events> class Source : public ComObject<IConnectionPointContainer> {
public:
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
        return findConnectionPoint({&point}, riid, ppCP);
    }
    ConnectionPoint point{*this, *events};
};

const _ATL_FUNC_INFO FlagInfo = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_BYREF | VT_BOOL}};
const _ATL_FUNC_INFO TwoObjectsInfo = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_DISPATCH}};

// Two sinks on the same interface; sink 1 has two rows for dispatch id 7, of which only the first
// may be used.
class Owner : public IDispEventSimpleImpl<1, Owner, &DIID_AppEvents>,
              public IDispEventSimpleImpl<2, Owner, &DIID_AppEvents> {
public:
    using Sink1 = IDispEventSimpleImpl<1, Owner, &DIID_AppEvents>;
    using Sink2 = IDispEventSimpleImpl<2, Owner, &DIID_AppEvents>;

    BEGIN_SINK_MAP(Owner)
    SINK_ENTRY_INFO(1, DIID_AppEvents, 7, OnFirst, &FlagInfo)
    SINK_ENTRY_INFO(1, DIID_AppEvents, 7, OnSecond, &FlagInfo)
    SINK_ENTRY_INFO(2, DIID_AppEvents, 7, OnSecond, &FlagInfo)
    SINK_ENTRY_INFO(2, DIID_AppEvents, 8, OnObjects, &TwoObjectsInfo)
    END_SINK_MAP()

    void OnFirst(IDispatch* object, VARIANT_BOOL* flag) { calls.push_back({"first", object, flag}); }
    void OnSecond(IDispatch* object, VARIANT_BOOL* flag) { calls.push_back({"second", object, flag}); }
    void OnObjects(IDispatch* a, IDispatch* b) {
        calls.push_back({"objects", a, nullptr, b});
        if (failWith)
            throwComError(failWith, u"the sheet is protected");
        if (nested) {
            EXPECT_EQ(nested->Invoke(8, IID_NULL, 0, DISPATCH_METHOD, nestedArgs, nullptr, nullptr, nullptr),
                      DISP_E_EXCEPTION);
        }
        if (rethrow)
            throwComError(DISP_E_EXCEPTION);
    }
    void ReportSinkError(UINT sinkId, HRESULT hr, const std::u16string& description) {
        reports.push_back({sinkId, hr, description});
    }

    struct Call {
        std::string handler;
        IDispatch* first;
        VARIANT_BOOL* flag;
        IDispatch* second = nullptr;
    };
    struct Report {
        UINT sinkId;
        HRESULT hr;
        std::u16string description;
    };
    std::vector<Call> calls;
    std::vector<Report> reports;
    HRESULT failWith = S_OK;
    IDispatch* nested = nullptr;
    DISPPARAMS* nestedArgs = nullptr;
    bool rethrow = false;
};

HRESULT invoke(IDispatch* sink, DISPID id, DISPPARAMS* params, EXCEPINFO* info = nullptr) {
    return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, params, nullptr, info, nullptr);
}

TEST(EventSink, AnswersOnlyItsOwnInterfacesAndCountsNothing) {
    Owner owner;
    IDispatch* sink = static_cast<Owner::Sink1*>(&owner);
    for (const IID& iid : {IID_IUnknown, IID_IDispatch, DIID_AppEvents}) {
        void* out = nullptr;
        EXPECT_EQ(sink->QueryInterface(iid, &out), S_OK);
        EXPECT_EQ(out, sink);
    }
    void* out = &owner;
    EXPECT_EQ(sink->QueryInterface(DIID__CommandBarButtonEvents, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(sink->QueryInterface(IID_IConnectionPoint, &out), E_NOINTERFACE);
    EXPECT_EQ(sink->QueryInterface(IID_IDispatch, nullptr), E_POINTER);

    EXPECT_EQ(sink->AddRef(), 1u);
    EXPECT_EQ(sink->Release(), 1u);
    EXPECT_EQ(sink->Release(), 1u);
    UINT count = 5;
    EXPECT_EQ(sink->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(sink->GetTypeInfo(0, 0, nullptr), E_NOTIMPL);
    DISPID id = 0;
    EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, nullptr, 0, 0, &id), E_NOTIMPL);
}

TEST(EventSink, RoutesByFirstMatchingRowAndSinkId) {
    Owner owner;
    Owner other;
    IDispatch* object = static_cast<Owner::Sink1*>(&other);
    VARIANT_BOOL flag = VARIANT_FALSE;

    // Arguments travel last-first: the handler still gets the object first and the flag second.
    DispArgs args{Variant(object), Variant(&flag)};
    EXPECT_EQ(invoke(static_cast<Owner::Sink1*>(&owner), 7, args.params()), S_OK);
    EXPECT_EQ(invoke(static_cast<Owner::Sink2*>(&owner), 7, args.params()), S_OK);
    ASSERT_EQ(owner.calls.size(), 2u);
    EXPECT_EQ(owner.calls[0].handler, "first");
    EXPECT_EQ(owner.calls[0].first, object);
    EXPECT_EQ(owner.calls[0].flag, &flag);
    EXPECT_EQ(owner.calls[1].handler, "second");

    // Events without a row are accepted and do nothing.
    owner.calls.clear();
    EXPECT_EQ(invoke(static_cast<Owner::Sink1*>(&owner), 8, args.params()), S_OK);
    EXPECT_EQ(invoke(static_cast<Owner::Sink1*>(&owner), 0x616, args.params()), S_OK);
    EXPECT_TRUE(owner.calls.empty());
}

TEST(EventSink, PlacesNamedArgumentsAndRefusesMisfits) {
    Owner owner;
    IDispatch* sink = static_cast<Owner::Sink2*>(&owner);
    Owner other; // any two distinct objects will do as the event's objects
    IDispatch* a = static_cast<Owner::Sink1*>(&other);
    IDispatch* b = static_cast<Owner::Sink2*>(&other);

    // Both arguments named, given in the opposite order of the parameters.
    Variant named[2] = {Variant(a), Variant(b)};
    DISPID names[2] = {0, 1};
    DISPPARAMS params{named, names, 2, 2};
    EXPECT_EQ(invoke(sink, 8, &params), S_OK);
    ASSERT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(owner.calls[0].first, a);
    EXPECT_EQ(owner.calls[0].second, b);

    DispArgs positional{Variant(a), Variant(b)};
    EXPECT_EQ(invoke(sink, 8, positional.params()), S_OK);
    EXPECT_EQ(owner.calls[1].first, a);
    EXPECT_EQ(owner.calls[1].second, b);

    // One argument short, or a flag where an object belongs: the handler is not called.
    DispArgs shortArgs{Variant(a)};
    EXPECT_EQ(invoke(sink, 8, shortArgs.params()), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(invoke(sink, 8, nullptr), DISP_E_BADPARAMCOUNT);
    VARIANT_BOOL flag = 0;
    DispArgs wrongType{Variant(a), Variant(&flag)};
    EXPECT_EQ(invoke(sink, 8, wrongType.params()), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(owner.calls.size(), 2u);
}

TEST(EventSink, ReportsAHandlersErrorOnceAndAnswersDispException) {
    Owner owner;
    IDispatch* sink = static_cast<Owner::Sink2*>(&owner);
    DispArgs args{Variant(static_cast<IDispatch*>(nullptr)), Variant(static_cast<IDispatch*>(nullptr))};

    owner.failWith = XL_E_METHODFAILED;
    EXCEPINFO info;
    EXPECT_EQ(invoke(sink, 8, args.params(), &info), DISP_E_EXCEPTION);
    ASSERT_EQ(owner.reports.size(), 1u);
    EXPECT_EQ(owner.reports[0].sinkId, 2u);
    EXPECT_EQ(owner.reports[0].hr, XL_E_METHODFAILED);
    EXPECT_EQ(owner.reports[0].description, u"the sheet is protected");
    EXPECT_EQ(info.scode, XL_E_METHODFAILED);
    EXPECT_EQ(info.bstrDescription, u"the sheet is protected");

    // An inner event fails and is reported; the outer handler then fails with what the inner call
    // answered: the user hears of it once.
    Owner inner;
    inner.failWith = E_FAIL;
    Owner outer;
    outer.nested = static_cast<Owner::Sink2*>(&inner);
    outer.nestedArgs = args.params();
    outer.rethrow = true;
    EXPECT_EQ(invoke(static_cast<Owner::Sink2*>(&outer), 8, args.params()), DISP_E_EXCEPTION);
    EXPECT_EQ(inner.reports.size(), 1u);
    EXPECT_TRUE(outer.reports.empty());

    // An outer handler that fails by itself is reported as usual.
    outer.nested = nullptr;
    EXPECT_EQ(invoke(static_cast<Owner::Sink2*>(&outer), 8, args.params()), DISP_E_EXCEPTION);
    EXPECT_EQ(outer.reports.size(), 1u);
}

TEST(EventSink, ConnectsOnceAndHearsNothingAfterDisconnecting) {
    Owner owner;
    auto source = makeComObject<Source<&DIID_AppEvents>>();
    Owner::Sink1& sink = owner;
    EXPECT_FALSE(sink.isConnected());
    EXPECT_EQ(sink.m_dwEventCookie, kSinkNotConnected);

    ASSERT_EQ(sink.DispEventAdvise(source.get()), S_OK);
    EXPECT_TRUE(sink.isConnected());
    EXPECT_EQ(sink.DispEventAdvise(source.get()), CONNECT_E_ADVISELIMIT);

    VARIANT_BOOL flag = 0;
    EXPECT_EQ(source->point.fire(7, {Variant(static_cast<IDispatch*>(nullptr)), Variant(&flag)}), S_OK);
    EXPECT_EQ(owner.calls.size(), 1u);

    EXPECT_EQ(sink.DispEventUnadvise(source.get()), S_OK);
    EXPECT_EQ(sink.m_dwEventCookie, kSinkNotConnected);
    EXPECT_FALSE(source->point.hasSinks());
    source->point.fire(7, {Variant(static_cast<IDispatch*>(nullptr)), Variant(&flag)});
    EXPECT_EQ(owner.calls.size(), 1u);
    EXPECT_EQ(sink.DispEventUnadvise(source.get()), CONNECT_E_NOCONNECTION);

    // A source without the sink's interface cannot take it, and the sink stays unconnected.
    auto buttons = makeComObject<Source<&DIID__CommandBarButtonEvents>>();
    Owner::Sink2& other = owner;
    EXPECT_EQ(other.DispEventAdvise(buttons.get()), CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(other.isConnected());
    EXPECT_EQ(other.DispEventAdvise(nullptr), E_POINTER);
}

} // namespace
