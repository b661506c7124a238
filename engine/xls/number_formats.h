#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The number formats a BIFF8 file names by index without a FORMAT record of its own (the built-in
// ones), and the indexes from which a file's own formats are numbered.
namespace engine::xls {

// The first index of a workbook's own formats.
constexpr uint16_t FirstCustomFormat = 164;

// The code of a built-in format; nothing for an index no built-in format has. Those that depend on the
// system's locale (short dates, currencies, the Chinese date and time formats) are given as Chinese
// Excel shows them.
std::optional<std::u16string> builtInFormat(uint16_t index);

// The built-in index a writer may use for `code` without a FORMAT record: only numbers that every
// reader knows by the same code whatever its locale (not dates and times). Nothing for other codes.
std::optional<uint16_t> sharedBuiltInIndex(std::u16string_view code);

} // namespace engine::xls
