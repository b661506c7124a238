#include "platform/profile/profile.h"

#include "platform/profile/document.h"
#include "platform/profile/file.h"
#include "platform/text/utf.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

std::u16string_view trimEnd(std::u16string_view s) {
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

namespace profile {

std::u16string readString(std::u16string_view section, std::u16string_view key, std::u16string_view fallback,
                          std::u16string_view path) {
    std::error_code error;
    const auto bytes = readFile(text::toUtf8(path), error);
    if (!bytes)
        return std::u16string(fallback);
    return Document(*bytes).value(section, key).value_or(std::u16string(fallback));
}

} // namespace profile

std::uint32_t GetPrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                       const char16_t* defaultValue, char16_t* returnedString,
                                       std::uint32_t size, const char16_t* fileName) {
    if (!returnedString || size == 0)
        return 0;
    const std::u16string_view fallback = trimEnd(defaultValue ? defaultValue : u"");
    const std::u16string value = appName && keyName && fileName
                                     ? profile::readString(appName, keyName, fallback, fileName)
                                     : std::u16string(fallback);
    const std::size_t copied = std::min<std::size_t>(value.size(), size - 1);
    std::copy_n(value.begin(), copied, returnedString);
    returnedString[copied] = u'\0';
    return std::uint32_t(copied);
}

int WritePrivateProfileStringW(const char16_t* appName, const char16_t* keyName, const char16_t* string,
                               const char16_t* fileName) {
    if (!appName || !keyName || !string || !fileName)
        return 0;
    const std::string path = text::toUtf8(fileName);
    std::error_code error;
    const auto old = profile::readFile(path, error);
    if (!old && error != std::errc::no_such_file_or_directory)
        return 0; // rewriting a file that could not be read would lose its other contents
    profile::Document document = old ? profile::Document(*old) : profile::Document();
    if (!document.setValue(appName, keyName, string))
        return 0;
    const auto bytes = document.bytes();
    return bytes && !profile::replaceFile(path, *bytes);
}

int PathFileExistsW(const char16_t* path) {
    struct stat status {};
    return path && ::stat(text::toUtf8(path).c_str(), &status) == 0;
}
