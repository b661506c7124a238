#include "engine/automation/values.h"

#include "engine/automation/support.h"
#include "engine/core/text.h"

#include <array>

namespace engine::automation {

namespace {

// The spreadsheet's error numbers, in the order of ErrorCode.
constexpr std::array<int, 7> kErrorNumbers = {2000, 2007, 2015, 2023, 2029, 2036, 2042};
constexpr SCODE kErrorBase = static_cast<SCODE>(0x800A0000);

} // namespace

Variant toVariant(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Empty:
        return Variant();
    case Value::Kind::Number:
        return Variant(value.asNumber());
    case Value::Kind::Text:
        return Variant(value.asText());
    case Value::Kind::Boolean:
        return Variant(value.asBoolean());
    case Value::Kind::Error:
        return Variant::error(kErrorBase | kErrorNumbers[static_cast<std::size_t>(value.asError())]);
    }
    return Variant();
}

std::optional<Value> errorValue(SCODE code) {
    int number = (code & static_cast<SCODE>(0xFFFF0000)) == kErrorBase || (code >= 0 && code < 0x10000)
                     ? code & 0xFFFF
                     : -1;
    for (std::size_t i = 0; i < kErrorNumbers.size(); ++i)
        if (kErrorNumbers[i] == number)
            return Value::error(static_cast<ErrorCode>(i));
    return std::nullopt;
}

std::u16string shownText(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Empty:
        return {};
    case Value::Kind::Number:
        return formatNumber(value.asNumber());
    case Value::Kind::Text:
        return value.asText();
    case Value::Kind::Boolean:
        return value.asBoolean() ? u"TRUE" : u"FALSE";
    case Value::Kind::Error:
        return std::u16string(errorText(value.asError()));
    }
    return {};
}

Value argumentValue(const Variant& v) {
    switch (v.vt()) {
    case VT_EMPTY:
        return Value();
    case VT_BSTR:
        return Value::text(v.bstrVal());
    case VT_BOOL:
        return Value::boolean(v.boolVal() != VARIANT_FALSE);
    case VT_ERROR:
        if (auto e = errorValue(v.scode()))
            return *e;
        fail(u"The argument is missing.");
    default:
        try {
            return Value::number(v.toDouble());
        } catch (const ComError&) {
            fail(u"The argument is not a value.");
        }
    }
}

} // namespace engine::automation
