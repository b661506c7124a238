#include "platform/profile/profile.h"

#include <shlwapi.h>

int PathFileExistsW(const char16_t* path) {
    return path && ::PathFileExistsW(reinterpret_cast<const wchar_t*>(path));
}
