#include "engine/xls/style_records.h"

#include "engine/xls/unicode_string.h"

namespace engine::xls {

FontRecord readFont(ByteReader in) {
    FontRecord f;
    f.height = in.u16();
    uint16_t options = in.u16();
    f.italic = options & 0x02;
    f.strikeout = options & 0x08;
    f.colour = in.u16();
    f.weight = in.u16();
    f.escapement = in.u16();
    f.underline = in.u8();
    f.family = in.u8();
    f.charset = in.u8();
    in.u8();
    f.name = readUnicode8(in);
    return f;
}

void putFont(std::vector<uint8_t>& out, const FontRecord& f) {
    putU16(out, f.height);
    putU16(out, uint16_t((f.italic ? 0x02 : 0) | (f.strikeout ? 0x08 : 0)));
    putU16(out, f.colour);
    putU16(out, f.weight);
    putU16(out, f.escapement);
    putU8(out, f.underline);
    putU8(out, f.family);
    putU8(out, f.charset);
    putU8(out, 0);
    putUnicode8(out, std::u16string_view(f.name).substr(0, 255));
}

XfRecord readXf(ByteReader in) {
    XfRecord x;
    x.font = in.u16();
    x.format = in.u16();
    uint16_t type = in.u16();
    x.locked = type & 0x01;
    x.formulaHidden = type & 0x02;
    x.isStyle = type & 0x04;
    x.parent = uint16_t(type >> 4);
    uint8_t align = in.u8();
    x.horizontal = align & 0x07;
    x.wrap = align & 0x08;
    x.vertical = (align >> 4) & 0x07;
    in.u8(); // rotation
    in.u8(); // indent, shrink, reading order
    x.usedAttributes = in.u8();
    uint32_t lines = in.u32();
    x.border = {uint8_t(lines & 0x0F), uint8_t((lines >> 4) & 0x0F), uint8_t((lines >> 8) & 0x0F),
                uint8_t((lines >> 12) & 0x0F)};
    x.borderColour[0] = uint8_t((lines >> 16) & 0x7F);
    x.borderColour[1] = uint8_t((lines >> 23) & 0x7F);
    uint32_t more = in.u32();
    x.borderColour[2] = uint8_t(more & 0x7F);
    x.borderColour[3] = uint8_t((more >> 7) & 0x7F);
    x.pattern = uint8_t((more >> 26) & 0x3F);
    uint16_t fill = in.u16();
    x.foreground = uint8_t(fill & 0x7F);
    x.background = uint8_t((fill >> 7) & 0x7F);
    return x;
}

void putXf(std::vector<uint8_t>& out, const XfRecord& x) {
    putU16(out, x.font);
    putU16(out, x.format);
    putU16(out, uint16_t((x.locked ? 0x01 : 0) | (x.formulaHidden ? 0x02 : 0) | (x.isStyle ? 0x04 : 0) |
                         (x.parent << 4)));
    putU8(out, uint8_t((x.horizontal & 0x07) | (x.wrap ? 0x08 : 0) | ((x.vertical & 0x07) << 4)));
    putU8(out, 0);
    putU8(out, 0);
    putU8(out, x.usedAttributes);
    putU32(out, uint32_t(x.border[0] & 0x0F) | uint32_t(x.border[1] & 0x0F) << 4 |
                    uint32_t(x.border[2] & 0x0F) << 8 | uint32_t(x.border[3] & 0x0F) << 12 |
                    uint32_t(x.borderColour[0] & 0x7F) << 16 | uint32_t(x.borderColour[1] & 0x7F) << 23);
    putU32(out, uint32_t(x.borderColour[2] & 0x7F) | uint32_t(x.borderColour[3] & 0x7F) << 7 |
                    uint32_t(x.pattern & 0x3F) << 26);
    putU16(out, uint16_t((x.foreground & 0x7F) | (x.background & 0x7F) << 7));
}

} // namespace engine::xls
