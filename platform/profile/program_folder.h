#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The program folder: the folder of the running executable, which holds the register workbook and the
// configuration file.

// Stand-in for the Windows function: the executable's full path (there are no other modules here, so
// `module` is not looked at), cut to `size` - 1 characters and terminated when it does not fit, in
// which case it returns `size`; otherwise it returns the path's length.
std::uint32_t GetModuleFileNameW(void* module, char16_t* fileName, std::uint32_t size);

namespace profile {

// The executable's full path, from /proc/self/exe, or the executable's name in the folder set below.
std::u16string moduleFileName();

// The module file name up to and including its last "/".
std::u16string programFolder();

// Makes the program believe it runs from `folder` (tests and the headless runner point it at their own
// data this way); an empty folder restores the real one.
void setProgramFolder(std::u16string_view folder);

} // namespace profile
