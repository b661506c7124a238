#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/guid.h"
#include "platform/com/unknown.h"

#include <functional>
#include <string>

// The class registry: clients create objects by ProgID or class id without knowing the server that
// makes them; servers register their classes at start. Single-threaded, as the program is.

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_SERVER | CLSCTX_INPROC_HANDLER;

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Makes one new object of a class; empty (or a throw of the automation error) when it cannot.
using ClassFactory = std::function<ComPtr<IUnknown>()>;

// Server side: registers a class under its ProgID (matched without regard to ASCII case, as the
// registry does) and class id. Registering a class id again replaces its factory.
void registerClass(std::u16string progId, const CLSID& clsid, ClassFactory factory);
// Withdraws a class's factory. Its ProgID stays known, so creating it answers REGDB_E_CLASSNOTREG,
// as with a server that was removed but left its registration behind.
void revokeClass(const CLSID& clsid);

// Counted per thread: the first call on a thread answers S_OK, every further one S_FALSE; each needs
// its CoUninitialize. Creating objects needs the thread initialised (CO_E_NOTINITIALIZED otherwise).
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();

// CO_E_CLASSSTRING for an unknown ProgID.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);

// A new instance of the class on every call, queried for riid. Any class context is accepted;
// aggregation is not (CLASS_E_NOAGGREGATION). REGDB_E_CLASSNOTREG for a class without a factory.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);

// Puts an object into its running state. Objects made here run from their creation, so this only
// checks the pointer.
HRESULT OleRun(IUnknown* pUnknown);

// The way a client starts a server object, as _com_ptr_t::CreateInstance: look up the ProgID, create
// the object for IUnknown, run it, query it for T. On failure target stays empty and the result says
// why (E_NOINTERFACE when the object lacks T).
template <typename T>
HRESULT createInstance(ComPtr<T>& target, LPCOLESTR progId, IUnknown* outer = nullptr,
                       DWORD context = CLSCTX_ALL) {
    target = nullptr;
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr))
        return hr;
    ComPtr<IUnknown> unknown;
    hr = CoCreateInstance(clsid, outer, context, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr))
        return hr;
    hr = OleRun(unknown.get());
    if (FAILED(hr))
        return hr;
    target = unknown;
    return target ? S_OK : E_NOINTERFACE;
}
