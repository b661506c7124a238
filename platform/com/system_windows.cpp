#include "platform/com/system.h"

#include <cstring>
#include <objbase.h>
#include <ocidl.h>
#include <ole2.h>
#include <oleauto.h>
#include <utility>

namespace com::system {
namespace {

GUID guidOf(const Id& id) {
    GUID g;
    std::memcpy(&g, id, sizeof g);
    return g;
}

IDispatch* dispatchOf(void* object) {
    return static_cast<IDispatch*>(object);
}

void toVariant(const Value& value, VARIANT& v) {
    VariantInit(&v);
    switch (value.type) {
    case VT_I2:
        v.vt = VT_I2;
        v.iVal = SHORT(value.integer);
        break;
    case VT_I4:
        v.vt = VT_I4;
        v.lVal = value.integer;
        break;
    case VT_ERROR:
        v.vt = VT_ERROR;
        v.scode = value.integer;
        break;
    case VT_BOOL:
        v.vt = VT_BOOL;
        v.boolVal = value.integer ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_R8:
        v.vt = VT_R8;
        v.dblVal = value.number;
        break;
    case VT_BSTR:
        v.vt = VT_BSTR;
        v.bstrVal =
            SysAllocStringLen(reinterpret_cast<const OLECHAR*>(value.text.data()), UINT(value.text.size()));
        break;
    case VT_DISPATCH:
        v.vt = VT_DISPATCH;
        v.pdispVal = dispatchOf(value.object);
        if (v.pdispVal)
            v.pdispVal->AddRef();
        break;
    case VT_BYREF | VT_BOOL:
        v.vt = VT_BYREF | VT_BOOL;
        v.pboolVal = value.flag;
        break;
    default:
        v.vt = value.type == VT_NULL ? VT_NULL : VT_EMPTY;
    }
}

// The first element of an array: several cells read at once give their top-left value.
bool firstElement(const VARIANT& array, VARIANT& element) {
    SAFEARRAY* a = array.parray;
    if (!a || a->cDims == 0 || (array.vt & VT_TYPEMASK) != VT_VARIANT)
        return false;
    std::vector<LONG> index(a->cDims);
    for (UINT d = 0; d < a->cDims; ++d) {
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(a, d + 1, &lower);
        SafeArrayGetUBound(a, d + 1, &upper);
        if (upper < lower)
            return false;
        index[d] = lower;
    }
    VariantInit(&element);
    return SUCCEEDED(SafeArrayGetElement(a, index.data(), &element));
}

Value fromVariant(const VARIANT& given) {
    VARIANT v;
    VariantInit(&v);
    if (given.vt == (VT_BYREF | VT_BOOL)) {
        Value out;
        out.type = VT_BYREF | VT_BOOL;
        out.flag = given.pboolVal;
        return out;
    }
    if (FAILED(VariantCopyInd(&v, const_cast<VARIANT*>(&given))))
        return {};
    if (v.vt & VT_ARRAY) {
        VARIANT element;
        const bool found = firstElement(v, element);
        VariantClear(&v);
        if (!found)
            return {};
        Value out = fromVariant(element);
        VariantClear(&element);
        return out;
    }
    Value out;
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        out.type = v.vt;
        break;
    case VT_I2:
        out.type = VT_I2;
        out.integer = v.iVal;
        break;
    case VT_I4:
        out.type = VT_I4;
        out.integer = v.lVal;
        break;
    case VT_ERROR:
        out.type = VT_ERROR;
        out.integer = v.scode;
        break;
    case VT_BOOL:
        out.type = VT_BOOL;
        out.integer = v.boolVal ? -1 : 0;
        break;
    case VT_BSTR:
        out.type = VT_BSTR;
        out.text.assign(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal));
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        out.type = VT_DISPATCH;
        IDispatch* dispatch = nullptr;
        if (v.punkVal &&
            SUCCEEDED(v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
            out.object = dispatch;
        break;
    }
    default: {
        // Dates, currency, decimals and the other integer widths: as the double they stand for.
        VARIANT number;
        VariantInit(&number);
        if (SUCCEEDED(VariantChangeType(&number, &v, 0, VT_R8))) {
            out.type = VT_R8;
            out.number = number.dblVal;
        }
        VariantClear(&number);
    }
    }
    VariantClear(&v);
    return out;
}

std::u16string takeText(BSTR& text) {
    std::u16string out;
    if (text)
        out.assign(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
    SysFreeString(text);
    text = nullptr;
    return out;
}

// The event sink that Windows calls: an IDispatch answering the event interface too, whose calls go to
// the handler.
class Sink final : public IDispatch {
public:
    Sink(const GUID& eventInterface, EventHandler handler)
        : eventInterface_(eventInterface), handler_(std::move(handler)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == eventInterface_) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO* info, UINT*) override {
        std::vector<Value> args;
        if (params)
            for (UINT i = params->cArgs; i-- > 0;)
                args.push_back(fromVariant(params->rgvarg[i]));
        std::u16string description;
        const HRESULT hr = handler_(dispid, args, description);
        if (hr == DISP_E_EXCEPTION && info) {
            std::memset(info, 0, sizeof *info);
            info->scode = E_FAIL;
            info->bstrDescription = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(description.data()),
                                                      UINT(description.size()));
        }
        return hr;
    }

private:
    GUID eventInterface_;
    EventHandler handler_;
    ULONG refs_ = 1;
};

