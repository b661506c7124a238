#include "engine/xls/filter_records.h"

#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"

namespace engine::xls {

namespace {

constexpr uint16_t FtCmo = 0x0015, FtEnd = 0x0000, FtLbsData = 0x0013, ComboBox = 0x0014;
constexpr uint8_t AutoFilterList = 0x03; // the list control's kind, in the high byte of its options

uint16_t u16At(std::span<const uint8_t> b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

} // namespace

std::optional<FilterColumn> readFilterColumn(std::span<const uint8_t> body, const Area& range) {
    if (body.size() < 2)
        return std::nullopt;
    const int col = range.left + u16At(body, 0);
    if (col > range.right)
        return std::nullopt;
    return FilterColumn{col, {body.begin() + 2, body.end()}};
}

bool isFilterArrow(std::span<const uint8_t> body) {
    if (body.size() < 8 || u16At(body, 0) != FtCmo || u16At(body, 4) != ComboBox)
        return false;
    // The list data's own length is not to be trusted (Excel writes a fixed one): its options follow a
    // formula of its own length, the number of lines and the selected line.
    for (size_t at = 0; at + 4 <= body.size();) {
        const uint16_t ft = u16At(body, at), length = u16At(body, at + 2);
        if (ft == FtEnd)
            return false;
        if (ft == FtLbsData) {
            if (body.size() - at < 6)
                return false;
            const size_t options = at + 6 + u16At(body, at + 4) + 4;
            return options + 2 <= body.size() && body[options + 1] == AutoFilterList;
        }
        at += 4 + size_t(length);
    }
    return false;
}

void putAutoFilter(RecordWriter& w, const AutoFilter& filter) {
    auto& o = w.out();
    if (filter.rowsHidden)
        w.record(rec::FilterMode, {});
    size_t h = w.begin(rec::AutoFilterInfo);
    putU16(o, uint16_t(filter.range.right - filter.range.left + 1));
    w.end(h);
    for (const FilterColumn& c : filter.columns) {
        h = w.begin(rec::AutoFilter);
        putU16(o, uint16_t(c.col - filter.range.left));
        o.insert(o.end(), c.condition.begin(), c.condition.end());
        w.end(h);
    }
}

} // namespace engine::xls
