#include "engine/xls/sst.h"

#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"
#include "engine/xls/unicode_string.h"

#include <algorithm>

namespace engine::xls {

std::vector<SstString> readSst(const std::vector<std::span<const uint8_t>>& segments) {
    SegmentedReader in(segments);
    in.u32(); // references
    uint32_t unique = in.u32();
    std::vector<SstString> strings;
    // Each string takes at least three bytes, which bounds what a lying count can make us reserve.
    strings.reserve(std::min<size_t>(unique, in.remaining() / 3));
    for (uint32_t i = 0; i < unique && !in.atEnd(); ++i) {
        SstString& s = strings.emplace_back();
        s.text = in.string(&s.runs);
    }
    return strings;
}

void writeSst(RecordWriter& w, const std::vector<std::u16string_view>& strings,
              const std::unordered_map<uint32_t, SstRuns>& runs, uint32_t references) {
    auto& out = w.out();
    const size_t perBucket = std::max<size_t>(8, (strings.size() + 127) / 128);
    std::vector<std::pair<uint32_t, uint16_t>> buckets;

    size_t header = w.begin(rec::Sst);
    putU32(out, references);
    putU32(out, uint32_t(strings.size()));
    auto used = [&] {
        return out.size() - header - 4;
    };
    auto startContinue = [&] {
        w.end(header);
        header = w.begin(rec::Continue);
    };

    static const SstRuns plain;
    for (size_t i = 0; i < strings.size(); ++i) {
        std::u16string_view s = strings[i];
        auto found = runs.find(uint32_t(i));
        const SstRuns& rich = found == runs.end() ? plain : found->second;
        bool one = fitsOneByte(s);
        size_t width = one ? 1 : 2;
        size_t headerSize = rich.empty() ? 3 : 5;
        // Never leave a string's header without its first character; a rich text that fits a record
        // starts one rather than leave its runs to the next.
        size_t whole = headerSize + s.size() * width + rich.size() * 4;
        if (used() + headerSize + (s.empty() ? 0 : width) > rec::MaxBody ||
            (!rich.empty() && used() + whole > rec::MaxBody && whole <= rec::MaxBody))
            startContinue();
        if (i % perBucket == 0)
            buckets.emplace_back(uint32_t(out.size()), uint16_t(out.size() - header));
        putU16(out, uint16_t(s.size()));
        putU8(out, uint8_t((one ? 0 : 1) | (rich.empty() ? 0 : 0x08)));
        if (!rich.empty())
            putU16(out, uint16_t(rich.size()));
        while (true) {
            size_t room = (rec::MaxBody - used()) / width;
            size_t n = std::min(room, s.size());
            putChars(out, s.substr(0, n), one);
            s.remove_prefix(n);
            if (s.empty())
                break;
            startContinue();
            putU8(out, one ? 0 : 1);
        }
        // Runs continue in the next record without an option byte.
        for (auto [first, font] : rich) {
            if (used() + 4 > rec::MaxBody)
                startContinue();
            putU16(out, first);
            putU16(out, font);
        }
    }
    w.end(header);

    size_t ext = w.begin(rec::ExtSst);
    putU16(out, uint16_t(perBucket));
    for (auto [position, offset] : buckets) {
        putU32(out, position);
        putU16(out, offset);
        putU16(out, 0);
    }
    w.end(ext);
}

} // namespace engine::xls
