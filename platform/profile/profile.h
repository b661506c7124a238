#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Stand-ins for the Windows profile-file functions, with their rules (see profile::Document) and their
// signatures over UTF-16 text: BOOL results are int, DWORD sizes are 32-bit unsigned. Paths are UTF-16
// and name files through their UTF-8 form.

// Copies the value, or `defaultValue` (blanks at its end removed; null means empty) when the file,
// section or key is missing, into `returnedString`, cut to `size` - 1 characters and always
// terminated. Returns the number of characters copied, without the terminator. Listing the names of a
// file (a null section or key) is not offered: such a call gives the default.
std::uint32_t GetPrivateProfileStringW(const char16_t* appName, const char16_t* keyName,
                                       const char16_t* defaultValue, char16_t* returnedString,
                                       std::uint32_t size, const char16_t* fileName);

// Sets the value, creating the file and the section as needed, and rewrites the file in its own
// encoding without ever leaving it half-written (files::replaceFile). Returns nonzero on success; zero
// when the file cannot be read or written (the file is then unchanged; a read-only file is not
// replaced) or the names or value would not read back as written. Deleting (a null key or value) is
// not offered and fails.
int WritePrivateProfileStringW(const char16_t* appName, const char16_t* keyName, const char16_t* string,
                               const char16_t* fileName);

// Nonzero when a file or folder of that name exists.
int PathFileExistsW(const char16_t* path);

namespace profile {

// The value whole, however long, or `fallback` when the file, section or key is missing. A file that
// cannot be read (see unreadable) counts as missing.
std::u16string readString(std::u16string_view section, std::u16string_view key, std::u16string_view fallback,
                          std::u16string_view path);

// Why the file cannot be read as a profile file, in words for a warning ("No such file or directory",
// "it is a folder", ...); nothing when it can. Only a regular file whose text is in an encoding of
// encoding.h is read; any other file reads as missing and is never written.
std::optional<std::string> unreadable(std::u16string_view path);

} // namespace profile
