#include "platform/profile/program_folder.h"

#include "platform/profile/executable_path.h"

#include <algorithm>

namespace profile {
namespace {

std::u16string& folderOverride() {
    static std::u16string folder;
    return folder;
}

std::u16string_view folderOf(std::u16string_view path) {
    return path.substr(0, path.rfind(u'/') + 1);
}

} // namespace

std::u16string moduleFileName() {
    const std::u16string real = executablePath();
    if (folderOverride().empty())
        return real;
    return folderOverride() + std::u16string(std::u16string_view(real).substr(folderOf(real).size()));
}

std::u16string programFolder() {
    return std::u16string(folderOf(moduleFileName()));
}

void setProgramFolder(std::u16string_view folder) {
    folderOverride() = folder;
    if (!folder.empty() && folder.back() != u'/')
        folderOverride() += u'/';
}

} // namespace profile

std::uint32_t GetModuleFileNameW(void*, char16_t* fileName, std::uint32_t size) {
    if (!fileName || size == 0)
        return 0;
    const std::u16string path = profile::moduleFileName();
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    std::copy_n(path.begin(), copied, fileName);
    fileName[copied] = u'\0';
    return copied < path.size() ? size : std::uint32_t(copied);
}
