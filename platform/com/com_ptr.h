#pragma once

#include "platform/com/com_error.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

#include <cstddef>
#include <type_traits>
#include <utility>

// A counted reference to an interface, as _com_ptr_t / CComQIPtr. Holding AddRefs, letting go
// Releases. Made from a pointer of another interface, it queries for its own: a refused query leaves
// it empty and raises nothing. Calling through an empty pointer raises the automation error E_POINTER
// instead of crashing.
template <typename T> class ComPtr {
    // Whether a U* is taken as a T* without a query. IUnknown is always queried from another
    // interface: only the query gives the object's identity.
    template <typename U>
    static constexpr bool upcasts = std::is_convertible_v<U*, T*> &&
                                    (!std::is_same_v<T, IUnknown> || std::is_same_v<U, IUnknown>);

public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}

    ComPtr(T* p) noexcept : p_(p) {
        if (p_)
            p_->AddRef();
    }
    // Takes over a reference the caller already owns when addRef is false.
    ComPtr(T* p, bool addRef) noexcept : p_(p) {
        if (p_ && addRef)
            p_->AddRef();
    }

    ComPtr(const ComPtr& other) noexcept : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

    template <typename U> ComPtr(U* p) noexcept { reset(p); }
    template <typename U> ComPtr(const ComPtr<U>& other) noexcept { reset(other.get()); }
    template <typename U>
    requires upcasts<U> ComPtr(ComPtr<U>&& other)
    noexcept : p_(other.detach()) {}

    // The object a VT_DISPATCH or VT_UNKNOWN variant holds, queried for T; empty for any other variant.
    ComPtr(const Variant& v) noexcept {
        if (v.vt() == VT_DISPATCH || v.vt() == VT_UNKNOWN)
            reset(v.punkVal());
    }

    ~ComPtr() { release(); }

    ComPtr& operator=(const ComPtr& other) noexcept {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }
    template <typename U> ComPtr& operator=(U* p) noexcept {
        ComPtr(p).swap(*this);
        return *this;
    }
    template <typename U> ComPtr& operator=(const ComPtr<U>& other) noexcept {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(T* p) noexcept {
        ComPtr(p).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) noexcept {
        release();
        return *this;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const {
        if (!p_)
            throwComError(E_POINTER);
        return p_;
    }
    T& operator*() const {
        if (!p_)
            throwComError(E_POINTER);
        return *p_;
    }
    // As the Windows smart pointers: passes where a raw pointer is taken, tests as a pointer.
    operator T*() const noexcept { return p_; }

    // For out-parameters: lets go of what it holds and hands out its slot, as `&ptr` on Windows.
    T** operator&() noexcept {
        release();
        return &p_;
    }

    void release() noexcept {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    void attach(T* p) noexcept {
        release();
        p_ = p;
    }
    [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }
    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

private:
    template <typename U> void reset(U* p) noexcept {
        if (!p)
            return;
        if constexpr (upcasts<U>) {
            p_ = p;
            p_->AddRef();
        } else {
            void* out = nullptr;
            if (SUCCEEDED(p->QueryInterface(uuidof<T>(), &out)))
                p_ = static_cast<T*>(out);
        }
    }

    T* p_ = nullptr;
};

using IUnknownPtr = ComPtr<IUnknown>;
using IDispatchPtr = ComPtr<IDispatch>;
