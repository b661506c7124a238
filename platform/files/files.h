#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Whole files, as the program's two documents (the register workbook and the configuration file) are
// read and written. Only regular files are read, and never more of them than their format allows; a
// file is never half-written, and one that its user may not write is not replaced. Paths are UTF-8.
namespace files {

// The whole file, at most `limit` bytes; a symbolic link is followed. Nothing, with the reason, when it
// is missing (std::errc::no_such_file_or_directory), a folder (is_a_directory), anything else that is
// not a regular file, such as a device or a FIFO (invalid_argument), longer than `limit`
// (file_too_large), or cannot be read (the system's reason). Nothing waits for a FIFO's writer.
std::optional<std::string> readFile(const std::string& path, std::size_t limit, std::error_code& error);

// Replaces the file's contents with what `write` puts into the stream it is given (false when it could
// not write; errno then says why). A symbolic link is followed: the file it points to is replaced. The
// new contents are written into an unnamed file beside the old one, flushed to disk, and only then take
// the old one's name, so a failure at any point, or the end of the process, leaves the old file as it
// was and no temporary file behind. A replaced file keeps its permissions. Refused, before anything is
// written, when the file exists and is read-only (no write permission bit at all, whoever runs the
// program: std::errc::read_only_file_system, as for a file system mounted read-only), not writable by
// this process (permission_denied), or no regular file (is_a_directory, invalid_argument).
std::error_code replaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);
std::error_code replaceFile(const std::string& path, std::string_view bytes);

// The reason of a refusal of these functions in words for a message ("it is a folder", "it is
// read-only", ...).
std::string describe(std::error_code error);

} // namespace files
