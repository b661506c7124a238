#pragma once

#include "engine/xls/error.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace engine::xls {

// Little-endian reads over a bounded byte range. Every read is checked: a length taken from the file can
// never move the cursor past the end of the record it came from.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    size_t position() const { return pos_; }
    size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }

    [[gnu::always_inline]] uint8_t u8() {
        need(1);
        return data_[pos_++];
    }
    uint8_t peekU8() {
        need(1);
        return data_[pos_];
    }
    [[gnu::always_inline]] uint16_t u16() {
        need(2);
        uint16_t v = uint16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    [[gnu::always_inline]] uint32_t u32() {
        need(4);
        uint32_t v = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                     uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    int16_t i16() { return int16_t(u16()); }
    int32_t i32() { return int32_t(u32()); }
    [[gnu::always_inline]] double f64() {
        need(8);
        double v;
        std::memcpy(&v, data_.data() + pos_, 8);
        pos_ += 8;
        return v;
    }
    std::span<const uint8_t> bytes(size_t n) {
        need(n);
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    void skip(size_t n) { bytes(n); }

private:
    void need(size_t n) const {
        if (n > data_.size() - pos_) [[unlikely]]
            tooShort();
    }
    // Out of line, so that the reads themselves stay small enough to be inlined.
    [[noreturn]] static void tooShort();

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

// Little-endian appends to a growing buffer.
inline void putU8(std::vector<uint8_t>& out, uint8_t v) {
    out.push_back(v);
}
inline void putU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
inline void putU32(std::vector<uint8_t>& out, uint32_t v) {
    putU16(out, uint16_t(v));
    putU16(out, uint16_t(v >> 16));
}
inline void putF64(std::vector<uint8_t>& out, double v) {
    uint8_t b[8];
    std::memcpy(b, &v, 8);
    out.insert(out.end(), b, b + 8);
}
inline void patchU16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}
inline void patchU32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    patchU16(out, at, uint16_t(v));
    patchU16(out, at + 2, uint16_t(v >> 16));
}

} // namespace engine::xls
