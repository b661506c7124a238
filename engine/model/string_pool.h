#pragma once

#include "engine/model/format.h"

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine::detail {

// Every distinct text of a workbook's cells once: a register repeats the same material and unit names
// tens of thousands of times. Texts stay until the workbook is closed, as in a file's shared string table.
// A text with runs in fonts of their own (rich text) is a text of its own, kept once per set of runs.
class StringPool {
public:
    std::uint32_t intern(std::u16string_view text);
    std::uint32_t intern(std::u16string_view text, std::vector<TextRun> runs);
    std::u16string_view get(std::uint32_t id) const { return texts_[id]; }
    // Nothing for a plain text.
    std::span<const TextRun> runs(std::uint32_t id) const;

private:
    std::deque<std::u16string> texts_; // a deque keeps the keys' storage in place as it grows
    std::unordered_map<std::u16string_view, std::uint32_t> ids_;
    std::unordered_map<std::uint32_t, std::vector<TextRun>> runs_;
    std::unordered_multimap<std::u16string_view, std::uint32_t> richIds_;
};

} // namespace engine::detail
