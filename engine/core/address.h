#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Cell coordinates of a sheet. Rows and columns count from 0 here (row 0 is Excel's row 1, column 0 is
// column A); only text (A1 notation) and the object model count from 1.
namespace engine {

inline constexpr int kRowCount = 65536;
inline constexpr int kColumnCount = 256;
inline constexpr int kLastRow = kRowCount - 1;
inline constexpr int kLastColumn = kColumnCount - 1;

struct CellAddress {
    int row = 0;
    int col = 0;
    friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

// An inclusive rectangle of cells.
struct Area {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    static Area cell(int row, int col) { return {row, col, row, col}; }
    static Area rows(int first, int last) { return {first, 0, last, kLastColumn}; }
    static Area columns(int first, int last) { return {0, first, kLastRow, last}; }
    static Area wholeSheet() { return {0, 0, kLastRow, kLastColumn}; }

    int rowCount() const { return bottom - top + 1; }
    int columnCount() const { return right - left + 1; }
    bool isWholeRows() const { return left == 0 && right == kLastColumn; }
    bool isWholeColumns() const { return top == 0 && bottom == kLastRow; }
    bool contains(int row, int col) const {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
    bool contains(const Area& o) const {
        return o.top >= top && o.bottom <= bottom && o.left >= left && o.right <= right;
    }
    bool intersects(const Area& o) const {
        return o.top <= bottom && o.bottom >= top && o.left <= right && o.right >= left;
    }
    friend bool operator==(const Area&, const Area&) = default;
};

// "A", "B", ..., "IV".
std::u16string columnName(int col);

// "A1", "$E$12", "$E$6:$E$9", "$1:$2", "$B:$B" (whole rows and columns are written the way Excel's
// Range.Address writes them). `absolute` puts a "$" before every column and row part.
std::u16string formatAddress(const CellAddress& cell, bool absolute);
std::u16string formatArea(const Area& area, bool absolute);

// Reads "A1", "$b$2", "A1:G1", "1:2", "B:B", "B65536" (case and "$" ignored; corners in any order).
// Nothing when the text is not such an address or lies outside the sheet.
std::optional<Area> parseArea(std::u16string_view text);

} // namespace engine
