#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

#include <type_traits>
#include <utility>

namespace com::detail {

// Interface's own pointer when riid names it or an interface it derives from (followed through each
// interface's `base_interface`); null otherwise.
template <typename Interface> void* queryChain(Interface* p, REFIID riid) {
    if (riid == uuidof<Interface>())
        return p;
    if constexpr (std::is_same_v<Interface, IUnknown>)
        return nullptr;
    else {
        using Base = typename Interface::base_interface;
        static_assert(std::is_base_of_v<Base, Interface> && !(uuidof<Base>() == uuidof<Interface>()),
                      "an interface needs its own iid and its base_interface");
        return queryChain<Base>(p, riid);
    }
}

// The interfaces an object implements, with the IDispatch members besides Invoke that an object needs
// not provide when one of them is a dispatch interface.
template <bool Dispatch, typename... Interfaces> class InterfaceBase : public Interfaces... {};

template <typename... Interfaces> class InterfaceBase<true, Interfaces...> : public Interfaces... {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
        if (pctinfo)
            *pctinfo = 0;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
};

} // namespace com::detail

// The reference counting and QueryInterface of an object implementing one or more interfaces, so that
// a class only writes its own members: `class Sheet : public ComObject<Excel::_Worksheet> { ... };`.
// QueryInterface answers every listed interface and the ones they derive from, IUnknown always with the
// same pointer (COM's identity rule), and whatever queryOther adds. GetTypeInfoCount, GetTypeInfo and
// GetIDsOfNames answer E_NOTIMPL unless the class overrides them. The count starts at zero: make
// objects with makeComObject, which hands out the first reference. The last Release deletes.
template <typename First, typename... Rest>
class ComObject : public com::detail::InterfaceBase<(std::is_base_of_v<IDispatch, First> || ... ||
                                                     std::is_base_of_v<IDispatch, Rest>),
                                                    First, Rest...> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        if (!ppvObject)
            return E_POINTER;
        *ppvObject = nullptr;
        if (riid == IID_IUnknown)
            *ppvObject = static_cast<IUnknown*>(static_cast<First*>(this));
        else if (!find<First, Rest...>(riid, ppvObject))
            *ppvObject = queryOther(riid);
        if (!*ppvObject)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0) {
            // References taken and dropped while the destructor runs must not delete a second time.
            refs_ = destroying;
            delete this;
        }
        return left;
    }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

protected:
    ComObject() = default;
    ~ComObject() override = default;

    // Further interface ids this object answers (an event interface a sink implements as IDispatch,
    // say): the pointer to hand out without AddRef, or null.
    virtual void* queryOther(REFIID) { return nullptr; }

private:
    template <typename I, typename... More> bool find(REFIID riid, void** out) {
        if ((*out = com::detail::queryChain<I>(this, riid)))
            return true;
        if constexpr (sizeof...(More) > 0)
            return find<More...>(riid, out);
        else
            return false;
    }

    static constexpr ULONG destroying = 1u << 30;
    ULONG refs_ = 0;
};

// A new object with its first reference.
template <typename T, typename... Args> ComPtr<T> makeComObject(Args&&... args) {
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}
