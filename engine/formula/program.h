#pragma once

#include "engine/formula/ast.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The compact form in which cells keep their formulas: the syntax tree in postfix order, 16 bytes a
// token, text stored inline. Sixty thousand formulas of a dozen tokens each fit in a few megabytes, and
// structural edits adjust references in place without parsing text again.
namespace engine::formula {

using SheetId = std::uint16_t;
inline constexpr SheetId kOwnSheet = 0xFFFF; // a reference without a sheet name: the formula's own sheet

enum class TokenKind : std::uint8_t {
    Number,
    Text,    // payload.length characters follow in Chars tokens
    Chars,   // four UTF-16 units of the preceding Text or Name
    Boolean, // payload.code
    Error,   // payload.code
    Missing,
    Ref,      // payload.area (top/left only)
    Area,     // payload.area, shape in flags
    RefError, // a reference that lost its cells: #REF! (sheet kept for printing)
    Function, // payload.call: known function, argument count
    Name,     // an unknown identifier: payload.call.id characters of its name follow in Chars tokens;
              // with kUnknownCall a call of an unknown function with payload.call.argc arguments
    Unary,    // payload.code: Op
    Binary,   // payload.code: Op
    Paren,
};

// Token flags: "$" marks of the two corners and the shape of an area.
inline constexpr std::uint8_t kTopAbsolute = 1;
inline constexpr std::uint8_t kLeftAbsolute = 2;
inline constexpr std::uint8_t kBottomAbsolute = 4;
inline constexpr std::uint8_t kRightAbsolute = 8;
inline constexpr std::uint8_t kWholeColumns = 16;
inline constexpr std::uint8_t kWholeRows = 32;
inline constexpr std::uint8_t kUnknownCall = 64; // a Name token that is called with arguments

struct AreaBits {
    std::uint16_t top, bottom;
    std::uint8_t left, right;
};
struct CallBits {
    std::uint16_t id; // function id, or for an unknown call the name's length
    std::uint8_t argc;
};

struct Token {
    TokenKind kind = TokenKind::Missing;
    std::uint8_t flags = 0;
    SheetId sheet = kOwnSheet;
    union Payload {
        double number;
        AreaBits area;
        CallBits call;
        std::uint32_t length;
        std::uint8_t code;
        char16_t chars[4];
    } payload{};
};
static_assert(sizeof(Token) == 16);

using Program = std::vector<Token>;

// Maps sheet names of a workbook to ids and back (ids stay with a sheet when sheets are renamed,
// moved or removed; a removed sheet's id names nothing).
struct SheetNames {
    std::function<std::optional<SheetId>(std::u16string_view)> find;
    std::function<std::optional<std::u16string>(SheetId)> name;
};

// The characters that follow a Text or Name token at `i` in Chars tokens; `i` is left on the last of them.
std::u16string readChars(std::span<const Token> program, std::size_t& i, std::size_t length);

// Throws EngineError when the tree names a sheet that `sheets` does not know.
Program compile(const Node& tree, const SheetNames& sheets);
// References to sheets that no longer exist come back as #REF!.
Node decompile(std::span<const Token> program, const SheetNames& sheets);

// Whether the program refers to any sheet but its own, or calls a volatile function.
bool readsOtherSheets(std::span<const Token> program);
bool isVolatile(std::span<const Token> program);

} // namespace engine::formula
