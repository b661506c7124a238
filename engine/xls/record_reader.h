#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace engine::xls {

// Walks the records of a workbook stream. A record's CONTINUE records are gathered with it: segments()
// gives the pieces as stored (strings restart their encoding flag at each piece), body() the pieces
// joined. Lengths are checked against the stream before anything is read.
class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> stream) : stream_(stream) {}

    // Moves to the next record; false at the end of the stream. A record cut short by the end of the
    // stream raises FormatError.
    bool next();
    void seek(size_t offset);

    uint16_t type() const { return type_; }
    size_t offset() const { return offset_; }
    size_t streamSize() const { return stream_.size(); }
    const std::vector<std::span<const uint8_t>>& segments() const { return segments_; }
    std::span<const uint8_t> body();
    // Stream offset of the first byte of each segment, for records whose layout refers to positions.
    size_t segmentOffset(size_t i) const { return segmentOffsets_[i]; }

private:
    std::span<const uint8_t> stream_;
    size_t pos_ = 0;
    uint16_t type_ = 0;
    size_t offset_ = 0;
    std::vector<std::span<const uint8_t>> segments_;
    std::vector<size_t> segmentOffsets_;
    std::vector<uint8_t> joined_;
};

} // namespace engine::xls
