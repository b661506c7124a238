#include "engine/xls/format_mapping.h"

#include <algorithm>
#include <cmath>

namespace engine::xls {

namespace {

constexpr uint8_t FirstColour = 8; // palette index 1 is colour 8 in a file
constexpr uint8_t LastColour = 63;

// Indexes 64 and above are the system's colours, which stand for automatic.
uint8_t paletteIndex(uint16_t colour) {
    return colour >= FirstColour && colour <= LastColour ? uint8_t(colour - FirstColour + 1) : 0;
}

uint16_t fileColour(uint8_t index, uint16_t automatic) {
    return index ? uint16_t(index + FirstColour - 1) : automatic;
}

Underline underlineFrom(uint8_t u) {
    switch (u) {
    case 0x01:
        return Underline::Single;
    case 0x02:
        return Underline::Double;
    case 0x21:
        return Underline::SingleAccounting;
    case 0x22:
        return Underline::DoubleAccounting;
    default:
        return Underline::None;
    }
}

uint8_t underlineOf(Underline u) {
    switch (u) {
    case Underline::None:
        return 0;
    case Underline::Single:
        return 0x01;
    case Underline::Double:
        return 0x02;
    case Underline::SingleAccounting:
        return 0x21;
    case Underline::DoubleAccounting:
        return 0x22;
    }
    return 0;
}

Border borderFromLine(uint8_t line) {
    switch (line) {
    case 1:
        return {LineStyle::Continuous, BorderWeight::Thin};
    case 2:
        return {LineStyle::Continuous, BorderWeight::Medium};
    case 3:
        return {LineStyle::Dash, BorderWeight::Thin};
    case 4:
        return {LineStyle::Dot, BorderWeight::Thin};
    case 5:
        return {LineStyle::Continuous, BorderWeight::Thick};
    case 6:
        return {LineStyle::Double, BorderWeight::Thick};
    case 7:
        return {LineStyle::Continuous, BorderWeight::Hairline};
    case 8:
        return {LineStyle::Dash, BorderWeight::Medium};
    case 9:
        return {LineStyle::DashDot, BorderWeight::Thin};
    case 10:
        return {LineStyle::DashDot, BorderWeight::Medium};
    case 11:
        return {LineStyle::DashDotDot, BorderWeight::Thin};
    case 12:
        return {LineStyle::DashDotDot, BorderWeight::Medium};
    case 13:
        return {LineStyle::SlantDashDot, BorderWeight::Medium};
    default:
        return {};
    }
}

uint8_t lineFromBorder(const Border& b) {
    bool heavy = b.weight == BorderWeight::Medium || b.weight == BorderWeight::Thick;
    switch (b.style) {
    case LineStyle::None:
        return 0;
    case LineStyle::Continuous:
        return b.weight == BorderWeight::Hairline ? 7
               : b.weight == BorderWeight::Thin   ? 1
               : b.weight == BorderWeight::Medium ? 2
                                                  : 5;
    case LineStyle::Dash:
        return heavy ? 8 : 3;
    case LineStyle::Dot:
        return 4;
    case LineStyle::DashDot:
        return heavy ? 10 : 9;
    case LineStyle::DashDotDot:
        return heavy ? 12 : 11;
    case LineStyle::Double:
        return 6;
    case LineStyle::SlantDashDot:
        return 13;
    }
    return 0;
}

} // namespace

Font fontFromRecord(const FontRecord& r, const Font& base) {
    Font f;
    if (r.name != base.name)
        f.name = r.name;
    double size = r.height / 20.0;
    if (size != base.size)
        f.size = size;
    f.bold = r.bold();
    f.italic = r.italic;
    f.strikeout = r.strikeout;
    f.underline = underlineFrom(r.underline);
    f.colorIndex = paletteIndex(r.colour);
    return f;
}

FontRecord recordFromFont(const Font& font, const Font& base) {
    FontRecord r;
    r.name = font.name.empty() ? base.name : font.name;
    double size = font.size > 0 ? font.size : base.size;
    r.height = uint16_t(std::clamp(std::lround(size * 20), 20L, 8191L));
    r.weight = font.bold ? 700 : 400;
    r.italic = font.italic;
    r.strikeout = font.strikeout;
    r.underline = underlineOf(font.underline);
    r.colour = fileColour(font.colorIndex, AutoColour);
    // The default character set: the face alone decides, as the texts are Unicode.
    r.charset = 1;
    return r;
}

Format formatFromXf(const XfRecord& xf, const FontRecord& font, const Font& base,
                    std::u16string numberFormat) {
    Format f;
    f.font = fontFromRecord(font, base);
    if (xf.pattern != 0)
        f.fillColorIndex = paletteIndex(xf.foreground);
    for (size_t i = 0; i < 4; ++i) {
        f.borders[i] = borderFromLine(xf.border[i]);
        if (xf.border[i])
            f.borders[i].colorIndex = paletteIndex(xf.borderColour[i]);
    }
    f.horizontalAlignment =
        xf.horizontal <= 6 ? HorizontalAlignment(xf.horizontal) : HorizontalAlignment::General;
    f.wrapText = xf.wrap;
    f.numberFormat = std::move(numberFormat);
    f.locked = xf.locked;
    f.formulaHidden = xf.formulaHidden;
    return f;
}

XfRecord xfFromFormat(const Format& format, uint16_t fontIndex, uint16_t formatIndex) {
    XfRecord x;
    x.font = fontIndex;
    x.format = formatIndex;
    x.parent = 0;
    x.usedAttributes = 0xF8 | (formatIndex ? 0x04 : 0);
    x.horizontal = uint8_t(format.horizontalAlignment);
    x.wrap = format.wrapText;
    x.locked = format.locked;
    x.formulaHidden = format.formulaHidden;
    for (size_t i = 0; i < 4; ++i) {
        x.border[i] = lineFromBorder(format.borders[i]);
        x.borderColour[i] =
            x.border[i] ? uint8_t(fileColour(format.borders[i].colorIndex, WindowBackground)) : 0;
    }
    if (format.fillColorIndex) {
        x.pattern = 1;
        x.foreground = uint8_t(format.fillColorIndex + FirstColour - 1);
        x.background = WindowBackground;
    }
    return x;
}

const char* xfLosesDetail(const XfRecord& xf, const FontRecord& font) {
    if (xf.pattern > 1)
        return "fill patterns";
    if (font.escapement != 0)
        return "superscript and subscript";
    return nullptr;
}

} // namespace engine::xls
