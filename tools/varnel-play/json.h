#pragma once

#include "engine/core/value.h"

#include <string>
#include <string_view>
#include <vector>

// One JSON object on one line, its fields in the order they are added; text is written as UTF-8.
namespace play {

class JsonLine {
public:
    JsonLine() = default;
    // {"event":"…", …}
    explicit JsonLine(std::string_view event) { text("event", event); }

    JsonLine& text(std::string_view name, std::u16string_view value);
    JsonLine& text(std::string_view name, std::string_view utf8);
    JsonLine& number(std::string_view name, double value);
    JsonLine& boolean(std::string_view name, bool value);
    JsonLine& null(std::string_view name);
    // A value already in JSON (an array, an object).
    JsonLine& raw(std::string_view name, std::string_view json);
    // A cell's value as two fields: "type" (number, text, bool, error or empty) and "value".
    JsonLine& cellValue(const engine::Value& value);

    std::string str() const { return body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_ = "{";
};

// A JSON array of values already in JSON.
std::string jsonArray(const std::vector<std::string>& items);

// A JSON string literal, quotes included.
std::string quoted(std::string_view utf8);
std::string quoted(std::u16string_view text);

} // namespace play
