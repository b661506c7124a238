// The digits by ICU's number formatter, with one formatter kept for each precision and scale asked for.
#include "engine/core/decimal_digits.h"

#include <map>
#include <unicode/numberformatter.h>
#include <utility>

namespace engine::detail {

namespace {

using namespace icu::number;

UnlocalizedNumberFormatter base() {
    return NumberFormatter::with()
        .roundingMode(UNUM_ROUND_HALFUP)
        .grouping(UNUM_GROUPING_OFF)
        .sign(UNUM_SIGN_NEVER);
}

const LocalizedNumberFormatter& fixedFormatter(int fractionDigits, int powerOfTen) {
    static std::map<std::pair<int, int>, LocalizedNumberFormatter> kept;
    auto key = std::pair(fractionDigits, powerOfTen);
    auto at = kept.find(key);
    if (at == kept.end()) {
        auto made = base()
                        .precision(Precision::fixedFraction(fractionDigits))
                        .scale(Scale::powerOfTen(powerOfTen))
                        .locale(icu::Locale::getRoot());
        at = kept.emplace(key, std::move(made)).first;
    }
    return at->second;
}

std::u16string toU16(const FormattedNumber& formatted, UErrorCode& status) {
    icu::UnicodeString s = formatted.toString(status);
    if (U_FAILURE(status))
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(s.getBuffer()), std::size_t(s.length()));
}

} // namespace

std::u16string fixedDigits(double x, int fractionDigits, int powerOfTen) {
    UErrorCode status = U_ZERO_ERROR;
    return toU16(fixedFormatter(fractionDigits, powerOfTen).formatDouble(x, status), status);
}

std::u16string fixedDigits(std::string_view decimal, int fractionDigits) {
    UErrorCode status = U_ZERO_ERROR;
    icu::StringPiece text(decimal.data(), int32_t(decimal.size()));
    return toU16(fixedFormatter(fractionDigits, 0).formatDecimal(text, status), status);
}

std::u16string scientificDigits(double x, int powerOfTen) {
    static std::map<int, LocalizedNumberFormatter> kept;
    auto at = kept.find(powerOfTen);
    if (at == kept.end()) {
        auto made = base()
                        .notation(Notation::scientific())
                        .precision(Precision::unlimited())
                        .scale(Scale::powerOfTen(powerOfTen))
                        .locale(icu::Locale::getRoot());
        at = kept.emplace(powerOfTen, std::move(made)).first;
    }
    UErrorCode status = U_ZERO_ERROR;
    return toU16(at->second.formatDouble(x, status), status);
}

} // namespace engine::detail
