#include "engine/core/value.h"

#include <array>

namespace engine {
namespace {

constexpr std::array<std::u16string_view, 7> kErrorTexts = {u"#NULL!", u"#DIV/0!", u"#VALUE!", u"#REF!",
                                                            u"#NAME?", u"#NUM!",   u"#N/A"};

} // namespace

std::u16string_view errorText(ErrorCode code) {
    return kErrorTexts[static_cast<std::size_t>(code)];
}

std::optional<ErrorCode> parseErrorText(std::u16string_view text) {
    for (std::size_t i = 0; i < kErrorTexts.size(); ++i) {
        std::u16string_view e = kErrorTexts[i];
        if (e.size() != text.size())
            continue;
        bool same = true;
        for (std::size_t k = 0; k < e.size() && same; ++k) {
            char16_t c = text[k];
            if (c >= u'a' && c <= u'z')
                c = static_cast<char16_t>(c - u'a' + u'A');
            same = c == e[k];
        }
        if (same)
            return static_cast<ErrorCode>(i);
    }
    return std::nullopt;
}

ValueView::ValueView(const Value& v) : kind(v.kind()) {
    switch (kind) {
    case Value::Kind::Empty:
        break;
    case Value::Kind::Number:
        number = v.asNumber();
        break;
    case Value::Kind::Text:
        text = v.asText();
        break;
    case Value::Kind::Boolean:
        boolean = v.asBoolean();
        break;
    case Value::Kind::Error:
        error = v.asError();
        break;
    }
}

Value ValueView::toValue() const {
    switch (kind) {
    case Value::Kind::Number:
        return Value::number(number);
    case Value::Kind::Text:
        return Value::text(std::u16string(text));
    case Value::Kind::Boolean:
        return Value::boolean(boolean);
    case Value::Kind::Error:
        return Value::error(error);
    case Value::Kind::Empty:
        break;
    }
    return {};
}

} // namespace engine
