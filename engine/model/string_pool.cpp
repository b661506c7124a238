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

} // namespace engine::detail
