#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/connection_point.h"
#include "platform/com/dispparams.h"

#include <initializer_list>
#include <utility>
#include <vector>

// The connection point of one event interface, for an event source to embed as a member. It lives and
// counts with its source (AddRef and Release go to the source), holds each advised sink's reference
// until Unadvise or its own end, and fires events by calling Invoke on the advised sinks.
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& source, const IID& eventInterface);
    ~ConnectionPoint() override;

    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return source_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return source_.Release(); }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override;

    const IID& eventInterface() const { return iid_; }
    bool hasSinks() const { return !sinks_.empty(); }

    // Calls Invoke(dispid, DISPATCH_METHOD) on every sink advised when the call begins, in the order
    // they advised, with the arguments given first-to-last (they reach the sinks last-first, as
    // DISPPARAMS has them). A sink unadvised meanwhile (by itself or another sink) is skipped; one
    // advised meanwhile waits for the next event. A sink that fails or throws does not keep the event
    // from the others: once all have had it, the first exception thrown is raised again, else the
    // first failed result is returned, else S_OK. The source is kept alive until the call returns, so a
    // sink may release its last reference to it meanwhile; not to be called from the source's destructor.
    HRESULT fire(DISPID dispid, std::initializer_list<Variant> args = {});
    HRESULT fire(DISPID dispid, std::vector<Variant> args);

private:
    struct Connection {
        DWORD cookie;
        ComPtr<IDispatch> sink;
    };

    IDispatch* sinkOf(DWORD cookie) const;

    IConnectionPointContainer& source_;
    IID iid_;
    std::vector<Connection> sinks_;
    DWORD nextCookie_ = 1;
};

// FindConnectionPoint for a source with the given connection points.
HRESULT findConnectionPoint(std::initializer_list<ConnectionPoint*> points, REFIID riid,
                            IConnectionPoint** ppCP);
