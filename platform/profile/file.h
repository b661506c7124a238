#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace profile {

// The whole file, or nothing with the reason (std::errc::no_such_file_or_directory when it is missing).
std::optional<std::string> readFile(const std::string& path, std::error_code& error);

// Replaces the file's contents so that it is never half-written: the bytes go to a temporary file in
// the same folder, which is flushed to disk and renamed over the old file. On any failure the old file
// is left as it was, the temporary file is removed and the reason is returned. A replaced file keeps
// its permissions.
std::error_code replaceFile(const std::string& path, std::string_view bytes);

} // namespace profile
