#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace engine {

enum class ErrorCode : std::uint8_t { Null, Div0, Value, Ref, Name, Num, NA };

// "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A".
std::u16string_view errorText(ErrorCode code);
std::optional<ErrorCode> parseErrorText(std::u16string_view text);

// The value of a cell, or of a formula: empty, a number, UTF-16 text, a boolean or an error.
class Value {
public:
    enum class Kind : std::uint8_t { Empty, Number, Text, Boolean, Error };

    Value() = default;
    static Value number(double n) { return Value(Data(std::in_place_index<1>, n)); }
    static Value text(std::u16string s) { return Value(Data(std::in_place_index<2>, std::move(s))); }
    static Value boolean(bool b) { return Value(Data(std::in_place_index<3>, b)); }
    static Value error(ErrorCode e) { return Value(Data(std::in_place_index<4>, e)); }

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }
    bool isBoolean() const { return kind() == Kind::Boolean; }
    bool isError() const { return kind() == Kind::Error; }

    // Each accessor requires the matching kind.
    double asNumber() const { return std::get<1>(data_); }
    const std::u16string& asText() const { return std::get<2>(data_); }
    bool asBoolean() const { return std::get<3>(data_); }
    ErrorCode asError() const { return std::get<4>(data_); }

    friend bool operator==(const Value&, const Value&) = default;

private:
    using Data = std::variant<std::monostate, double, std::u16string, bool, ErrorCode>;
    explicit Value(Data d) : data_(std::move(d)) {}
    Data data_;
};

// A value seen in place, without copying its text: what functions read from ranges of cells.
struct ValueView {
    Value::Kind kind = Value::Kind::Empty;
    double number = 0;
    bool boolean = false;
    ErrorCode error = ErrorCode::NA;
    std::u16string_view text;

    ValueView() = default;
    ValueView(const Value& v); // NOLINT: views of values are taken everywhere
    Value toValue() const;
};

} // namespace engine
