#include "platform/profile/executable_path.h"

#include <algorithm>
#include <windows.h>

namespace profile {

// Windows separates folders with "\"; every Windows file function takes "/" as well, and the program
// looks for the last "/" to find its folder.
std::u16string executablePath() {
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, reinterpret_cast<wchar_t*>(path.data()), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::replace(path.begin(), path.end(), u'\\', u'/');
    return path;
}

} // namespace profile
