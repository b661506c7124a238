#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine::detail {

// Every distinct text of a workbook's cells once: a register repeats the same material and unit names
// tens of thousands of times. Texts stay until the workbook is closed, as in a file's shared string table.
class StringPool {
public:
    std::uint32_t intern(std::u16string_view text);
    std::u16string_view get(std::uint32_t id) const { return texts_[id]; }

private:
    std::deque<std::u16string> texts_; // a deque keeps the keys' storage in place as it grows
    std::unordered_map<std::u16string_view, std::uint32_t> ids_;
};

} // namespace engine::detail
