#include "platform/com/variant.h"

#include "platform/com/com_error.h"
#include "platform/com/dispparams.h"
#include "platform/com/unknown.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <utility>

const Variant vtMissing = Variant::error(DISP_E_PARAMNOTFOUND);

namespace {

[[noreturn]] void mismatch() {
    throwComError(DISP_E_TYPEMISMATCH);
}

// Numeric text as VarR8FromStr reads it: blanks around, a sign, digits with an optional decimal point
// and exponent. Nothing else (an empty text included) is a number.
std::optional<double> parseNumber(const std::u16string& text) {
    auto blank = [](char16_t ch) {
        return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n' || ch == 0x3000;
    };
    std::size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == u'+' || text[begin] == u'-'))
        negative = text[begin++] == u'-';
    if (begin == end || !((text[begin] >= u'0' && text[begin] <= u'9') || text[begin] == u'.'))
        return std::nullopt;
    std::string ascii;
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] > 0x7F)
            return std::nullopt;
        ascii.push_back(static_cast<char>(text[i]));
    }
    double value = 0;
    auto [ptr, ec] =
        std::from_chars(ascii.data(), ascii.data() + ascii.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        throwComError(DISP_E_OVERFLOW);
    if (ec != std::errc() || ptr != ascii.data() + ascii.size())
        return std::nullopt;
    return negative ? -value : value;
}

// Doubles convert to integers rounding half to even, as the automation conversions do.
template <typename Int> Int roundToInteger(double value) {
    double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        throwComError(DISP_E_OVERFLOW);
    return static_cast<Int>(rounded);
}

std::u16string formatNumber(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    // "1E+020" style exponents lose their leading zeros: "1E+20", "1E-05" -> "1E-5".
    if (auto e = text.find('E'); e != std::string::npos) {
        std::size_t digits = e + 2;
        while (digits + 1 < text.size() && text[digits] == '0')
            text.erase(digits, 1);
    }
    return std::u16string(text.begin(), text.end());
}

bool equalsIgnoringCase(const std::u16string& text, std::u16string_view word) {
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t a = text[i], b = word[i];
        if (a >= u'A' && a <= u'Z')
            a = static_cast<char16_t>(a - u'A' + u'a');
        if (b >= u'A' && b <= u'Z')
            b = static_cast<char16_t>(b - u'A' + u'a');
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

Variant::Variant(const Variant& other) : vt_(other.vt_), v_(other.v_), bstr_(other.bstr_) {
    if (isObject() && v_.unk)
        v_.unk->AddRef();
}

Variant::Variant(Variant&& other) noexcept : Variant() {
    swap(other);
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other)
        Variant(other).swap(*this);
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    Variant(std::move(other)).swap(*this);
    return *this;
}

Variant::~Variant() {
    clear();
}

void Variant::clear() {
    if ((vt_ == VT_DISPATCH || vt_ == VT_UNKNOWN) && v_.unk) {
        IUnknown* object = std::exchange(v_.unk, nullptr);
        vt_ = VT_EMPTY;
        object->Release();
    }
    vt_ = VT_EMPTY;
    v_.r8 = 0;
    bstr_.clear();
}

void Variant::swap(Variant& other) noexcept {
    std::swap(vt_, other.vt_);
    std::swap(v_, other.v_);
    bstr_.swap(other.bstr_);
}

Variant::Variant(short value, VARTYPE vt) {
    if (vt == VT_BOOL) {
        vt_ = VT_BOOL;
        v_.boolean = value ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt_ = VT_I2;
        v_.i2 = value;
    }
}

Variant::Variant(int value, VARTYPE vt) {
    if (vt == VT_ERROR) {
        vt_ = VT_ERROR;
        v_.scode = value;
    } else {
        vt_ = VT_I4;
        v_.i4 = value;
    }
}

