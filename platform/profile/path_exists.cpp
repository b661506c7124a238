#include "platform/profile/profile.h"
#include "platform/text/utf.h"

#include <sys/stat.h>

int PathFileExistsW(const char16_t* path) {
    struct stat status {};
    return path && ::stat(text::toUtf8(path).c_str(), &status) == 0;
}
