#pragma once

#include "engine/xls/bytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace engine::xls {

// Colour index meaning "automatic" (window text for fonts and borders).
constexpr uint16_t AutoColour = 0x7FFF;
// Colour index of the system window background, used as the background of solid fills.
constexpr uint8_t WindowBackground = 64;

// FONT record.
struct FontRecord {
    uint16_t height = 200; // twips
    bool italic = false;
    bool strikeout = false;
    uint16_t colour = AutoColour;
    uint16_t weight = 400;
    uint16_t escapement = 0; // 1 superscript, 2 subscript
    uint8_t underline = 0;   // 1 single, 2 double, 0x21 and 0x22 the accounting ones
    uint8_t family = 0;
    uint8_t charset = 0;
    std::u16string name = u"Arial";

    bool bold() const { return weight >= 700; }
    bool operator==(const FontRecord&) const = default;
};

FontRecord readFont(ByteReader in);
void putFont(std::vector<uint8_t>& out, const FontRecord& f);

// XF record: a cell or style format.
struct XfRecord {
    uint16_t font = 0;
    uint16_t format = 0;
    bool isStyle = false;
    uint16_t parent = 0;
    uint8_t horizontal = 0; // 0 general, 1 left, 2 centre, 3 right, ...
    uint8_t vertical = 2;   // bottom
    bool wrap = false;
    uint8_t usedAttributes = 0;
    std::array<uint8_t, 4> border{}; // left, right, top, bottom line styles
    std::array<uint8_t, 4> borderColour{8, 8, 8, 8};
    uint8_t pattern = 0; // 1 solid
    uint8_t foreground = WindowBackground;
    uint8_t background = WindowBackground + 1;
    bool locked = true;
    bool formulaHidden = false;

    bool operator==(const XfRecord&) const = default;
};

XfRecord readXf(ByteReader in);
void putXf(std::vector<uint8_t>& out, const XfRecord& x);

} // namespace engine::xls
