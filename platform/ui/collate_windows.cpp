#include "platform/ui/collate.h"

#include <windows.h>

namespace ui {

// The Chinese (PRC) order of the system: Latin before Chinese, which sorts by pinyin; digits by their
// numeric value; case ignored.
int compareListText(std::u16string_view a, std::u16string_view b) {
    const int result = CompareStringEx(
        L"zh-CN", NORM_IGNORECASE | SORT_DIGITSASNUMBERS, reinterpret_cast<const wchar_t*>(a.data()),
        int(a.size()), reinterpret_cast<const wchar_t*>(b.data()), int(b.size()), nullptr, nullptr, 0);
    if (result == 0)
        return a.compare(b);
    return result - CSTR_EQUAL;
}

} // namespace ui
