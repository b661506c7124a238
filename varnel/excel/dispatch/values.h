#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/variant.h"

#include <algorithm>
#include <string>

// How the proxies pass the program's values to the spreadsheet and read its answers, by Excel's
// conventions: booleans as VT_BOOL (True is -1), enumerations as plain numbers, objects queried for the
// interface the program asks for.
namespace excel_dispatch {

inline Variant boolean(VARIANT_BOOL value) {
    return Variant(value != VARIANT_FALSE);
}
inline VARIANT_BOOL boolean(const Variant& value) {
    return value.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
}

template <typename Enum> Variant number(Enum value) {
    return Variant(static_cast<int>(value));
}

inline Variant dispatch(IDispatch* value) {
    return Variant(value);
}

template <typename T> ComPtr<T> as(const Variant& value) {
    return ComPtr<T>(value);
}

// A file name in Windows' own form: the program joins its folder and names with "/".
inline Variant windowsPath(std::u16string path) {
    std::replace(path.begin(), path.end(), u'/', u'\\');
    return Variant(std::move(path));
}

} // namespace excel_dispatch
