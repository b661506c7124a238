#include "platform/com/dispatch_proxy.h"

#include "platform/com/com_error.h"
#include "platform/com/com_object.h"
#include "platform/com/dispparams.h"
#include "platform/com/system.h"

#include <cstring>
#include <utility>
#include <vector>

namespace com {
namespace {

std::vector<std::pair<IID, ProxyFactory>>& factories() {
    static std::vector<std::pair<IID, ProxyFactory>> all;
    return all;
}

class ObjectProxy final : public Proxy<IDispatch> {
public:
    using Proxy::Proxy;
};

Variant toVariant(system::Value&& value) {
    switch (value.type) {
    case VT_NULL:
        return Variant::null();
    case VT_I2:
        return Variant(short(value.integer));
    case VT_I4:
        return Variant(int(value.integer));
    case VT_ERROR:
        return Variant::error(value.integer);
    case VT_BOOL:
        return Variant(value.integer != 0);
    case VT_R8:
        return Variant(value.number);
    case VT_BSTR:
        return Variant(std::move(value.text));
    case VT_DISPATCH:
        if (!value.object)
            return Variant(static_cast<IDispatch*>(nullptr));
        return Variant(static_cast<IDispatch*>(makeProxy<ObjectProxy>(
                           std::make_shared<const SystemObject>(std::exchange(value.object, nullptr)))),
                       false);
    case VT_BYREF | VT_BOOL:
        return Variant(value.flag);
    default:
        return Variant();
    }
}

// What the program passes, as the system takes it. An object must be a proxy: the program's own
// objects are not served to other processes.
system::Value toValue(const Variant& v) {
    system::Value out;
    out.type = v.vt();
    switch (v.vt()) {
    case VT_I2:
        out.integer = v.iVal();
        break;
    case VT_I4:
        out.integer = v.lVal();
        break;
    case VT_ERROR:
        out.integer = v.scode();
        break;
    case VT_BOOL:
        out.integer = v.boolVal() ? -1 : 0;
        break;
    case VT_R8:
        out.number = v.dblVal();
        break;
    case VT_BSTR:
        out.text = v.bstrVal();
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        out.type = VT_DISPATCH;
        if (IUnknown* object = v.punkVal()) {
            const auto* proxy = dynamic_cast<const ProxyCore*>(object);
            if (!proxy)
                throwComError(DISP_E_TYPEMISMATCH);
            out.object = proxy->object()->get();
            system::addRef(out.object);
        }
        break;
    }
    case VT_BYREF | VT_BOOL:
        out.flag = v.pboolVal();
        break;
    case VT_EMPTY:
    case VT_NULL:
        break;
    default:
        throwComError(DISP_E_BADVARTYPE);
    }
    return out;
}

std::vector<system::Value> toValues(std::initializer_list<Variant> args) {
    std::vector<system::Value> values;
    for (const Variant& arg : args)
        values.push_back(toValue(arg));
    return values;
}

Variant check(HRESULT hr, system::Value&& result, std::u16string&& description) {
    if (FAILED(hr))
        throwComError(hr, std::move(description));
    return toVariant(std::move(result));
}

void idOf(const IID& iid, system::Id& id) {
    std::memcpy(id, &iid, sizeof id);
}

// One connection point of the system object. A sink advised here receives each event as a call of its
// Invoke with the program's values; what it throws or fails with goes back to the source.
class PointProxy final : public ComObject<IConnectionPoint> {
public:
    PointProxy(SystemHandle object, const IID& iid) : object_(std::move(object)), iid_(iid) {}

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pIID) override {
        if (!pIID)
            return E_POINTER;
        *pIID = iid_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override {
        if (!pUnkSink || !pdwCookie)
            return E_POINTER;
        ComPtr<IDispatch> sink;
        if (FAILED(pUnkSink->QueryInterface(iid_, reinterpret_cast<void**>(&sink))) || !sink)
            return CONNECT_E_CANNOTCONNECT;
        system::Id id;
        idOf(iid_, id);
        std::uint32_t cookie = 0;
        const HRESULT hr = system::advise(
            object_->get(), id,
            [sink](std::int32_t dispid, std::vector<system::Value>& args, std::u16string& description) {
                std::vector<Variant> reversed;
                for (auto it = args.rbegin(); it != args.rend(); ++it)
                    reversed.push_back(toVariant(std::move(*it)));
                DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
                EXCEPINFO info;
                UINT argErr = 0;
                const HRESULT hr = sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                &params, nullptr, &info, &argErr);
                description = info.bstrDescription;
                return hr;
            },
            cookie);
        *pdwCookie = cookie;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD dwCookie) override {
        system::Id id;
        idOf(iid_, id);
        return system::unadvise(object_->get(), id, dwCookie);
    }

private:
    SystemHandle object_;
    IID iid_;
};