Variant::Variant(long value) {
    if (value >= std::numeric_limits<LONG>::min() && value <= std::numeric_limits<LONG>::max()) {
        vt_ = VT_I4;
        v_.i4 = static_cast<LONG>(value);
    } else {
        vt_ = VT_R8;
        v_.r8 = static_cast<double>(value);
    }
}

Variant::Variant(double value) : vt_(VT_R8) {
    v_.r8 = value;
}

Variant::Variant(bool value) : vt_(VT_BOOL) {
    v_.boolean = value ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(const char16_t* text) : vt_(VT_BSTR), bstr_(text ? text : u"") {}

Variant::Variant(std::u16string_view text) : vt_(VT_BSTR), bstr_(text) {}

Variant::Variant(std::u16string text) : vt_(VT_BSTR), bstr_(std::move(text)) {}

Variant::Variant(IDispatch* object, bool addRef) : vt_(VT_DISPATCH) {
    v_.unk = object;
    if (object && addRef)
        object->AddRef();
}

Variant::Variant(IUnknown* object, bool addRef) : vt_(VT_UNKNOWN) {
    v_.unk = object;
    if (object && addRef)
        object->AddRef();
}

Variant::Variant(VARIANT_BOOL* flag) : vt_(VT_BYREF | VT_BOOL) {
    v_.pbool = flag;
}

Variant Variant::error(SCODE code) {
    return Variant(static_cast<int>(code), VT_ERROR);
}

Variant Variant::null() {
    Variant v;
    v.vt_ = VT_NULL;
    return v;
}

SHORT Variant::iVal() const {
    if (vt_ != VT_I2)
        mismatch();
    return v_.i2;
}

LONG Variant::lVal() const {
    if (vt_ != VT_I4)
        mismatch();
    return v_.i4;
}

double Variant::dblVal() const {
    if (vt_ != VT_R8)
        mismatch();
    return v_.r8;
}

const std::u16string& Variant::bstrVal() const {
    if (vt_ != VT_BSTR)
        mismatch();
    return bstr_;
}

VARIANT_BOOL Variant::boolVal() const {
    if (vt_ != VT_BOOL)
        mismatch();
    return v_.boolean;
}

SCODE Variant::scode() const {
    if (vt_ != VT_ERROR)
        mismatch();
    return v_.scode;
}

IDispatch* Variant::pdispVal() const {
    if (vt_ != VT_DISPATCH)
        mismatch();
    return static_cast<IDispatch*>(v_.unk);
}

IUnknown* Variant::punkVal() const {
    if (vt_ != VT_DISPATCH && vt_ != VT_UNKNOWN)
        mismatch();
    return v_.unk;
}

VARIANT_BOOL* Variant::pboolVal() const {
    if (vt_ != (VT_BYREF | VT_BOOL))
        mismatch();
    return v_.pbool;
}

namespace {

// An object's value: its default member (DISPID_VALUE) read as a property.
Variant defaultValue(IUnknown* object) {
    if (!object)
        mismatch();
    void* out = nullptr;
    if (FAILED(object->QueryInterface(IID_IDispatch, &out)))
        mismatch();
    IDispatch* dispatch = static_cast<IDispatch*>(out);
    DISPPARAMS none;
    Variant result;
    EXCEPINFO info;
    UINT argErr = 0;
    HRESULT hr = E_FAIL;
    try {
        hr = dispatch->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                              &result, &info, &argErr);
    } catch (...) {
        dispatch->Release();
        throw;
    }
    dispatch->Release();
    if (FAILED(hr))
        throwComError(hr == DISP_E_EXCEPTION && info.scode ? info.scode : hr, info.bstrDescription);
    if (result.isObject())
        mismatch();
    return result;
}

} // namespace