HRESULT findPoint(void* object, const Id& eventInterface, IConnectionPoint** point) {
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = dispatchOf(object)->QueryInterface(IID_IConnectionPointContainer,
                                                    reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    hr = container->FindConnectionPoint(guidOf(eventInterface), point);
    container->Release();
    return hr;
}

} // namespace

Value::Value(Value&& other) noexcept
    : type(other.type), integer(other.integer), number(other.number), text(std::move(other.text)),
      object(std::exchange(other.object, nullptr)), flag(other.flag) {}

Value& Value::operator=(Value&& other) noexcept {
    if (this != &other) {
        if (object)
            release(object);
        type = other.type;
        integer = other.integer;
        number = other.number;
        text = std::move(other.text);
        object = std::exchange(other.object, nullptr);
        flag = other.flag;
    }
    return *this;
}

Value::~Value() {
    if (object)
        release(object);
}

std::int32_t initialize() {
    return CoInitialize(nullptr);
}

void uninitialize() {
    CoUninitialize();
}

std::int32_t classFromProgId(const char16_t* progId, Id& clsid) {
    CLSID id{};
    const HRESULT hr = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(progId), &id);
    std::memcpy(clsid, &id, sizeof clsid);
    return hr;
}

std::int32_t createRunning(const Id& clsid, void** dispatch) {
    *dispatch = nullptr;
    IDispatch* object = nullptr;
    HRESULT hr = CoCreateInstance(guidOf(clsid), nullptr, CLSCTX_ALL, IID_IDispatch,
                                  reinterpret_cast<void**>(&object));
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

void addRef(void* object) {
    dispatchOf(object)->AddRef();
}

void release(void* object) {
    dispatchOf(object)->Release();
}

std::int32_t invoke(void* object, std::u16string_view name, std::uint16_t flags, std::vector<Value>& args,
                    Value& result, std::u16string& description) {
    std::u16string member(name);
    LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(member.data())};
    DISPID dispid = DISPID_UNKNOWN;
    const HRESULT hr = dispatchOf(object)->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    return invoke(object, dispid, flags, args, result, description);
}

std::int32_t invoke(void* object, std::int32_t dispid, std::uint16_t flags, std::vector<Value>& args,
                    Value& result, std::u16string& description) {
    std::size_t count = args.size();
    while (count > 0 && args[count - 1].type == VT_ERROR && args[count - 1].integer == DISP_E_PARAMNOTFOUND)
        --count;
    std::vector<VARIANT> variants(count);
    for (std::size_t i = 0; i < count; ++i)
        toVariant(args[i], variants[count - 1 - i]);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{variants.data(), nullptr, UINT(count), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    VARIANT answer;
    VariantInit(&answer);
    EXCEPINFO info{};
    UINT argErr = 0;
    HRESULT hr = dispatchOf(object)->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &answer,
                                            &info, &argErr);
    for (VARIANT& v : variants)
        if (!(v.vt & VT_BYREF))
            VariantClear(&v);
    if (hr == DISP_E_EXCEPTION) {
        if (info.pfnDeferredFillIn)
            info.pfnDeferredFillIn(&info);
        if (FAILED(info.scode))
            hr = info.scode;
        description = takeText(info.bstrDescription);
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrHelpFile);
    }
    result = fromVariant(answer);
    VariantClear(&answer);
    return hr;
}

std::int32_t advise(void* object, const Id& eventInterface, EventHandler handler, std::uint32_t& cookie) {
    IConnectionPoint* point = nullptr;
    HRESULT hr = findPoint(object, eventInterface, &point);
    if (FAILED(hr))
        return hr;
    Sink* sink = new Sink(guidOf(eventInterface), std::move(handler));
    DWORD given = 0;
    hr = point->Advise(sink, &given);
    sink->Release();
    point->Release();
    if (SUCCEEDED(hr))
        cookie = given;
    return hr;
}

std::int32_t unadvise(void* object, const Id& eventInterface, std::uint32_t cookie) {
    IConnectionPoint* point = nullptr;
    HRESULT hr = findPoint(object, eventInterface, &point);
    if (FAILED(hr))
        return hr;
    hr = point->Unadvise(cookie);
    point->Release();
    return hr;
}

} // namespace com::system
