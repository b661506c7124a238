#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

#include <string>

class Variant;

// The root interface: identity and lifetime. An object lives while its count is above zero; Release
// of the last reference destroys it. The destructor is not public: objects end only through Release.
struct IUnknown {
    static constexpr IID iid = IID_IUnknown;

    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// The type information of a dispatch interface. Nothing here provides it; the type exists so that
// IDispatch keeps its signatures.
struct ITypeInfo;

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

// Arguments of a dispatch call. As on Windows, rgvarg holds them last-first: the first positional
// argument is rgvarg[cArgs - 1]. The first cNamedArgs entries of rgvarg are the named ones, and
// rgdispidNamedArgs[i] names the parameter of rgvarg[i] (for events, its zero-based position).
struct DISPPARAMS {
    Variant* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    UINT cArgs = 0;
    UINT cNamedArgs = 0;
};

// What a dispatch call reports when it answers DISP_E_EXCEPTION.
struct EXCEPINFO {
    WORD wCode = 0;
    WORD wReserved = 0;
    std::u16string bstrSource;
    std::u16string bstrDescription;
    std::u16string bstrHelpFile;
    DWORD dwHelpContext = 0;
    SCODE scode = 0;
};

// Late-bound calls by dispatch id. Event sinks receive their events through Invoke.
struct IDispatch : IUnknown {
    static constexpr IID iid = IID_IDispatch;
    using base_interface = IUnknown;

    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                                    DISPID* rgDispId) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                             DISPPARAMS* pDispParams, Variant* pVarResult,
                                             EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
};
