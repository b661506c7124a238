#include "platform/com/dispatch_proxy.h"
#include "platform/com/registry.h"
#include "platform/com/system.h"

#include <cstring>

// The class registry of the Windows build is the system's: ProgIDs and servers are those registered on
// the machine, and objects are created and run by COM.

HRESULT CoInitialize(void*) {
    return com::system::initialize();
}

HRESULT CoInitializeEx(void*, DWORD) {
    return com::system::initialize();
}

void CoUninitialize() {
    com::system::uninitialize();
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (!progId || !clsid)
        return E_INVALIDARG;
    unsigned char bytes[16];
    const HRESULT hr = com::system::classFromProgId(progId, bytes);
    std::memcpy(clsid, bytes, sizeof bytes);
    return hr;
}

// The server's object is reached by name through its IDispatch: the program gets its proxy.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    unsigned char bytes[16];
    std::memcpy(bytes, &rclsid, sizeof bytes);
    void* dispatch = nullptr;
    const HRESULT hr = com::system::createRunning(bytes, &dispatch);
    if (FAILED(hr))
        return hr;
    return com::proxyFor(dispatch)->QueryInterface(riid, ppv);
}

HRESULT OleRun(IUnknown* pUnknown) {
    return pUnknown ? S_OK : E_INVALIDARG;
}
