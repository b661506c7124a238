#include <unicode/uchar.h>
#include <windows.h>

namespace {

UChar32 mapped(UChar32 c, DWORD how) {
    if (c < 0 || c > 0xFFFF)
        return c;
    wchar_t in = wchar_t(c), out = 0;
    return LCMapStringEx(LOCALE_NAME_INVARIANT, how, &in, 1, &out, 1, nullptr, nullptr, 0) == 1 ? UChar32(out)
                                                                                                : c;
}

} // namespace

bool u_isalpha(UChar32 c) {
    return c >= 0 && c <= 0xFFFF && IsCharAlphaW(wchar_t(c));
}

UChar32 u_toupper(UChar32 c) {
    return mapped(c, LCMAP_UPPERCASE);
}

UChar32 u_tolower(UChar32 c) {
    return mapped(c, LCMAP_LOWERCASE);
}

UChar32 u_foldCase(UChar32 c, std::uint32_t) {
    return c == 0x03C2 ? 0x03C3 : mapped(c, LCMAP_LOWERCASE);
}
