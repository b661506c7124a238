#include "varnel/register/material_name.h"

#include "varnel/register/formulas.h"
#include "varnel/register/lists.h"

#include <algorithm>
#include <unicode/uchar.h>

namespace layout {

std::u16string trimmed(std::u16string_view text) {
    auto blank = [](char16_t ch) {
        return u_isUWhiteSpace(ch);
    };
    const auto begin = std::find_if_not(text.begin(), text.end(), blank);
    const auto end = std::find_if_not(text.rbegin(), std::make_reverse_iterator(begin), blank).base();
    return std::u16string(begin, end);
}

NameCheck checkMaterialName(std::u16string_view name, std::u16string_view kinds, std::u16string_view magazine,
                            int year) {
    if (name.empty() || name.find(u',') != std::u16string_view::npos)
        return NameCheck::NotAName;
    const auto items = splitItems(kinds);
    if (std::find(items.begin(), items.end(), name) != items.end())
        return NameCheck::AlreadyListed;
    if (!materialListFits(std::u16string(kinds) + u"," + std::u16string(name), magazine, year))
        return NameCheck::ListFull;
    return NameCheck::Accepted;
}

} // namespace layout
