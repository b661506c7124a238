#pragma once

#include "platform/text/utf.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

// A fresh folder per test, removed afterwards, and the byte-exact file access the tests compare with.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        do
            path_ = std::filesystem::temp_directory_path() / ("profile-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::u16string u16(const std::filesystem::path& path) {
    return text::toUtf16(path.string());
}

inline std::string utf8(std::u16string_view text) {
    return text::toUtf8(text);
}

// UTF-16 of either byte order, with its byte-order mark unless told otherwise, spelt out byte by byte.
inline std::string utf16(std::u16string_view text, bool bigEndian, bool marked = true) {
    std::string bytes = !marked ? "" : bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += char(bigEndian ? unit >> 8 : unit & 0xFF);
        bytes += char(bigEndian ? unit & 0xFF : unit >> 8);
    }
    return bytes;
}

inline std::string utf16le(std::u16string_view text) {
    return utf16(text, false);
}
