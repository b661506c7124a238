#include "engine/core/date_names.h"

#include <map>
#include <memory>
#include <unicode/dtfmtsym.h>
#include <unicode/uloc.h>

namespace engine::detail {

namespace {

std::u16string toU16(const icu::UnicodeString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()), std::size_t(s.length()));
}

} // namespace

std::string localeOfLcid(std::uint32_t lcid) {
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(lcid, name, sizeof name, &status);
    return U_SUCCESS(status) ? std::string(name) : std::string();
}

const DateNames& dateNamesOf(const std::string& locale) {
    static std::map<std::string, std::unique_ptr<DateNames>> cache;
    auto& slot = cache[locale];
    if (slot)
        return *slot;
    slot = std::make_unique<DateNames>();
    UErrorCode status = U_ZERO_ERROR;
    icu::DateFormatSymbols symbols(icu::Locale(locale.empty() ? "en_US" : locale.c_str()), status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        symbols = icu::DateFormatSymbols(icu::Locale("en_US"), status);
    }
    const icu::DateFormatSymbols::DtWidthType widths[3] = {
        icu::DateFormatSymbols::ABBREVIATED, icu::DateFormatSymbols::WIDE, icu::DateFormatSymbols::NARROW};
    for (int w = 0; w < 3; ++w) {
        int32_t count = 0;
        const icu::UnicodeString* m = symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, widths[w]);
        for (int32_t i = 0; i < count && i < 12; ++i)
            slot->months[w][i] = toU16(m[i]);
        const icu::UnicodeString* d = symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, widths[w]);
        for (int32_t i = 1; i < count && i <= 7; ++i) // index 0 is unused, 1 is Sunday
            slot->weekdays[w][i - 1] = toU16(d[i]);
    }
    int32_t count = 0;
    const icu::UnicodeString* marks = symbols.getAmPmStrings(count);
    for (int32_t i = 0; i < count && i < 2; ++i)
        slot->amPm[i] = toU16(marks[i]);
    return *slot;
}

} // namespace engine::detail
