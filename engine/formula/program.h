#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The one form in which the engine keeps a formula: its operands and operators in postfix order,
// 16 bytes a token, text stored inline. The parser makes it from text, the printer writes it back,
// the interpreter runs it, structural edits and pastes move its references in place, and the file
// formats translate their own token streams to and from it. Sixty thousand formulas of a dozen tokens
// each fit in a few megabytes.
namespace engine::formula {

using SheetId = std::uint16_t;
inline constexpr SheetId kOwnSheet = 0xFFFF; // a reference without a sheet name: the formula's own sheet

enum class Op : std::uint8_t {
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Concat,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Negate,
    Plus,
    Percent, // written after its operand
    // The reference operators, between references only: all cells of both (written ","), the cells
    // both share (a space), and the smallest area holding both (":").
    Union,
    Intersect,
    Range
};

// Whether an operator joins references rather than values.
inline bool isReferenceOperator(Op op) {
    return op == Op::Union || op == Op::Intersect || op == Op::Range;
}

enum class TokenKind : std::uint8_t {
    Number,
    Text,     // payload.length characters follow in Chars tokens
    Chars,    // four UTF-16 units of the preceding Text or Name
    Boolean,  // payload.code
    Error,    // payload.code: ErrorCode
    Missing,  // an empty argument, as in IF(A1,,2)
    Ref,      // payload.area (top/left only)
    Area,     // payload.area, shape in flags
    RefError, // a reference that lost its cells: #REF! (sheet kept for printing)
    Function, // payload.call: known function (functions.h), argument count
    Name,     // an unknown identifier: payload.call.id characters of its name follow in Chars tokens;
              // with kUnknownCall a call of an unknown function with payload.call.argc arguments
    Unary,    // payload.code: Op
    Binary,   // payload.code: Op
    Paren,    // parentheses as written, so that a formula reads back as it was typed
    Array,    // payload.array: an array constant, its values row by row in the payload.array.tokens
              // constant tokens that follow (Number, Text with its Chars, Boolean, Error)
};

// Token flags: "$" marks of the two corners and the shape of an area.
inline constexpr std::uint8_t kTopAbsolute = 1;
inline constexpr std::uint8_t kLeftAbsolute = 2;
inline constexpr std::uint8_t kBottomAbsolute = 4;
inline constexpr std::uint8_t kRightAbsolute = 8;
inline constexpr std::uint8_t kWholeColumns = 16; // rows 0..kLastRow, written B:B
inline constexpr std::uint8_t kWholeRows = 32;    // columns 0..kLastColumn, written 1:2
inline constexpr std::uint8_t kUnknownCall = 64;  // a Name token that is called with arguments

// Coordinates are those of the referenced cells on their sheet (from 0), for relative references too;
// the flags say which parts carry a "$" and stay put when the formula is copied.
struct AreaBits {
    std::uint16_t top, bottom;
    std::uint8_t left, right;
};
struct CallBits {
    std::uint16_t id; // function id, or for a Name the name's length
    std::uint8_t argc;
};

struct ArrayBits {
    std::uint16_t rows, columns;
    std::uint32_t tokens;
};

struct Token {
    TokenKind kind = TokenKind::Missing;
    std::uint8_t flags = 0;
    SheetId sheet = kOwnSheet;
    union Payload {
        double number;
        AreaBits area;
        CallBits call;
        ArrayBits array;
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

// Appends the Chars tokens that hold `text` after a Text or Name token.
void appendChars(Program& program, std::u16string_view text);
// Appends a Text token with its characters.
void appendText(Program& program, std::u16string_view text);
// The characters that follow a Text or Name token at `i` in Chars tokens; `i` is left on the last of them.
std::u16string readChars(std::span<const Token> program, std::size_t& i, std::size_t length);
// How many Chars tokens hold `length` characters.
inline std::size_t charTokens(std::size_t length) {
    return (length + 3) / 4;
}

// The largest array constant a formula holds: what a BIFF8 token stores of its size.
inline constexpr int kMaxArrayRows = 65535;
inline constexpr int kMaxArrayColumns = 256;

// Whether the program refers to any sheet but its own, or calls a volatile function.
bool readsOtherSheets(std::span<const Token> program);
bool isVolatile(std::span<const Token> program);
// Whether the program's result depends on which rows are hidden: it calls SUBTOTAL.
bool readsShownRows(std::span<const Token> program);
// Whether the program is references joined by reference operators, as a defined name may be.
bool isReferenceExpression(std::span<const Token> program);
// Whether the program uses a name: a defined name, or a function the engine does not compute.
bool usesNames(std::span<const Token> program);

// Gives the references of a formula taken from one workbook the ids of the same-named sheets of
// another. A reference to a sheet `from` no longer names becomes #REF!. Throws EngineError when `to`
// has no sheet of a name the formula uses, changing nothing.
void rebindSheets(std::span<Token> program, const SheetNames& from, const SheetNames& to);

} // namespace engine::formula
