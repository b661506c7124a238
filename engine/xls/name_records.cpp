#include "engine/xls/name_records.h"

#include "engine/xls/error.h"
#include "engine/xls/unicode_string.h"

#include <array>

namespace engine::xls {

namespace {

constexpr uint16_t Hidden = 0x0001;
constexpr uint16_t BuiltIn = 0x0020;

// The built-in names by their one-character code, as formulas spell them.
constexpr std::array<std::u16string_view, 14> builtInNames = {
    u"Consolidate_Area", u"Auto_Open",       u"Auto_Close",   u"Extract",         u"Database",
    u"Criteria",         u"Print_Area",      u"Print_Titles", u"Recorder",        u"Data_Form",
    u"Auto_Activate",    u"Auto_Deactivate", u"Sheet_Title",  u"_FilterDatabase",
};

} // namespace

NameRecord readNameRecord(std::span<const uint8_t> body) {
    ByteReader in(body);
    NameRecord r;
    uint16_t options = in.u16();
    in.u8(); // keyboard shortcut
    size_t length = in.u8();
    size_t tokens = in.u16();
    in.u16();
    r.sheet = in.u16();
    in.skip(4); // lengths of menu, description, help and status texts, which follow the formula
    r.name = readUnicodeChars(in, length);
    r.hidden = options & Hidden;
    if (options & BuiltIn) {
        if (r.name.size() != 1)
            throw FormatError("a built-in name is not stored as its code");
        char16_t code = r.name[0];
        r.builtIn = uint8_t(code);
        r.name = code < builtInNames.size() ? std::u16string(builtInNames[code]) : std::u16string();
    }
    if (tokens > in.remaining())
        throw FormatError("a defined name's formula is shorter than it claims");
    r.tokens = in.bytes(tokens);
    return r;
}

void putNameRecord(std::vector<uint8_t>& out, const NameRecord& name) {
    std::u16string stored = name.builtIn ? std::u16string(1, char16_t(*name.builtIn)) : name.name;
    if (stored.empty() || stored.size() > 255)
        throw FormatError("a defined name is empty or longer than 255 characters");
    putU16(out, uint16_t((name.hidden ? Hidden : 0) | (name.builtIn ? BuiltIn : 0)));
    putU8(out, 0);
    putU8(out, uint8_t(stored.size()));
    putU16(out, uint16_t(name.tokens.size()));
    putU16(out, 0);
    putU16(out, name.sheet);
    putU32(out, 0);
    bool oneByte = fitsOneByte(stored);
    putU8(out, oneByte ? 0 : 1);
    putChars(out, stored, oneByte);
    out.insert(out.end(), name.tokens.begin(), name.tokens.end());
}

} // namespace engine::xls