class PointsProxy final : public ComObject<IConnectionPointContainer> {
public:
    explicit PointsProxy(SystemHandle object) : object_(std::move(object)) {}

    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override {
        if (!ppCP)
            return E_POINTER;
        *ppCP = makeComObject<PointProxy>(object_, riid).detach();
        return S_OK;
    }

private:
    SystemHandle object_;
};

} // namespace

SystemObject::~SystemObject() {
    system::release(dispatch_);
}

void registerProxy(const IID& iid, ProxyFactory factory) {
    factories().emplace_back(iid, std::move(factory));
}

ComPtr<IDispatch> proxyFor(void* dispatch) {
    return ComPtr<IDispatch>(makeProxy<ObjectProxy>(std::make_shared<const SystemObject>(dispatch)), false);
}

Variant ProxyCore::get(std::u16string_view name, std::initializer_list<Variant> args) const {
    auto values = toValues(args);
    system::Value result;
    std::u16string description;
    const HRESULT hr = system::invoke(object_->get(), name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, values,
                                      result, description);
    return check(hr, std::move(result), std::move(description));
}

void ProxyCore::put(std::u16string_view name, const Variant& value) const {
    std::vector<system::Value> values;
    values.push_back(toValue(value));
    system::Value result;
    std::u16string description;
    const HRESULT hr =
        system::invoke(object_->get(), name, DISPATCH_PROPERTYPUT, values, result, description);
    check(hr, std::move(result), std::move(description));
}

Variant ProxyCore::call(std::u16string_view name, std::initializer_list<Variant> args) const {
    auto values = toValues(args);
    system::Value result;
    std::u16string description;
    const HRESULT hr = system::invoke(object_->get(), name, DISPATCH_METHOD, values, result, description);
    return check(hr, std::move(result), std::move(description));
}

HRESULT ProxyCore::invoke(DISPID dispid, WORD flags, DISPPARAMS* params, Variant* result,
                          EXCEPINFO* info) const {
    try {
        std::vector<system::Value> values;
        if (params)
            for (UINT i = 0; i < params->cArgs - params->cNamedArgs; ++i)
                values.push_back(toValue(*dispArg(*params, i)));
        if (params && params->cNamedArgs == 1 && params->cArgs == 1 && (flags & DISPATCH_PROPERTYPUT))
            values.push_back(toValue(params->rgvarg[0]));
        else if (params && params->cNamedArgs > 0)
            return DISP_E_NONAMEDARGS;
        system::Value answer;
        std::u16string description;
        const HRESULT hr = system::invoke(object_->get(), dispid, flags, values, answer, description);
        if (FAILED(hr) && info) {
            info->scode = hr;
            info->bstrDescription = description.empty() ? errorMessage(hr) : description;
            return DISP_E_EXCEPTION;
        }
        if (result)
            *result = toVariant(std::move(answer));
        return hr;
    } catch (const ComError& e) {
        return e.error();
    }
}

void* ProxyCore::queryOther(REFIID riid) const {
    if (riid == IID_IConnectionPointContainer)
        return makeComObject<PointsProxy>(object_).detach();
    for (const auto& [iid, factory] : factories())
        if (iid == riid)
            return factory(object_);
    return nullptr;
}

} // namespace com
