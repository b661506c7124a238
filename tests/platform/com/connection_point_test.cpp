#include "tests/platform/com/test_objects.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr IID DIID_TestEvents = com::guidOf("{6D1C2A20-3B4E-4F51-9A62-7B8C9D0E1F21}");
constexpr DISPID dispidChanged = 7;

// An event source with one connection point.
class Source : public ComObject<IConnectionPointContainer> {
public:
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
        return findConnectionPoint({&events}, riid, ppCP);
    }
    ConnectionPoint events{*this, DIID_TestEvents};
};

// A sink that answers the event interface and records what it receives.
class Sink : public ComObject<IDispatch> {
public:
    explicit Sink(int* alive = nullptr) : alive_(alive) {
        if (alive_)
            ++*alive_;
    }
    ~Sink() override {
        if (alive_)
            --*alive_;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, Variant*,
                                     EXCEPINFO*, UINT*) override {
        EXPECT_EQ(flags, DISPATCH_METHOD);
        calls.push_back(id);
        for (UINT i = 0; i < params->cArgs; ++i)
            arguments.push_back(*dispArg(*params, i));
        if (onEvent)
            onEvent();
        return result;
    }

    std::vector<DISPID> calls;
    std::vector<Variant> arguments;
    std::function<void()> onEvent;
    HRESULT result = S_OK;

    ULONG refs() {
        AddRef();
        return Release();
    }

protected:
    void* queryOther(REFIID riid) override {
        return riid == DIID_TestEvents ? static_cast<IDispatch*>(this) : nullptr;
    }

private:
    int* alive_;
};

struct ConnectionPoints : testing::Test {
    ComPtr<Source> source = makeComObject<Source>();
    ComPtr<IConnectionPoint> point;

    void SetUp() override {
        ComPtr<IConnectionPointContainer> container = source;
        ASSERT_EQ(container->FindConnectionPoint(DIID_TestEvents, &point), S_OK);
    }

    DWORD advise(IUnknown* sink) {
        DWORD cookie = 0;
        EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
        return cookie;
    }
};

TEST_F(ConnectionPoints, FindConnectionPointKnowsOnlyItsEventInterfaces) {
    IID iid{};
    ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
    EXPECT_EQ(iid, DIID_TestEvents);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(point->GetConnectionPointContainer(&container), S_OK);
    EXPECT_EQ(ComPtr<IUnknown>(container).get(), ComPtr<IUnknown>(source).get());

    ComPtr<IConnectionPoint> other;
    EXPECT_EQ(source->FindConnectionPoint(DIID_AppEvents, &other), CONNECT_E_NOCONNECTION);
    EXPECT_FALSE(other);
}

TEST_F(ConnectionPoints, CookiesAreDistinctAndUnknownOnesAreRefused) {
    auto a = makeComObject<Sink>();
    auto b = makeComObject<Sink>();
    DWORD first = advise(a);
    DWORD second = advise(b);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);

    EXPECT_EQ(point->Unadvise(first), S_OK);
    EXPECT_EQ(point->Unadvise(first), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(second + 100), CONNECT_E_NOCONNECTION);

    // A cookie is never handed out again.
    DWORD third = advise(a);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
}

TEST_F(ConnectionPoints, SinkWithoutTheEventInterfaceCannotConnect) {
    ComPtr<Square> square = makeComObject<Square>();
    DWORD cookie = 123;
    EXPECT_EQ(point->Advise(static_cast<ISquare*>(square.get()), &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);
    EXPECT_EQ(square->refs(), 1u);
}

TEST_F(ConnectionPoints, SourceHoldsEachSinkUntilUnadvised) {
    int alive = 0;
    DWORD cookie = advise(makeComObject<Sink>(&alive));
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(alive, 0);

    advise(makeComObject<Sink>(&alive));
    point = nullptr;
    source = nullptr; // the source's end releases what is still advised
    EXPECT_EQ(alive, 0);
}

TEST_F(ConnectionPoints, FireDeliversArgumentsInOrderToEverySink) {
    auto a = makeComObject<Sink>();
    auto b = makeComObject<Sink>();
    advise(a);
    advise(b);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(source->events.fire(dispidChanged, {Variant(u"sheet"), Variant(&cancel)}), S_OK);
    for (Sink* sink : {a.get(), b.get()}) {
        ASSERT_EQ(sink->calls, std::vector<DISPID>{dispidChanged});
        ASSERT_EQ(sink->arguments.size(), 2u);
        EXPECT_EQ(sink->arguments[0], Variant(u"sheet"));
        EXPECT_EQ(sink->arguments[1].pboolVal(), &cancel);
    }
}

TEST_F(ConnectionPoints, SinkMayUnadviseItselfWhileCalled) {
    int alive = 0;
    DWORD cookie = 0;
    {
        auto sink = makeComObject<Sink>(&alive);
        cookie = advise(sink);
        sink->onEvent = [&] {
            EXPECT_EQ(point->Unadvise(cookie), S_OK);
            EXPECT_EQ(alive, 1); // still alive while its Invoke runs
        };
    }
    EXPECT_EQ(source->events.fire(dispidChanged), S_OK);
    EXPECT_EQ(alive, 0);
    EXPECT_FALSE(source->events.hasSinks());
}

TEST_F(ConnectionPoints, SinkUnadvisedByAnotherDuringFireIsSkipped) {
    auto first = makeComObject<Sink>();
    auto second = makeComObject<Sink>();
    auto late = makeComObject<Sink>();
    advise(first);
    DWORD secondCookie = advise(second);
    first->onEvent = [&] {
        EXPECT_EQ(point->Unadvise(secondCookie), S_OK);
        advise(late); // joins for the next event only
    };
    source->events.fire(dispidChanged);
    EXPECT_EQ(first->calls.size(), 1u);
    EXPECT_TRUE(second->calls.empty());
    EXPECT_TRUE(late->calls.empty());

    first->onEvent = nullptr;
    source->events.fire(dispidChanged);
    EXPECT_EQ(late->calls.size(), 1u);
}

TEST_F(ConnectionPoints, SinkMayReleaseTheLastReferenceToTheSourceWhileCalled) {
    int alive = 0;
    Source* raw = source.get();
    {
        auto sink = makeComObject<Sink>(&alive);
        advise(sink);
        sink->onEvent = [&] {
            point = nullptr;
            source = nullptr;
        };
    }
    auto other = makeComObject<Sink>();
    advise(other);
    EXPECT_EQ(raw->events.fire(dispidChanged), S_OK);
    EXPECT_EQ(other->calls.size(), 1u); // the remaining sinks still had the event
    EXPECT_EQ(alive, 0);                // and the source ended after the fire, releasing its sinks
    EXPECT_EQ(other->refs(), 1u);
}

TEST_F(ConnectionPoints, FailingSinkDoesNotKeepTheEventFromOthers) {
    auto throwing = makeComObject<Sink>();
    auto failing = makeComObject<Sink>();
    auto fine = makeComObject<Sink>();
    advise(throwing);
    advise(failing);
    advise(fine);
    throwing->onEvent = [] {
        throwComError(XL_E_METHODFAILED);
    };
    failing->result = E_FAIL;

    try {
        source->events.fire(dispidChanged);
        FAIL() << "the sink's error was lost";
    } catch (const ComError& e) {
        EXPECT_EQ(e.error(), XL_E_METHODFAILED);
    }
    EXPECT_EQ(failing->calls.size(), 1u);
    EXPECT_EQ(fine->calls.size(), 1u);

    throwing->onEvent = nullptr;
    EXPECT_EQ(source->events.fire(dispidChanged), E_FAIL);
}

} // namespace
