#include "engine/model/format.h"

#include <functional>

namespace engine {

std::size_t FormatHash::operator()(const Format& f) const {
    std::size_t h = std::hash<std::u16string>()(f.font.name);
    auto mix = [&h](std::size_t v) {
        h = h * 1000003u ^ v;
    };
    mix(std::hash<double>()(f.font.size));
    mix(std::size_t(f.font.bold) | std::size_t(f.font.italic) << 1 | std::size_t(f.font.strikeout) << 2 |
        static_cast<std::size_t>(f.font.underline) << 3);
    mix(f.font.colorIndex);
    mix(f.fillColorIndex);
    for (const Border& b : f.borders)
        mix(static_cast<std::size_t>(b.style) << 12 | static_cast<std::size_t>(b.weight) << 8 | b.colorIndex);
    mix(static_cast<std::size_t>(f.horizontalAlignment));
    mix(f.wrapText);
    mix(std::hash<std::u16string>()(f.numberFormat));
    mix(std::size_t(f.locked) | std::size_t(f.formulaHidden) << 1);
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
