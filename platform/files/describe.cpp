#include "platform/files/files.h"

namespace files {

std::string describe(std::error_code error) {
    if (error == std::errc::is_a_directory)
        return "it is a folder";
    if (error == std::errc::invalid_argument)
        return "it is not a regular file";
    if (error == std::errc::file_too_large)
        return "it is larger than its format allows";
    if (error == std::errc::read_only_file_system)
        return "it is read-only";
    return error.message();
}

} // namespace files
