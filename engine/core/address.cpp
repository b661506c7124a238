#include "engine/core/address.h"

#include <algorithm>

namespace engine {
namespace {

std::u16string rowText(int row) {
    std::u16string s;
    for (int n = row + 1; n > 0; n /= 10)
        s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
    return s;
}

// Reads "$AB" or "$12" style parts; returns the number of units used.
std::size_t readColumn(std::u16string_view t, std::size_t i, int& col) {
    std::size_t start = i;
    int value = 0;
    while (i < t.size() && i - start < 3) {
        char16_t c = t[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        if (c < u'A' || c > u'Z')
            break;
        value = value * 26 + (c - u'A' + 1);
        ++i;
    }
    if (i == start || value > kColumnCount)
        return 0;
    col = value - 1;
    return i - start;
}

std::size_t readRow(std::u16string_view t, std::size_t i, int& row) {
    std::size_t start = i;
    long value = 0;
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9' && i - start < 6)
        value = value * 10 + (t[i++] - u'0');
    if (i == start || value < 1 || value > kRowCount)
        return 0;
    row = static_cast<int>(value - 1);
    return i - start;
}

// One corner: "A1", "A" (column only) or "1" (row only), each part with an optional "$".
struct Corner {
    std::optional<int> row, col;
};

std::optional<Corner> readCorner(std::u16string_view t) {
    Corner c;
    std::size_t i = 0;
    if (i < t.size() && t[i] == u'$')
        ++i;
    int col = 0;
    if (std::size_t n = readColumn(t, i, col)) {
        c.col = col;
        i += n;
        if (i < t.size() && t[i] == u'$')
            ++i;
    } else if (i > 0 && (i >= t.size() || t[i] < u'0' || t[i] > u'9')) {
        return std::nullopt;
    }
    int row = 0;
    if (std::size_t n = readRow(t, i, row)) {
        c.row = row;
        i += n;
    }
    if (i != t.size() || (!c.row && !c.col))
        return std::nullopt;
    return c;
}

} // namespace

std::u16string columnName(int col) {
    std::u16string s;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        s.insert(s.begin(), static_cast<char16_t>(u'A' + (n - 1) % 26));
    return s;
}

std::u16string formatAddress(const CellAddress& cell, bool absolute) {
    std::u16string s;
    if (absolute)
        s += u'$';
    s += columnName(cell.col);
    if (absolute)
        s += u'$';
    s += rowText(cell.row);
    return s;
}

std::u16string formatArea(const Area& area, bool absolute) {
    std::u16string d = absolute ? u"$" : u"";
    if (area.isWholeColumns() && !area.isWholeRows())
        return d + columnName(area.left) + u":" + d + columnName(area.right);
    if (area.isWholeRows())
        return d + rowText(area.top) + u":" + d + rowText(area.bottom);
    std::u16string first = formatAddress({area.top, area.left}, absolute);
    if (area.top == area.bottom && area.left == area.right)
        return first;
    return first + u":" + formatAddress({area.bottom, area.right}, absolute);
}

std::optional<Area> parseArea(std::u16string_view text) {
    std::size_t colon = text.find(u':');
    auto a = readCorner(text.substr(0, colon));
    if (!a)
        return std::nullopt;
    auto b = colon == std::u16string_view::npos ? a : readCorner(text.substr(colon + 1));
    if (!b)
        return std::nullopt;
    if (a->row && a->col && b->row && b->col)
        return Area{std::min(*a->row, *b->row), std::min(*a->col, *b->col), std::max(*a->row, *b->row),
                    std::max(*a->col, *b->col)};
    if (colon == std::u16string_view::npos)
        return std::nullopt;
    if (!a->row && !b->row && a->col && b->col)
        return Area::columns(std::min(*a->col, *b->col), std::max(*a->col, *b->col));
    if (!a->col && !b->col && a->row && b->row)
        return Area::rows(std::min(*a->row, *b->row), std::max(*a->row, *b->row));
    return std::nullopt;
}

} // namespace engine
