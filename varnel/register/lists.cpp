#include "varnel/register/lists.h"

#include "varnel/register/layout.h"

#include <string>

namespace layout {

namespace {

std::u16string magazineItems(std::u16string_view magazine, int year) {
    std::u16string items = u",";
    items += yearItem(year, magazine);
    items += u",";
    items += yearItem(year + 1, magazine);
    return items;
}

// The longest start of the list that ends before a comma and has at most `limit` characters.
std::u16string_view wholeItemsWithin(std::u16string_view list, std::size_t limit) {
    if (list.size() <= limit)
        return list;
    const std::size_t comma = list.rfind(u',', limit);
    return list.substr(0, comma == std::u16string_view::npos ? 0 : comma);
}

} // namespace

std::u16string decimal(long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string yearItem(int year, std::u16string_view magazine) {
    return decimal(year) + u"年度" + std::u16string(magazine);
}

std::u16string yearList(int year) {
    return decimal(year - 1) + u"," + decimal(year);
}

std::u16string materialList(std::u16string_view kinds, std::u16string_view magazine, int year) {
    const std::u16string items = magazineItems(magazine, year);
    if (kinds.size() + items.size() <= maxListLength)
        return std::u16string(kinds) + items;
    if (items.size() < maxListLength) {
        const std::u16string_view kept = wholeItemsWithin(kinds, maxListLength - items.size());
        if (kept.empty())
            return items.substr(1);
        return std::u16string(kept) + items;
    }
    // A magazine name so long that its two items alone overflow: whole items from the start, or the
    // first characters when not even one item fits.
    const std::u16string whole = std::u16string(kinds) + items;
    const std::u16string_view kept = wholeItemsWithin(whole, maxListLength);
    return std::u16string(kept.empty() ? std::u16string_view(whole).substr(0, maxListLength) : kept);
}

bool materialListFits(std::u16string_view kinds, std::u16string_view magazine, int year) {
    return kinds.size() + magazineItems(magazine, year).size() <= maxListLength;
}

} // namespace layout