Variant Variant::changeType(VARTYPE target) const {
    if (vt_ == target && target != VT_VARIANT)
        return *this;
    if (vt_ == (VT_BYREF | VT_BOOL)) {
        if (!v_.pbool)
            throwComError(E_POINTER);
        return Variant(*v_.pbool, VT_BOOL).changeType(target);
    }
    if (isObject() && target != VT_DISPATCH && target != VT_UNKNOWN)
        return defaultValue(v_.unk).changeType(target);

    switch (target) {
    case VT_EMPTY:
        return Variant();
    case VT_I2:
    case VT_I4:
    case VT_R8: {
        double value = 0;
        switch (vt_) {
        case VT_EMPTY:
            break;
        case VT_I2:
            value = v_.i2;
            break;
        case VT_I4:
            value = v_.i4;
            break;
        case VT_R8:
            value = v_.r8;
            break;
        case VT_BOOL:
            value = v_.boolean ? -1 : 0;
            break;
        case VT_BSTR: {
            auto parsed = parseNumber(bstr_);
            if (!parsed)
                mismatch();
            value = *parsed;
            break;
        }
        default:
            mismatch();
        }
        if (target == VT_R8)
            return Variant(value);
        if (target == VT_I2)
            return Variant(roundToInteger<SHORT>(value));
        return Variant(static_cast<int>(roundToInteger<LONG>(value)));
    }
    case VT_BOOL:
        switch (vt_) {
        case VT_EMPTY:
            return Variant(false);
        case VT_I2:
            return Variant(v_.i2 != 0);
        case VT_I4:
            return Variant(v_.i4 != 0);
        case VT_R8:
            return Variant(v_.r8 != 0);
        case VT_BSTR: {
            if (equalsIgnoringCase(bstr_, u"true"))
                return Variant(true);
            if (equalsIgnoringCase(bstr_, u"false"))
                return Variant(false);
            auto parsed = parseNumber(bstr_);
            if (!parsed)
                mismatch();
            return Variant(*parsed != 0);
        }
        default:
            mismatch();
        }
    case VT_BSTR:
        switch (vt_) {
        case VT_EMPTY:
            return Variant(std::u16string());
        case VT_I2:
            return Variant(formatNumber(v_.i2));
        case VT_I4:
            return Variant(formatNumber(v_.i4));
        case VT_R8:
            return Variant(formatNumber(v_.r8));
        case VT_BOOL:
            return Variant(v_.boolean ? u"True" : u"False");
        default:
            mismatch();
        }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        if (!isObject())
            mismatch();
        if (target == VT_UNKNOWN)
            return Variant(v_.unk);
        if (!v_.unk)
            return Variant(static_cast<IDispatch*>(nullptr));
        void* out = nullptr;
        if (FAILED(v_.unk->QueryInterface(IID_IDispatch, &out)))
            mismatch();
        return Variant(static_cast<IDispatch*>(out), false);
    }
    case VT_NULL:
    case VT_ERROR:
        mismatch();
    default:
        throwComError(DISP_E_BADVARTYPE);
    }
}

LONG Variant::toLong() const {
    return changeType(VT_I4).v_.i4;
}

double Variant::toDouble() const {
    return changeType(VT_R8).v_.r8;
}

bool Variant::toBool() const {
    return changeType(VT_BOOL).v_.boolean != VARIANT_FALSE;
}

std::u16string Variant::toString() const {
    if (vt_ == VT_BSTR)
        return bstr_;
    return changeType(VT_BSTR).bstr_;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.vt_ != b.vt_)
        return false;
    switch (a.vt_) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_I2:
        return a.v_.i2 == b.v_.i2;
    case VT_I4:
        return a.v_.i4 == b.v_.i4;
    case VT_R8:
        return a.v_.r8 == b.v_.r8;
    case VT_BSTR:
        return a.bstr_ == b.bstr_;
    case VT_ERROR:
        return a.v_.scode == b.v_.scode;
    case VT_BOOL:
        return (a.v_.boolean != 0) == (b.v_.boolean != 0);
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return a.v_.unk == b.v_.unk;
    case VT_BYREF | VT_BOOL:
        return a.v_.pbool == b.v_.pbool;
    default:
        return false;
    }
}
