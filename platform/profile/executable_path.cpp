#include "platform/profile/executable_path.h"

#include "platform/text/utf.h"

#include <filesystem>

namespace profile {

std::u16string executablePath() {
    std::error_code error;
    return text::toUtf16(std::filesystem::read_symlink("/proc/self/exe", error).string());
}

} // namespace profile
