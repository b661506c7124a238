#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

#include <string>
#include <string_view>
#include <type_traits>

struct IUnknown;
struct IDispatch;
template <typename T> class ComPtr;

// Variant types, with Windows' values.
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_BYREF = 0x4000,
};

// An automation value, as _variant_t holds it. Texts are UTF-16. An object (VT_DISPATCH or VT_UNKNOWN)
// is a counted reference: copies AddRef, destruction Releases. VT_BYREF|VT_BOOL points at a flag the
// caller owns (the cancel flags of events) and owns nothing.
class Variant {
public:
    Variant() = default;
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    // VT_I2, or VT_BOOL when vt says so (VARIANT_TRUE / VARIANT_FALSE).
    Variant(short value, VARTYPE vt = VT_I2);
    // VT_I4, or VT_ERROR when vt says so.
    Variant(int value, VARTYPE vt = VT_I4);
    // VT_I4 when the value fits 32 bits (a Windows long), VT_R8 otherwise.
    Variant(long value);
    Variant(double value);
    Variant(bool value);
    Variant(const char16_t* text);
    Variant(std::u16string_view text);
    Variant(std::u16string text);
    // A null object pointer makes an object variant holding nothing, as on Windows.
    Variant(IDispatch* object, bool addRef = true);
    Variant(IUnknown* object, bool addRef = true);
    Variant(VARIANT_BOOL* flag);
    // The object a smart pointer holds: VT_DISPATCH when it is a dispatch object, else VT_UNKNOWN.
    template <typename T> Variant(const ComPtr<T>& object) {
        if constexpr (std::is_convertible_v<T*, IDispatch*>)
            *this = Variant(static_cast<IDispatch*>(object.get()));
        else if constexpr (std::is_convertible_v<T*, IUnknown*>)
            *this = Variant(static_cast<IUnknown*>(object.get()));
        else
            *this = fromObject(object.get());
    }

    static Variant error(SCODE code);
    static Variant null();

    VARTYPE vt() const { return vt_; }
    bool isMissing() const { return vt_ == VT_ERROR && v_.scode == DISP_E_PARAMNOTFOUND; }
    bool isEmpty() const { return vt_ == VT_EMPTY; }
    bool isObject() const { return vt_ == VT_DISPATCH || vt_ == VT_UNKNOWN; }

    // The stored value of the matching type; any other type throws the automation error
    // DISP_E_TYPEMISMATCH (no conversion: see the to* functions for that).
    SHORT iVal() const;
    LONG lVal() const;
    double dblVal() const;
    const std::u16string& bstrVal() const;
    VARIANT_BOOL boolVal() const;
    SCODE scode() const;
    IDispatch* pdispVal() const;
    IUnknown* punkVal() const;
    VARIANT_BOOL* pboolVal() const;

    // Conversions as VariantChangeType makes them: numbers, booleans (true is -1) and numeric text
    // convert among each other, empty reads as 0, "" or false, an object reads its default value.
    // Anything else throws the automation error (DISP_E_TYPEMISMATCH, or DISP_E_OVERFLOW when a number
    // does not fit).
    Variant changeType(VARTYPE vt) const;
    LONG toLong() const;
    int toInt() const { return toLong(); }
    double toDouble() const;
    bool toBool() const;
    std::u16string toString() const;

    explicit operator long() const { return toLong(); }
    explicit operator int() const { return toLong(); }
    explicit operator double() const { return toDouble(); }
    explicit operator bool() const { return toBool(); }
    explicit operator std::u16string() const { return toString(); }

    // Same type and same value; objects compare by pointer.
    friend bool operator==(const Variant& a, const Variant& b);

    void clear();
    void swap(Variant& other) noexcept;

private:
    // An object of several interfaces (no single IUnknown base): held as the IDispatch it answers.
    template <typename T> static Variant fromObject(T* object) {
        void* dispatch = nullptr;
        if (object && SUCCEEDED(object->QueryInterface(IID_IDispatch, &dispatch)))
            return Variant(static_cast<IDispatch*>(dispatch), false);
        return Variant(static_cast<IDispatch*>(nullptr));
    }

    union Value {
        SHORT i2;
        LONG i4;
        double r8;
        SCODE scode;
        VARIANT_BOOL boolean;
        IUnknown* unk;
        VARIANT_BOOL* pbool;
    };

    VARTYPE vt_ = VT_EMPTY;
    Value v_{.r8 = 0};
    std::u16string bstr_;
};

// The automation missing value: an optional argument left out.
extern const Variant vtMissing;
