#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/connection_point.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>

// The program's interfaces over objects of other processes, in the Windows build: a proxy answers an
// interface of the program by calling the system object behind it by name, through its IDispatch, as a
// late-bound client does. Values cross as real VARIANTs; objects that come back are proxies again; a
// failed call raises the automation error with the server's code and description. A proxy answers
// IConnectionPointContainer with the system object's connection points, whose sinks receive the
// events as the program's own Invoke calls.
namespace com {

// One reference to a system object, shared by the proxies of its interfaces.
class SystemObject {
public:
    explicit SystemObject(void* dispatch) : dispatch_(dispatch) {}
    ~SystemObject();
    SystemObject(const SystemObject&) = delete;
    SystemObject& operator=(const SystemObject&) = delete;
    void* get() const { return dispatch_; }

private:
    void* dispatch_;
};
using SystemHandle = std::shared_ptr<const SystemObject>;

// Makes the proxy of one interface for a system object; registered per interface id.
using ProxyFactory = std::function<IDispatch*(SystemHandle)>;
void registerProxy(const IID& iid, ProxyFactory factory);

// The system object as the program's IDispatch: queried for a registered interface, it answers that
// interface's proxy.
ComPtr<IDispatch> proxyFor(void* dispatch);

// What every proxy does: the calls by name and the interfaces it answers besides its own.
class ProxyCore {
public:
    explicit ProxyCore(SystemHandle object) : object_(std::move(object)) {}
    virtual ~ProxyCore() = default;

    const SystemHandle& object() const { return object_; }

    Variant get(std::u16string_view name, std::initializer_list<Variant> args = {}) const;
    void put(std::u16string_view name, const Variant& value) const;
    Variant call(std::u16string_view name, std::initializer_list<Variant> args = {}) const;
    // By dispatch id, for the program's own Invoke calls.
    HRESULT invoke(DISPID dispid, WORD flags, DISPPARAMS* params, Variant* result, EXCEPINFO* info) const;

    // Another interface of the same object: a registered proxy, or the connection points.
    void* queryOther(REFIID riid) const;

private:
    SystemHandle object_;
};

// The IUnknown and IDispatch members of a proxy of Interface. Counts its own references; answers its
// interface chain itself and every other registered interface with that interface's proxy.
template <typename Interface> class Proxy : public Interface, public ProxyCore {
public:
    explicit Proxy(SystemHandle object) : ProxyCore(std::move(object)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || answers<Interface>(riid)) {
            *out = static_cast<Interface*>(this);
            AddRef();
        } else {
            *out = queryOther(riid);
        }
        return *out ? S_OK : E_NOINTERFACE;
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
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     Variant* result, EXCEPINFO* info, UINT*) override {
        return invoke(dispid, flags, params, result, info);
    }

private:
    template <typename I> static bool answers(REFIID riid) {
        if constexpr (std::is_same_v<I, IDispatch>)
            return false;
        else
            return riid == uuidof<I>() || answers<typename I::base_interface>(riid);
    }

    ULONG refs_ = 0;
};

// A new proxy of the object's interface, with its first reference.
template <typename P> IDispatch* makeProxy(SystemHandle object) {
    auto* proxy = new P(std::move(object));
    proxy->AddRef();
    return proxy;
}

} // namespace com
