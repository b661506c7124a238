#pragma once

#include <cstdint>
#include <string>

// The names a date format shows in a locale, from the system's locale data.
namespace engine::detail {

// The locale of a Windows locale identifier (0x0804), as the system's locale data names it; empty when
// it knows none.
std::string localeOfLcid(std::uint32_t lcid);

struct DateNames {
    std::u16string months[3][12];  // abbreviated, wide, narrow
    std::u16string weekdays[3][7]; // abbreviated, wide, narrow; Sunday first
    std::u16string amPm[2];
};

// The names of `locale` (English when empty or unknown), kept once read.
const DateNames& dateNamesOf(const std::string& locale);

} // namespace engine::detail
