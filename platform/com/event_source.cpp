#include "platform/com/event_source.h"

#include <exception>
#include <utility>

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& source, const IID& eventInterface)
    : source_(source), iid_(eventInterface) {}

ConnectionPoint::~ConnectionPoint() {
    // Sinks may call back while they are released; let them find the list already empty.
    std::vector<Connection> connections = std::move(sinks_);
    sinks_.clear();
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* pIID) {
    if (!pIID)
        return E_POINTER;
    *pIID = iid_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
    if (!ppCPC)
        return E_POINTER;
    *ppCPC = &source_;
    source_.AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
    if (!pdwCookie)
        return E_POINTER;
    *pdwCookie = 0;
    if (!pUnkSink)
        return E_POINTER;
    void* sink = nullptr;
    if (FAILED(pUnkSink->QueryInterface(iid_, &sink)) || !sink)
        return CONNECT_E_CANNOTCONNECT;
    // The event interface is a dispatch interface: what the sink hands out for it is its IDispatch.
    ComPtr<IDispatch> dispatch(static_cast<IDispatch*>(sink), false);
    if (nextCookie_ == 0)
        return CONNECT_E_ADVISELIMIT;
    DWORD cookie = nextCookie_++;
    sinks_.push_back({cookie, std::move(dispatch)});
    *pdwCookie = cookie;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD dwCookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->cookie == dwCookie) {
            // Released only after it has left the list: its Release may call back into this point.
            ComPtr<IDispatch> sink = std::move(it->sink);
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

IDispatch* ConnectionPoint::sinkOf(DWORD cookie) const {
    for (const Connection& connection : sinks_)
        if (connection.cookie == cookie)
            return connection.sink.get();
    return nullptr;
}

HRESULT ConnectionPoint::fire(DISPID dispid, std::initializer_list<Variant> args) {
    return fire(dispid, std::vector<Variant>(args));
}

HRESULT ConnectionPoint::fire(DISPID dispid, std::vector<Variant> args) {
    // A sink may let go of the last reference to the source while it handles the event.
    source_.AddRef();
    struct Keep {
        IConnectionPointContainer& source;
        ~Keep() { source.Release(); }
    } keep{source_};

    std::vector<DWORD> cookies;
    cookies.reserve(sinks_.size());
    for (const Connection& connection : sinks_)
        cookies.push_back(connection.cookie);

    DispArgs dispArgs(std::move(args));
    HRESULT firstFailure = S_OK;
    std::exception_ptr firstException;
    for (DWORD cookie : cookies) {
        // Held for the call, so a sink that unadvises itself meanwhile stays alive until it returns.
        ComPtr<IDispatch> sink = sinkOf(cookie);
        if (!sink)
            continue;
        try {
            Variant result;
            EXCEPINFO info;
            UINT argErr = 0;
            HRESULT hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                      dispArgs.params(), &result, &info, &argErr);
            if (FAILED(hr) && SUCCEEDED(firstFailure))
                firstFailure = hr;
        } catch (...) {
            if (!firstException)
                firstException = std::current_exception();
        }
    }
    if (firstException)
        std::rethrow_exception(firstException);
    return firstFailure;
}

HRESULT findConnectionPoint(std::initializer_list<ConnectionPoint*> points, REFIID riid,
                            IConnectionPoint** ppCP) {
    if (!ppCP)
        return E_POINTER;
    *ppCP = nullptr;
    for (ConnectionPoint* point : points) {
        if (point && point->eventInterface() == riid) {
            *ppCP = point;
            point->AddRef();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}
