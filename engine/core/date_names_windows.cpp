// The names from the system's locale data (GetLocaleInfoEx). Windows keeps no narrow month names: the
// first letter of the full name stands for one, as Excel shows "mmmmm".
#include "engine/core/date_names.h"

#include <map>
#include <memory>
#include <windows.h>

namespace engine::detail {

namespace {

bool read(const std::wstring& locale, LCTYPE type, std::u16string& out) {
    wchar_t text[128];
    int length = GetLocaleInfoEx(locale.c_str(), type, text, int(std::size(text)));
    if (length <= 1)
        return false;
    out.assign(text, text + length - 1);
    return true;
}

bool readAll(const std::wstring& locale, DateNames& names) {
    bool ok = true;
    for (int i = 0; i < 12; ++i) {
        ok =
            ok && read(locale, LOCALE_SABBREVMONTHNAME1 + LCTYPE(i), names.months[0][i]) &&
            read(locale, (LOCALE_SMONTHNAME1 + LCTYPE(i)) | LOCALE_RETURN_GENITIVE_NAMES, names.months[1][i]);
        if (ok)
            names.months[2][i] = names.months[1][i].substr(0, 1);
    }
    // The system counts days from Monday.
    for (int i = 0; i < 7; ++i) {
        int day = (i + 6) % 7;
        ok = ok && read(locale, LOCALE_SABBREVDAYNAME1 + LCTYPE(day), names.weekdays[0][i]) &&
             read(locale, LOCALE_SDAYNAME1 + LCTYPE(day), names.weekdays[1][i]) &&
             read(locale, LOCALE_SSHORTESTDAYNAME1 + LCTYPE(day), names.weekdays[2][i]);
    }
    return ok && read(locale, LOCALE_S1159, names.amPm[0]) && read(locale, LOCALE_S2359, names.amPm[1]);
}

} // namespace

std::string localeOfLcid(std::uint32_t lcid) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    int length = LCIDToLocaleName(LCID(lcid), name, LOCALE_NAME_MAX_LENGTH, 0);
    return length > 1 ? std::string(name, name + length - 1) : std::string();
}

const DateNames& dateNamesOf(const std::string& locale) {
    static std::map<std::string, std::unique_ptr<DateNames>> cache;
    auto& slot = cache[locale];
    if (slot)
        return *slot;
    slot = std::make_unique<DateNames>();
    if (locale.empty() || !readAll(std::wstring(locale.begin(), locale.end()), *slot)) {
        *slot = DateNames();
        readAll(L"en-US", *slot);
    }
    return *slot;
}

} // namespace engine::detail
