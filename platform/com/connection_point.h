#pragma once

#include "platform/com/unknown.h"

struct IConnectionPoint;

// An event source: hands out its connection point for an event interface.
struct IConnectionPointContainer : IUnknown {
    static constexpr IID iid = IID_IConnectionPointContainer;
    using base_interface = IUnknown;

    // CONNECT_E_NOCONNECTION when the source has no such event interface.
    virtual HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) = 0;
};

// One event interface of a source: sinks advise to receive its events, each connection named by a
// cookie (never 0).
struct IConnectionPoint : IUnknown {
    static constexpr IID iid = IID_IConnectionPoint;
    using base_interface = IUnknown;

    virtual HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** ppCPC) = 0;
    // The sink must answer QueryInterface for the event interface (CONNECT_E_CANNOTCONNECT otherwise).
    virtual HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
    // CONNECT_E_NOCONNECTION for a cookie that names no current connection.
    virtual HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) = 0;
};
