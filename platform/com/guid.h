#pragma once

#include "platform/com/types.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// A globally unique identifier as Windows lays it out, naming an interface (IID) or a class (CLSID).
struct GUID {
    DWORD Data1 = 0;
    WORD Data2 = 0;
    WORD Data3 = 0;
    BYTE Data4[8] = {};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace com {

namespace detail {

constexpr int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

template <typename Char> constexpr std::optional<GUID> parseGuid(std::basic_string_view<Char> text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return std::nullopt;
    std::size_t pos = 1;
    bool ok = true;
    auto take = [&](int digits) {
        unsigned long long value = 0;
        for (int i = 0; i < digits; ++i, ++pos) {
            if (text[pos] == '-')
                ++pos;
            int d = hexDigit(static_cast<char16_t>(text[pos]));
            if (d < 0)
                ok = false;
            value = value * 16 + static_cast<unsigned>(d < 0 ? 0 : d);
        }
        return value;
    };
    GUID g;
    g.Data1 = static_cast<DWORD>(take(8));
    g.Data2 = static_cast<WORD>(take(4));
    g.Data3 = static_cast<WORD>(take(4));
    for (BYTE& b : g.Data4)
        b = static_cast<BYTE>(take(2));
    if (!ok)
        return std::nullopt;
    return g;
}

} // namespace detail

// Reads the registry form "{00020400-0000-0000-C000-000000000046}" (either case of hex digits).
inline std::optional<GUID> parseGuid(std::u16string_view text) {
    return detail::parseGuid(text);
}

// Writes the registry form, upper-case hex digits, braces included.
std::u16string formatGuid(const GUID& guid);

// A GUID from a literal, checked while compiling: a malformed literal does not build.
consteval GUID guidOf(std::string_view text) {
    auto g = detail::parseGuid(text);
    if (!g)
        throw std::invalid_argument("malformed GUID literal");
    return *g;
}

} // namespace com

// The interface id an interface type carries (its static member `iid`), as __uuidof gives on Windows.
template <typename Interface> constexpr const IID& uuidof() {
    return Interface::iid;
}

inline constexpr IID IID_NULL{};
inline constexpr IID IID_IUnknown = com::guidOf("{00000000-0000-0000-C000-000000000046}");
inline constexpr IID IID_IDispatch = com::guidOf("{00020400-0000-0000-C000-000000000046}");
inline constexpr IID IID_IConnectionPointContainer = com::guidOf("{B196B284-BAB4-101A-B69C-00AA00341D07}");
inline constexpr IID IID_IConnectionPoint = com::guidOf("{B196B286-BAB4-101A-B69C-00AA00341D07}");

// The event interfaces the program listens to: the spreadsheet application's events and a command-bar
// button's events.
inline constexpr IID DIID_AppEvents = com::guidOf("{00024413-0000-0000-C000-000000000046}");
inline constexpr IID DIID__CommandBarButtonEvents = com::guidOf("{000C0351-0000-0000-C000-000000000046}");
