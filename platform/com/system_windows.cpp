#include "platform/com/system.h"

#include <cstring>
#include <objbase.h>
#include <ole2.h>

namespace com::system {

std::int32_t initialize() {
    return CoInitialize(nullptr);
}

void uninitialize() {
    CoUninitialize();
}

std::int32_t classFromProgId(const char16_t* progId, unsigned char (&clsid)[16]) {
    CLSID id{};
    const HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId), &id);
    std::memcpy(clsid, &id, sizeof clsid);
    return hr;
}

std::int32_t createRunning(const unsigned char (&clsid)[16], void** dispatch) {
    *dispatch = nullptr;
    CLSID id;
    std::memcpy(&id, clsid, sizeof id);
    IDispatch* object = nullptr;
    HRESULT hr = CoCreateInstance(id, nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(&object));
    if (FAILED(hr))
        return hr;
    hr = OleRun(object);
    if (FAILED(hr)) {
        object->Release();
        return hr;
    }
    *dispatch = object;
    return S_OK;
}

void release(void* object) {
    static_cast<IUnknown*>(object)->Release();
}

} // namespace com::system
