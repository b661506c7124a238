#pragma once

#include "platform/com/com.h"

#include <cassert>
#include <cstddef>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>

// Event sinks in the manner of ATL's IDispEventSimpleImpl: a dispatch-only object embedded in its owner
// class T, one per sink id. T declares one sink map (BEGIN_SINK_MAP … END_SINK_MAP) whose rows route an
// event, by sink id, event interface and dispatch id, to a member handler of T. The sink does no
// reference counting: it lives and dies with its owner. T answers `ReportSinkError(sinkId, hr,
// description)`, which hears of every handler that failed.

// How a handler takes its parameters: their variant types in order, as the event passes them.
struct _ATL_FUNC_INFO {
    int cc;
    VARTYPE vtReturn;
    int nParams;
    VARTYPE pVarTypes[8];
};

template <class T> struct _ATL_EVENT_ENTRY {
    UINT nControlID;              // the sink id; 0 in the end row
    const IID* piid;              // the event interface; null in the end row
    IDispatch* (*sink)(T& owner); // the sink base within T
    DISPID dispid;
    // Calls the member handler with the event's arguments, already converted to the parameter types.
    void (*pfn)(T& owner, Variant* args);
    const _ATL_FUNC_INFO* pInfo;
};

namespace sink_detail {

template <typename P> P parameter(Variant& arg) {
    if constexpr (std::is_same_v<P, IDispatch*>)
        return arg.vt() == VT_DISPATCH ? arg.pdispVal() : nullptr;
    else if constexpr (std::is_same_v<P, VARIANT_BOOL*>)
        return arg.pboolVal();
    else
        static_assert(sizeof(P) == 0, "a handler parameter of a type the sinks cannot pass");
}

template <auto Handler> struct Call;
template <class T, typename A, typename B, void (T::*Handler)(A, B)> struct Call<Handler> {
    static void call(T& owner, Variant* args) {
        (owner.*Handler)(parameter<A>(args[0]), parameter<B>(args[1]));
    }
};

// How many times an error has been reported at a sink boundary. An inner event that failed and was
// reported may make the outer handler fail too, with DISP_E_EXCEPTION: that is the same failure, and
// the user has seen it already.
inline unsigned reportedErrors = 0;

} // namespace sink_detail

// Value of a cookie while the sink is not connected.
inline constexpr DWORD kSinkNotConnected = 0xFEFEFEFE;

template <UINT nID, class T, const IID* piid> class IDispEventSimpleImpl : public IDispatch {
public:
    DWORD m_dwEventCookie = kSinkNotConnected;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        if (!ppvObject)
            return E_POINTER;
        *ppvObject = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == *piid) {
            *ppvObject = static_cast<IDispatch*>(this);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }

    // Routes the event to the first matching row of T's sink map. An event without a row is accepted
    // and ignored. Nothing thrown by a handler leaves here: the owner reports it (T::ReportSinkError)
    // and the event source gets DISP_E_EXCEPTION.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams,
                                     Variant*, EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
        const _ATL_EVENT_ENTRY<T>* found = nullptr;
        for (const _ATL_EVENT_ENTRY<T>* row = T::_GetSinkMap(); row->piid; ++row) {
            if (row->nControlID == nID && row->dispid == dispIdMember && *row->piid == *piid) {
                found = row;
                break;
            }
        }
        if (!found)
            return S_OK;
        T& owner = static_cast<T&>(*this);
        assert(found->sink(owner) == this && "a sink map row names another sink base than its id");

        const _ATL_FUNC_INFO& info = *found->pInfo;
        if (!pDispParams || pDispParams->cArgs != static_cast<UINT>(info.nParams))
            return DISP_E_BADPARAMCOUNT;
        Variant args[8];
        for (int i = 0; i < info.nParams; ++i) {
            HRESULT hr =
                DispGetParam(pDispParams, static_cast<UINT>(i), info.pVarTypes[i], &args[i], puArgErr);
            if (FAILED(hr))
                return hr;
        }

        unsigned reportedBefore = sink_detail::reportedErrors;
        HRESULT hr = S_OK;
        std::u16string description;
        try {
            found->pfn(owner, args);
            return S_OK;
        } catch (const ComError& e) {
            hr = e.error();
            description = e.description();
        } catch (const std::exception& e) {
            hr = E_UNEXPECTED;
            description = errorMessage(hr);
        } catch (...) {
            hr = E_UNEXPECTED;
            description = errorMessage(hr);
        }
        if (!(hr == DISP_E_EXCEPTION && sink_detail::reportedErrors != reportedBefore)) {
            ++sink_detail::reportedErrors;
            owner.ReportSinkError(nID, hr, description);
        }
        if (pExcepInfo) {
            pExcepInfo->scode = hr;
            pExcepInfo->bstrDescription = description;
        }
        return DISP_E_EXCEPTION;
    }

    // Advises this sink at the source's connection point for the event interface and keeps the
    // cookie. Refused when the sink is connected already.
    HRESULT DispEventAdvise(IUnknown* source) {
        if (m_dwEventCookie != kSinkNotConnected)
            return CONNECT_E_ADVISELIMIT;
        ComPtr<IConnectionPoint> point;
        HRESULT hr = findPoint(source, point);
        if (FAILED(hr))
            return hr;
        DWORD cookie = 0;
        hr = point->Advise(static_cast<IDispatch*>(this), &cookie);
        if (SUCCEEDED(hr))
            m_dwEventCookie = cookie;
        return hr;
    }

    // Unadvises the kept cookie; the sink is not connected afterwards whatever the source answers.
    HRESULT DispEventUnadvise(IUnknown* source) {
        if (m_dwEventCookie == kSinkNotConnected)
            return CONNECT_E_NOCONNECTION;
        DWORD cookie = std::exchange(m_dwEventCookie, kSinkNotConnected);
        ComPtr<IConnectionPoint> point;
        HRESULT hr = findPoint(source, point);
        if (FAILED(hr))
            return hr;
        return point->Unadvise(cookie);
    }

    bool isConnected() const { return m_dwEventCookie != kSinkNotConnected; }

