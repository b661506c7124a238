#include "engine/xls/unicode_string.h"

#include <algorithm>

namespace engine::xls {

namespace {

constexpr uint8_t HighByte = 0x01;
constexpr uint8_t Phonetic = 0x04;
constexpr uint8_t RichText = 0x08;

std::u16string readStringBody(ByteReader& in, size_t count) {
    uint8_t flags = in.u8();
    size_t runs = (flags & RichText) ? in.u16() : 0;
    size_t phonetic = (flags & Phonetic) ? in.u32() : 0;
    std::u16string s;
    if (flags & HighByte) {
        auto b = in.bytes(count * 2);
        s.resize(count);
        for (size_t i = 0; i < count; ++i)
            s[i] = char16_t(b[2 * i] | (b[2 * i + 1] << 8));
    } else {
        auto b = in.bytes(count);
        s.assign(b.begin(), b.end());
    }
    in.skip(runs * 4);
    in.skip(phonetic);
    return s;
}

} // namespace

std::u16string readUnicode16(ByteReader& in) {
    size_t count = in.u16();
    return readStringBody(in, count);
}

std::u16string readUnicode8(ByteReader& in) {
    size_t count = in.u8();
    return readStringBody(in, count);
}

std::u16string readUnicodeChars(ByteReader& in, size_t count) {
    return readStringBody(in, count);
}

bool fitsOneByte(std::u16string_view s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

void putChars(std::vector<uint8_t>& out, std::u16string_view s, bool oneByte) {
    if (oneByte) {
        for (char16_t c : s)
            out.push_back(uint8_t(c));
    } else {
        for (char16_t c : s)
            putU16(out, uint16_t(c));
    }
}

void putUnicode16(std::vector<uint8_t>& out, std::u16string_view s) {
    bool one = fitsOneByte(s);
    putU16(out, uint16_t(s.size()));
    putU8(out, one ? 0 : HighByte);
    putChars(out, s, one);
}

void putUnicode8(std::vector<uint8_t>& out, std::u16string_view s) {
    bool one = fitsOneByte(s);
    putU8(out, uint8_t(s.size()));
    putU8(out, one ? 0 : HighByte);
    putChars(out, s, one);
}

size_t SegmentedReader::available() {
    while (seg_ < segments_.size() && pos_ == segments_[seg_].size()) {
        ++seg_;
        pos_ = 0;
    }
    return seg_ < segments_.size() ? segments_[seg_].size() - pos_ : 0;
}

bool SegmentedReader::atEnd() {
    return available() == 0;
}

size_t SegmentedReader::remaining() const {
    size_t n = 0;
    for (size_t i = seg_; i < segments_.size(); ++i)
        n += segments_[i].size() - (i == seg_ ? pos_ : 0);
    return n;
}

uint8_t SegmentedReader::u8() {
    if (available() == 0)
        throw FormatError("the shared string table is shorter than its contents require");
    return segments_[seg_][pos_++];
}

uint16_t SegmentedReader::u16() {
    uint16_t lo = u8();
    return uint16_t(lo | (u8() << 8));
}

uint32_t SegmentedReader::u32() {
    uint32_t lo = u16();
    return lo | uint32_t(u16()) << 16;
}

void SegmentedReader::skip(size_t n) {
    while (n > 0) {
        size_t a = available();
        if (a == 0)
            throw FormatError("the shared string table is shorter than its contents require");
        size_t k = std::min(a, n);
        pos_ += k;
        n -= k;
    }
}

void SegmentedReader::nextSegment() {
    if (seg_ < segments_.size() && pos_ == segments_[seg_].size()) {
        ++seg_;
        pos_ = 0;
    }
}

std::u16string SegmentedReader::string(std::vector<std::pair<uint16_t, uint16_t>>* runList) {
    size_t count = u16();
    uint8_t flags = u8();
    size_t runs = (flags & RichText) ? u16() : 0;
    size_t phonetic = (flags & Phonetic) ? u32() : 0;
    bool high = flags & HighByte;
    std::u16string s;
    s.reserve(std::min(count, remaining()));
    while (s.size() < count) {
        size_t a = seg_ < segments_.size() ? segments_[seg_].size() - pos_ : 0;
        if (a == 0) {
            // The characters continue in the next piece, which starts with its own option byte.
            nextSegment();
            if (seg_ >= segments_.size() || segments_[seg_].empty())
                throw FormatError("the shared string table is shorter than its contents require");
            high = segments_[seg_][pos_++] & HighByte;
            continue;
        }
        const uint8_t* p = segments_[seg_].data() + pos_;
        size_t want = count - s.size();
        if (high) {
            size_t n = std::min(want, a / 2);
            if (n == 0)
                throw FormatError("a string's two-byte character is split between records");
            for (size_t i = 0; i < n; ++i)
                s.push_back(char16_t(p[2 * i] | (p[2 * i + 1] << 8)));
            pos_ += 2 * n;
        } else {
            size_t n = std::min(want, a);
            s.append(p, p + n);
            pos_ += n;
        }
    }
    if (runList) {
        runList->clear();
        runList->reserve(std::min(runs, remaining() / 4));
        for (size_t i = 0; i < runs; ++i) {
            uint16_t first = u16();
            runList->emplace_back(first, u16());
        }
    } else {
        skip(runs * 4);
    }
    skip(phonetic);
    return s;
}

} // namespace engine::xls
