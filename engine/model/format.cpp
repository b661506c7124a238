#include "engine/model/format.h"

#include <functional>

namespace engine {

std::size_t FormatHash::operator()(const Format& f) const {
    std::size_t h = f.bold;
    auto mix = [&h](std::size_t v) {
        h = h * 1000003u ^ v;
    };
    mix(f.fontColorIndex);
    mix(f.fillColorIndex);
    for (const Border& b : f.borders)
        mix(static_cast<std::size_t>(b.style) << 4 | static_cast<std::size_t>(b.weight));
    mix(static_cast<std::size_t>(f.horizontalAlignment));
    mix(f.wrapText);
    return h;
}

FormatTable::FormatTable() {
    intern(Format{});
}

FormatId FormatTable::intern(const Format& format) {
    auto [it, added] = ids_.try_emplace(format, static_cast<FormatId>(formats_.size()));
    if (added)
        formats_.push_back(format);
    return it->second;
}

} // namespace engine
