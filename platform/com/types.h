#pragma once

#include <cstdint>

// The scalar types of the automation calls, with the widths they have on Windows, so that client and
// server code keeps the signatures it would have there.
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using SHORT = std::int16_t;
using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using DISPID = LONG;
using MEMBERID = DISPID;
using LCID = DWORD;
using VARTYPE = std::uint16_t;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

// An automation boolean: true is all bits set.
using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// Calling-convention marker of interface methods; the platform has only one convention.
#define STDMETHODCALLTYPE

inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
