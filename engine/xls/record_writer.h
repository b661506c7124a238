#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine::xls {

// Appends records to a workbook stream. A record's body is written straight into the stream between
// begin() and end(); end() fills in the length and moves anything beyond the BIFF8 limit into CONTINUE
// records.
class RecordWriter {
public:
    explicit RecordWriter(std::vector<uint8_t>& out) : out_(out) {}

    size_t begin(uint16_t type);
    void end(size_t header);
    // A record whose body is written in one go.
    void record(uint16_t type, const std::vector<uint8_t>& body);

    std::vector<uint8_t>& out() { return out_; }
    size_t size() const { return out_.size(); }

private:
    std::vector<uint8_t>& out_;
};

} // namespace engine::xls
