#pragma once

#include "engine/xls/bytes.h"

#include <span>
#include <string>
#include <vector>

namespace engine::xls {

// BIFF8 unicode strings: a character count, an option byte (bit 0: two bytes per character, else one;
// bit 2: phonetic data follows; bit 3: rich-text runs follow), the characters, then the runs and the
// phonetic data, which this program does not keep.
std::u16string readUnicode16(ByteReader& in); // count in 16 bits
std::u16string readUnicode8(ByteReader& in);  // count in 8 bits
// Characters only, after a count the caller has read (the option byte comes first).
std::u16string readUnicodeChars(ByteReader& in, size_t count);

// Writes a string with a 16-bit or 8-bit count, one byte per character when every character allows it.
// The 8-bit form takes at most 255 characters; callers cut longer text beforehand.
void putUnicode16(std::vector<uint8_t>& out, std::u16string_view s);
void putUnicode8(std::vector<uint8_t>& out, std::u16string_view s);
bool fitsOneByte(std::u16string_view s);
void putChars(std::vector<uint8_t>& out, std::u16string_view s, bool oneByte);

// Reads across the CONTINUE pieces of one record, where a string's characters may break at any piece
// boundary and the piece then begins with a fresh option byte (the encoding may change there).
class SegmentedReader {
public:
    explicit SegmentedReader(const std::vector<std::span<const uint8_t>>& segments) : segments_(segments) {}

    bool atEnd();
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    void skip(size_t n);
    // A whole string: count, option byte, characters, runs and phonetic data. The runs (first character,
    // font index) go to `runs` when it is given.
    std::u16string string(std::vector<std::pair<uint16_t, uint16_t>>* runs = nullptr);
    // Bytes left in all pieces, for sizing reservations against what the file can hold.
    size_t remaining() const;

private:
    size_t available();
    void nextSegment();

    const std::vector<std::span<const uint8_t>>& segments_;
    size_t seg_ = 0;
    size_t pos_ = 0;
};

} // namespace engine::xls
