#include "engine/formula/ast.h"

#include "engine/core/address.h"

namespace engine::formula {

Node Node::makeNumber(double n) {
    Node x;
    x.kind = NodeKind::Number;
    x.number = n;
    return x;
}

Node Node::makeText(std::u16string s) {
    Node x;
    x.kind = NodeKind::Text;
    x.text = std::move(s);
    return x;
}

Node Node::makeBoolean(bool b) {
    Node x;
    x.kind = NodeKind::Boolean;
    x.boolean = b;
    return x;
}

Node Node::makeError(ErrorCode e) {
    Node x;
    x.kind = NodeKind::Error;
    x.error = e;
    return x;
}

Node Node::makeMissing() {
    return Node{};
}

Node Node::makeReference(CellRef cell, std::optional<std::u16string> sheet) {
    Node x;
    x.kind = NodeKind::Reference;
    x.first = x.last = cell;
    x.sheet = std::move(sheet);
    return x;
}

Node Node::makeArea(CellRef first, CellRef last, std::optional<std::u16string> sheet) {
    Node x;
    x.kind = NodeKind::Area;
    x.first = first;
    x.last = last;
    x.sheet = std::move(sheet);
    return x;
}

Node Node::makeColumns(int firstCol, bool firstAbsolute, int lastCol, bool lastAbsolute,
                       std::optional<std::u16string> sheet) {
    Node x;
    x.kind = NodeKind::Columns;
    x.first = {0, firstCol, false, firstAbsolute};
    x.last = {kLastRow, lastCol, false, lastAbsolute};
    x.sheet = std::move(sheet);
    return x;
}

Node Node::makeRows(int firstRow, bool firstAbsolute, int lastRow, bool lastAbsolute,
                    std::optional<std::u16string> sheet) {
    Node x;
    x.kind = NodeKind::Rows;
    x.first = {firstRow, 0, firstAbsolute, false};
    x.last = {lastRow, kLastColumn, lastAbsolute, false};
    x.sheet = std::move(sheet);
    return x;
}

Node Node::makeFunction(std::u16string name, std::vector<Node> args) {
    Node x;
    x.kind = NodeKind::Function;
    x.text = std::move(name);
    x.args = std::move(args);
    return x;
}

Node Node::makeName(std::u16string name) {
    Node x;
    x.kind = NodeKind::Name;
    x.text = std::move(name);
    return x;
}

Node Node::makeUnary(Op op, Node operand) {
    Node x;
    x.kind = NodeKind::Unary;
    x.op = op;
    x.args.push_back(std::move(operand));
    return x;
}

Node Node::makeBinary(Op op, Node left, Node right) {
    Node x;
    x.kind = NodeKind::Binary;
    x.op = op;
    x.args.push_back(std::move(left));
    x.args.push_back(std::move(right));
    return x;
}

Node Node::makeParen(Node inner) {
    Node x;
    x.kind = NodeKind::Paren;
    x.args.push_back(std::move(inner));
    return x;
}

} // namespace engine::formula
