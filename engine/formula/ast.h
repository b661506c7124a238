#pragma once

#include "engine/core/value.h"

#include <optional>
#include <string>
#include <vector>

// The syntax tree of a formula: what the parser builds, the printer writes and the file formats
// translate to and from their own token streams. Cells keep formulas in a compact form of their own
// (program.h); the tree is made on demand.
namespace engine::formula {

// One corner of a reference. Coordinates are those of the referenced cell on its sheet (from 0), for
// relative references too; the flags say which parts carry a "$" and stay put when the formula is copied.
struct CellRef {
    int row = 0;
    int col = 0;
    bool rowAbsolute = false;
    bool colAbsolute = false;
    friend bool operator==(const CellRef&, const CellRef&) = default;
};

enum class NodeKind {
    Number,    // number
    Text,      // text (the string literal without quotes)
    Boolean,   // boolean
    Error,     // error literal, also #REF! written in place of a reference
    Missing,   // an empty argument, as in IF(A1,,2)
    Reference, // a single cell: first
    Area,      // a rectangle first:last, written as cells (A1:B2)
    Columns,   // whole columns first.col:last.col (B:B); rows of first and last are 0 and kLastRow
    Rows,      // whole rows first.row:last.row (1:2); columns are 0 and kLastColumn
    Function,  // name(args...)
    Name,      // an identifier that names nothing the engine knows (evaluates to #NAME?)
    Unary,     // op args[0], op is Negate, Plus or Percent (the last written after its operand)
    Binary,    // args[0] op args[1]
    Paren,     // (args[0]), kept so that a formula reads back as it was written
};

enum class Op {
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
    Percent
};

struct Node {
    NodeKind kind = NodeKind::Missing;
    double number = 0;
    std::u16string text; // Text: the literal; Function and Name: the name (known functions in capitals)
    bool boolean = false;
    ErrorCode error = ErrorCode::Value;
    // References (Reference, Area, Columns, Rows, and Error #REF! that replaced one): the sheet named in
    // the formula, or nothing for the formula's own sheet.
    std::optional<std::u16string> sheet;
    CellRef first;
    CellRef last;
    Op op = Op::Add;
    std::vector<Node> args;

    static Node makeNumber(double n);
    static Node makeText(std::u16string s);
    static Node makeBoolean(bool b);
    static Node makeError(ErrorCode e);
    static Node makeMissing();
    static Node makeReference(CellRef cell, std::optional<std::u16string> sheet = std::nullopt);
    static Node makeArea(CellRef first, CellRef last, std::optional<std::u16string> sheet = std::nullopt);
    static Node makeColumns(int firstCol, bool firstAbsolute, int lastCol, bool lastAbsolute,
                            std::optional<std::u16string> sheet = std::nullopt);
    static Node makeRows(int firstRow, bool firstAbsolute, int lastRow, bool lastAbsolute,
                         std::optional<std::u16string> sheet = std::nullopt);
    static Node makeFunction(std::u16string name, std::vector<Node> args);
    static Node makeName(std::u16string name);
    static Node makeUnary(Op op, Node operand);
    static Node makeBinary(Op op, Node left, Node right);
    static Node makeParen(Node inner);

    bool isReference() const {
        return kind == NodeKind::Reference || kind == NodeKind::Area || kind == NodeKind::Columns ||
               kind == NodeKind::Rows;
    }
    friend bool operator==(const Node&, const Node&) = default;
};

} // namespace engine::formula
