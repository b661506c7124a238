#include "engine/model/string_pool.h"

namespace engine::detail {

std::uint32_t StringPool::intern(std::u16string_view text) {
    if (auto it = ids_.find(text); it != ids_.end())
        return it->second;
    auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.emplace_back(text);
    ids_.emplace(texts_.back(), id);
    return id;
}

std::uint32_t StringPool::intern(std::u16string_view text, std::vector<TextRun> runs) {
    if (runs.empty())
        return intern(text);
    auto [first, last] = richIds_.equal_range(text);
    for (auto it = first; it != last; ++it)
        if (runs_.at(it->second) == runs)
            return it->second;
    auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.emplace_back(text);
    richIds_.emplace(texts_.back(), id);
    runs_.emplace(id, std::move(runs));
    return id;
}

std::span<const TextRun> StringPool::runs(std::uint32_t id) const {
    auto it = runs_.find(id);
    if (it == runs_.end())
        return {};
    return it->second;
}

} // namespace engine::detail
