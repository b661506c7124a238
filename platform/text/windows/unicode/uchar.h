#pragma once

#include <cstdint>

// The character properties the program and the engine ask ICU for, where ICU is not available (the
// Windows build). White space: the code points of Unicode's White_Space property (PropList.txt). Letters
// and case: the system's own tables (uchar_windows.cpp), for the Basic Multilingual Plane, which is all
// a UTF-16 code unit can name.
using UChar32 = int;

inline bool u_isUWhiteSpace(UChar32 c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

bool u_isalpha(UChar32 c);
UChar32 u_toupper(UChar32 c);
UChar32 u_tolower(UChar32 c);

// Simple case folding: the small letter, except that the Greek final sigma folds with the other sigmas.
inline constexpr std::uint32_t U_FOLD_CASE_DEFAULT = 0;
UChar32 u_foldCase(UChar32 c, std::uint32_t options);
