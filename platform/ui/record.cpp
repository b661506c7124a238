#include "platform/ui/record.h"

#include "platform/text/utf.h"

#include <cstdio>

namespace ui {

namespace {
void quoted(std::string& out, std::u16string_view text) {
    out += '"';
    for (char c : text::toUtf8(text)) {
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
    out += '"';
}

void field(std::string& out, const char* name, std::u16string_view value) {
    out += ",\"";
    out += name;
    out += "\":";
    quoted(out, value);
}
} // namespace

std::string toJson(const Record& r) {
    std::string out = "{\"event\":";
    switch (r.kind) {
    case Record::Kind::MessageBox:
        out += "\"messagebox\"";
        field(out, "caption", r.caption);
        field(out, "text", r.text);
        break;
    case Record::Kind::InputBox:
        out += "\"inputbox\"";
        field(out, "prompt", r.text);
        field(out, "title", r.caption);
        field(out, "default", r.defaultText);
        break;
    case Record::Kind::Dialog:
        out += "\"dialog\"";
        field(out, "caption", r.caption);
        out += ",\"items\":[";
        for (size_t i = 0; i < r.items.size(); ++i) {
            if (i)
                out += ',';
            quoted(out, r.items[i]);
        }
        out += ']';
        break;
    case Record::Kind::Error:
        out += "\"error\"";
        field(out, "text", r.text);
        break;
    }
    out += '}';
    return out;
}

} // namespace ui
