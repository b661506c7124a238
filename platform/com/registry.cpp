#include "platform/com/registry.h"

#include "platform/com/com_error.h"

#include <new>
#include <utility>
#include <vector>

namespace {

struct ProgIdEntry {
    std::u16string progId;
    CLSID clsid;
};

struct ClassEntry {
    CLSID clsid;
    ClassFactory factory;
};

std::vector<ProgIdEntry>& progIds() {
    static std::vector<ProgIdEntry> entries;
    return entries;
}

std::vector<ClassEntry>& classes() {
    static std::vector<ClassEntry> entries;
    return entries;
}

thread_local unsigned initialisations = 0;

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool sameProgId(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

ClassEntry* findClass(const CLSID& clsid) {
    for (ClassEntry& entry : classes())
        if (entry.clsid == clsid)
            return &entry;
    return nullptr;
}

} // namespace

void registerClass(std::u16string progId, const CLSID& clsid, ClassFactory factory) {
    bool known = false;
    for (ProgIdEntry& entry : progIds()) {
        if (sameProgId(entry.progId, progId)) {
            entry.clsid = clsid;
            known = true;
        }
    }
    if (!known)
        progIds().push_back({std::move(progId), clsid});
    if (ClassEntry* entry = findClass(clsid))
        entry->factory = std::move(factory);
    else
        classes().push_back({clsid, std::move(factory)});
}

void revokeClass(const CLSID& clsid) {
    std::erase_if(classes(), [&](const ClassEntry& entry) { return entry.clsid == clsid; });
}

HRESULT CoInitialize(void* reserved) {
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void*, DWORD) {
    return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (initialisations > 0)
        --initialisations;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (!progId || !clsid)
        return E_INVALIDARG;
    for (const ProgIdEntry& entry : progIds()) {
        if (sameProgId(entry.progId, progId)) {
            *clsid = entry.clsid;
            return S_OK;
        }
    }
    *clsid = CLSID{};
    return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (initialisations == 0)
        return CO_E_NOTINITIALIZED;
    if (pUnkOuter)
        return CLASS_E_NOAGGREGATION;
    ClassEntry* entry = findClass(rclsid);
    if (!entry || !entry->factory)
        return REGDB_E_CLASSNOTREG;
    // A copy: the factory may register or revoke classes while it runs.
    ClassFactory factory = entry->factory;
    ComPtr<IUnknown> object;
    try {
        object = factory();
    } catch (const ComError& e) {
        return e.error();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!object)
        return E_FAIL;
    return object->QueryInterface(riid, ppv);
}

HRESULT OleRun(IUnknown* pUnknown) {
    return pUnknown ? S_OK : E_INVALIDARG;
}
