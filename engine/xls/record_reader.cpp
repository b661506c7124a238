#include "engine/xls/record_reader.h"

#include "engine/xls/bytes.h"
#include "engine/xls/error.h"
#include "engine/xls/record_types.h"

namespace engine::xls {

namespace {

uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

} // namespace

void ByteReader::tooShort() {
    throw FormatError("a record is shorter than its contents require");
}

void RecordReader::seek(size_t offset) {
    if (offset > stream_.size())
        throw FormatError("a sheet's position lies beyond the end of the workbook stream");
    pos_ = offset;
}

bool RecordReader::next() {
    segments_.clear();
    segmentOffsets_.clear();
    if (pos_ == stream_.size())
        return false;
    auto header = [&](size_t at, uint16_t& type, size_t& length) {
        if (stream_.size() - at < 4)
            throw FormatError("the workbook stream ends inside a record header");
        type = le16(&stream_[at]);
        length = le16(&stream_[at + 2]);
        if (stream_.size() - at - 4 < length)
            throw FormatError("the workbook stream ends inside a record");
    };
    size_t length;
    header(pos_, type_, length);
    offset_ = pos_;
    segments_.push_back(stream_.subspan(pos_ + 4, length));
    segmentOffsets_.push_back(pos_ + 4);
    pos_ += 4 + length;
    while (stream_.size() - pos_ >= 4 && le16(&stream_[pos_]) == rec::Continue) {
        uint16_t t;
        header(pos_, t, length);
        segments_.push_back(stream_.subspan(pos_ + 4, length));
        segmentOffsets_.push_back(pos_ + 4);
        pos_ += 4 + length;
    }
    return true;
}

std::span<const uint8_t> RecordReader::body() {
    if (segments_.size() == 1)
        return segments_.front();
    joined_.clear();
    for (auto s : segments_)
        joined_.insert(joined_.end(), s.begin(), s.end());
    return joined_;
}

} // namespace engine::xls
