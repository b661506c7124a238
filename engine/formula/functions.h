#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace engine::formula {

// The worksheet functions the engine computes. Their order is internal; files map them by name.
struct FunctionInfo {
    std::u16string_view name; // in capitals
    int minArgs;
    int maxArgs;    // 255 for "any number"
    bool volatile_; // result changes without any cell changing (TODAY)
};

// The function of that name (any case), or nothing when the engine does not know it.
std::optional<std::uint16_t> findFunction(std::u16string_view name);
const FunctionInfo& functionInfo(std::uint16_t id);

} // namespace engine::formula
