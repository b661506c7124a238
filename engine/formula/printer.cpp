#include "engine/formula/printer.h"

#include "engine/core/address.h"
#include "engine/core/text.h"

namespace engine::formula {
namespace {

bool isPlainChar(char16_t c, bool first) {
    bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    return letter || (!first && ((c >= u'0' && c <= u'9') || c == u'.'));
}

std::u16string_view opText(Op op) {
    switch (op) {
    case Op::Add:
    case Op::Plus:
        return u"+";
    case Op::Subtract:
    case Op::Negate:
        return u"-";
    case Op::Multiply:
        return u"*";
    case Op::Divide:
        return u"/";
    case Op::Power:
        return u"^";
    case Op::Concat:
        return u"&";
    case Op::Equal:
        return u"=";
    case Op::NotEqual:
        return u"<>";
    case Op::Less:
        return u"<";
    case Op::LessEqual:
        return u"<=";
    case Op::Greater:
        return u">";
    case Op::GreaterEqual:
        return u">=";
    case Op::Percent:
        return u"%";
    }
    return u"";
}

// Appending piece by piece (rather than "$" + text) also keeps GCC 12's -Wrestrict quiet.
void rowPart(const CellRef& r, std::u16string& out) {
    if (r.rowAbsolute)
        out += u'$';
    out += formatAddress({r.row, 0}, false).substr(1);
}

void colPart(const CellRef& r, std::u16string& out) {
    if (r.colAbsolute)
        out += u'$';
    out += columnName(r.col);
}

void write(const Node& n, std::u16string& out) {
    if (n.sheet && (n.isReference() || n.kind == NodeKind::Error)) {
        out += quoteSheetName(*n.sheet);
        out += u'!';
    }
    switch (n.kind) {
    case NodeKind::Number:
        out += formatNumber(n.number);
        break;
    case NodeKind::Text:
        out += u'"';
        for (char16_t c : n.text) {
            out += c;
            if (c == u'"')
                out += c;
        }
        out += u'"';
        break;
    case NodeKind::Boolean:
        out += n.boolean ? u"TRUE" : u"FALSE";
        break;
    case NodeKind::Error:
        out += errorText(n.error);
        break;
    case NodeKind::Missing:
        break;
    case NodeKind::Reference:
        colPart(n.first, out);
        rowPart(n.first, out);
        break;
    case NodeKind::Area:
        colPart(n.first, out);
        rowPart(n.first, out);
        out += u':';
        colPart(n.last, out);
        rowPart(n.last, out);
        break;
    case NodeKind::Columns:
        colPart(n.first, out);
        out += u':';
        colPart(n.last, out);
        break;
    case NodeKind::Rows:
        rowPart(n.first, out);
        out += u':';
        rowPart(n.last, out);
        break;
    case NodeKind::Function:
        out += n.text + u"(";
        for (std::size_t i = 0; i < n.args.size(); ++i) {
            if (i > 0)
                out += u',';
            write(n.args[i], out);
        }
        out += u')';
        break;
    case NodeKind::Name:
        out += n.text;
        break;
    case NodeKind::Unary:
        if (n.op == Op::Percent) {
            write(n.args.at(0), out);
            out += u'%';
        } else {
            out += opText(n.op);
            write(n.args.at(0), out);
        }
        break;
    case NodeKind::Binary:
        write(n.args.at(0), out);
        out += opText(n.op);
        write(n.args.at(1), out);
        break;
    case NodeKind::Paren:
        out += u'(';
        write(n.args.at(0), out);
        out += u')';
        break;
    }
}

} // namespace

std::u16string quoteSheetName(const std::u16string& name) {
    bool plain = !name.empty() && !parseArea(name);
    for (std::size_t i = 0; i < name.size() && plain; ++i)
        plain = isPlainChar(name[i], i == 0);
    if (plain && (compareFolded(name, u"TRUE") == 0 || compareFolded(name, u"FALSE") == 0))
        plain = false;
    if (plain)
        return name;
    std::u16string q = u"'";
    for (char16_t c : name) {
        q += c;
        if (c == u'\'')
            q += c;
    }
    return q + u"'";
}

std::u16string print(const Node& node) {
    std::u16string out;
    write(node, out);
    return out;
}

} // namespace engine::formula
