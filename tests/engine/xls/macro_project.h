#pragma once

#include <filesystem>

namespace engine::xls::testing {

// Gives an Excel 97-2003 file the name of a macro project among its workbook globals (CODENAME), as a
// workbook with macros carries it: something the reader lists as "macros" and does not keep.
void addMacroProjectName(const std::filesystem::path& file);

} // namespace engine::xls::testing
