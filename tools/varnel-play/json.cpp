#include "tools/varnel-play/json.h"

#include "platform/text/utf.h"

#include <cmath>
#include <cstdio>

namespace play {

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (const std::string& item : items) {
        if (out.size() > 1)
            out += ',';
        out += item;
    }
    return out + "]";
}

std::string quoted(std::u16string_view text) {
    return quoted(text::toUtf8(text));
}

void JsonLine::key(std::string_view name) {
    if (body_.size() > 1)
        body_ += ',';
    body_ += quoted(name);
    body_ += ':';
}

JsonLine& JsonLine::text(std::string_view name, std::u16string_view value) {
    key(name);
    body_ += quoted(value);
    return *this;
}

JsonLine& JsonLine::text(std::string_view name, std::string_view utf8) {
    key(name);
    body_ += quoted(utf8);
    return *this;
}

JsonLine& JsonLine::number(std::string_view name, double value) {
    key(name);
    char digits[32];
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        std::snprintf(digits, sizeof digits, "%.0f", value);
    else if (std::isfinite(value))
        std::snprintf(digits, sizeof digits, "%.15g", value);
    else
        std::snprintf(digits, sizeof digits, "null");
    body_ += digits;
    return *this;
}

JsonLine& JsonLine::boolean(std::string_view name, bool value) {
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::null(std::string_view name) {
    key(name);
    body_ += "null";
    return *this;
}

JsonLine& JsonLine::raw(std::string_view name, std::string_view json) {
    key(name);
    body_ += json;
    return *this;
}

JsonLine& JsonLine::cellValue(const engine::Value& value) {
    using Kind = engine::Value::Kind;
    switch (value.kind()) {
    case Kind::Number:
        return text("type", "number").number("value", value.asNumber());
    case Kind::Text:
        return text("type", "text").text("value", value.asText());
    case Kind::Boolean:
        return text("type", "bool").boolean("value", value.asBoolean());
    case Kind::Error:
        return text("type", "error").text("value", engine::errorText(value.asError()));
    case Kind::Empty:
        break;
    }
    return text("type", "empty").null("value");
}

} // namespace play
