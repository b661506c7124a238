#pragma once

// The one character property the program asks ICU for, where ICU is not available (the Windows build):
// the code points of Unicode's White_Space property (PropList.txt).
using UChar32 = int;

inline bool u_isUWhiteSpace(UChar32 c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}
