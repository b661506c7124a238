#include "engine/xls/record_writer.h"

#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"

#include <algorithm>

namespace engine::xls {

size_t RecordWriter::begin(uint16_t type) {
    size_t at = out_.size();
    putU16(out_, type);
    putU16(out_, 0);
    return at;
}

void RecordWriter::end(size_t header) {
    size_t length = out_.size() - header - 4;
    if (length <= rec::MaxBody) {
        patchU16(out_, header + 2, uint16_t(length));
        return;
    }
    patchU16(out_, header + 2, uint16_t(rec::MaxBody));
    std::vector<uint8_t> rest(out_.begin() + std::ptrdiff_t(header + 4 + rec::MaxBody), out_.end());
    out_.resize(header + 4 + rec::MaxBody);
    for (size_t at = 0; at < rest.size(); at += rec::MaxBody) {
        size_t n = std::min(rec::MaxBody, rest.size() - at);
        putU16(out_, rec::Continue);
        putU16(out_, uint16_t(n));
        out_.insert(out_.end(), rest.begin() + std::ptrdiff_t(at), rest.begin() + std::ptrdiff_t(at + n));
    }
}

void RecordWriter::record(uint16_t type, const std::vector<uint8_t>& body) {
    size_t h = begin(type);
    out_.insert(out_.end(), body.begin(), body.end());
    end(h);
}

} // namespace engine::xls
