#include "varnel/register/formulas.h"

namespace layout {

namespace {

// Criteria of COUNTIF and of the advanced filter treat * and ? as wildcards and ~ as their escape.
std::u16string escapeWildcards(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (char16_t ch : text) {
        if (ch == u'*' || ch == u'?' || ch == u'~')
            escaped.push_back(u'~');
        escaped.push_back(ch);
    }
    return escaped;
}

// The missing-kinds cell of kinds too many to list: a formula giving the words that say so.
std::u16string unlistedFormula() {
    std::u16string formula = u"=";
    formula.append(quoted(missingKindsUnlisted));
    return formula;
}

std::u16string listingMissingKinds(std::u16string_view materials, std::u16string_view kinds) {
    std::u16string terms;
    for (const std::u16string& kind : splitItems(kinds)) {
        terms += u"IF(COUNTIF(";
        terms += materials;
        terms += u",";
        terms += quoted(literalCriterion(kind));
        terms += u"),\"\",";
        terms += quoted(kind + u" ");
        terms += u")&";
    }
    while (!terms.empty() && terms.back() == u'&')
        terms.pop_back();
    if (terms.empty())
        terms = u"\"\"";
    return u"=SUBSTITUTE(TRIM(" + terms + u"),\" \",\"、\")";
}

} // namespace

std::u16string literalCriterion(std::u16string_view text) {
    std::u16string criterion = escapeWildcards(text);
    if (!text.empty() && (text.front() == u'=' || text.front() == u'<' || text.front() == u'>'))
        criterion.insert(criterion.begin(), u'=');
    return criterion;
}

std::vector<std::u16string> splitItems(std::u16string_view list) {
    std::vector<std::u16string> items;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(u',', start);
        if (comma == std::u16string_view::npos)
            comma = list.size();
        if (comma > start)
            items.emplace_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

std::u16string spanning(std::u16string_view from, std::u16string_view to) {
    std::u16string range(from);
    range += u':';
    range += to;
    return range;
}

std::u16string quoted(std::u16string_view text) {
    std::u16string constant = u"\"";
    for (char16_t ch : text) {
        constant.push_back(ch);
        if (ch == u'"')
            constant.push_back(u'"');
    }
    constant.push_back(u'"');
    return constant;
}

std::u16string amountFormula(std::u16string_view quantity, std::u16string_view price) {
    std::u16string q(quantity), p(price);
    return u"=IF(OR(" + q + u"<1," + p + u"<1),\"\",PRODUCT(" + q + u"," + p + u"))";
}

std::optional<long> amountFormulaRow(std::u16string_view formula) {
    constexpr std::u16string_view start = u"=IF(OR($C$";
    if (!formula.starts_with(start))
        return std::nullopt;
    // Up to the 65,536 rows of a sheet: at most five digits, none of them a leading zero.
    std::u16string_view digits = formula.substr(start.size());
    digits = digits.substr(0, digits.find_first_not_of(u"0123456789"));
    if (digits.empty() || digits.size() > 5 || digits.front() == u'0')
        return std::nullopt;
    long row = 0;
    for (char16_t d : digits)
        row = row * 10 + (d - u'0');
    const std::u16string number(digits);
    if (formula != amountFormula(u"$C$" + number, u"$D$" + number))
        return std::nullopt;
    return row;
}

std::u16string totalFormula(std::u16string_view amounts) {
    return u"=SUM(" + std::u16string(amounts) + u")";
}

bool missingKindsFit(std::u16string_view kinds) {
    return listingMissingKinds(u"$B$65535:$B$65536", kinds).size() - 1 <= maxFormulaLength;
}

std::u16string missingKindsFormula(std::u16string_view materials, std::u16string_view kinds) {
    return missingKindsFit(kinds) ? listingMissingKinds(materials, kinds) : unlistedFormula();
}

std::u16string exactCriterion(std::u16string_view text) {
    if (text.empty())
        return {};
    std::u16string criterion = u"=";
    criterion += quoted(std::u16string(u"=") += escapeWildcards(text));
    return criterion;
}

} // namespace layout
