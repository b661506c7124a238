#include "platform/profile/profile.h"

#include "platform/files/files.h"
#include "platform/profile/document.h"
#include "platform/text/utf.h"

#include <algorithm>

namespace {

// A profile file has no size of its own. This is far beyond any configuration, and keeps a device or a
// runaway file from filling the memory.
constexpr std::size_t kMaxFileSize = 16 << 20;

// The file's contents when they can be read as a profile file: a regular file in an encoding we read.
std::optional<profile::Document> readDocument(const std::string& path, std::error_code& error) {
    const auto bytes = files::readFile(path, kMaxFileSize, error);
    if (!bytes)
        return std::nullopt;
    profile::Document document(*bytes);
    if (document.encoding() == profile::Encoding::Undecodable)
        return std::nullopt;
    return document;
}

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
    const auto document = readDocument(text::toUtf8(path), error);
    if (!document)
        return std::u16string(fallback);
    return document->value(section, key).value_or(std::u16string(fallback));
}

std::optional<std::string> unreadable(std::u16string_view path) {
    std::error_code error;
    if (readDocument(text::toUtf8(path), error))
        return std::nullopt;
    return error ? files::describe(error) : "its text is in no encoding a profile file may have";
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
    auto document = readDocument(path, error);
    // Rewriting a file that could not be read would lose its other contents.
    if (!document && error != std::errc::no_such_file_or_directory)
        return 0;
    if (!document)
        document.emplace();
    if (!document->setValue(appName, keyName, string))
        return 0;
    const auto bytes = document->bytes();
    return bytes && !files::replaceFile(path, *bytes);
}