private:
    static HRESULT findPoint(IUnknown* source, ComPtr<IConnectionPoint>& point) {
        if (!source)
            return E_POINTER;
        ComPtr<IConnectionPointContainer> container(source);
        if (!container)
            return E_NOINTERFACE;
        return container->FindConnectionPoint(*piid, &point);
    }
};

// One row of a sink map, for classes that build their map from tables of their own rather than with
// the macros below: the event of interface `iid` with dispatch id `dispid` on sink `id` goes to
// `handler`, a member of T.
template <class T, UINT id, const IID* iid, DISPID dispid, auto handler>
constexpr _ATL_EVENT_ENTRY<T> sinkEntry(const _ATL_FUNC_INFO* info) {
    return {id,
            iid,
            [](T& owner) -> IDispatch* { return static_cast<IDispEventSimpleImpl<id, T, iid>*>(&owner); },
            dispid,
            &sink_detail::Call<handler>::call,
            info};
}

// Several sinks of T on one event interface, one base each, that T connects by id at run time (for
// example one per entry of a table of commands). T's sink map routes their events as for any sink.
template <class T, const IID* piid, UINT... ids>
class DispEventSinks : public IDispEventSimpleImpl<ids, T, piid>... {
public:
    static constexpr UINT sinkIds[] = {ids...};

    // IDispEventSimpleImpl's DispEventAdvise and DispEventUnadvise on sink `id`; E_INVALIDARG for an
    // id that is none of these sinks.
    HRESULT advise(UINT id, IUnknown* source) {
        HRESULT hr = E_INVALIDARG;
        ((id == ids && (hr = IDispEventSimpleImpl<ids, T, piid>::DispEventAdvise(source), true)) || ...);
        return hr;
    }
    HRESULT unadvise(UINT id, IUnknown* source) {
        HRESULT hr = E_INVALIDARG;
        ((id == ids && (hr = IDispEventSimpleImpl<ids, T, piid>::DispEventUnadvise(source), true)) || ...);
        return hr;
    }
};

// The sink map: one static table for the class, built on first use, ended by an all-zero row.
#define BEGIN_SINK_MAP(theClass)                                                                             \
    static const _ATL_EVENT_ENTRY<theClass>* _GetSinkMap() {                                                 \
        using _atl_event_classtype = theClass;                                                               \
        static const _ATL_EVENT_ENTRY<theClass> map[] = {

#define SINK_ENTRY_INFO(id, iid, dispid, fn, info)                                                           \
    sinkEntry<_atl_event_classtype, id, &iid, dispid, &_atl_event_classtype::fn>(info),

#define END_SINK_MAP()                                                                                       \
    { 0, nullptr, nullptr, 0, nullptr, nullptr }                                                             \
    }                                                                                                        \
    ;                                                                                                        \
    return map;                                                                                              \
    }
