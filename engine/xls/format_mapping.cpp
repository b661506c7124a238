#include "engine/xls/format_mapping.h"

namespace engine::xls {

namespace {

constexpr uint8_t FirstColour = 8; // palette index 1 is colour 8 in a file
constexpr uint8_t LastColour = 63;

uint8_t paletteIndex(uint16_t colour) {
    return colour >= FirstColour && colour <= LastColour ? uint8_t(colour - FirstColour + 1) : 0;
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

Format formatFromXf(const XfRecord& xf, const FontRecord& font) {
    Format f;
    f.bold = font.bold();
    f.fontColorIndex = paletteIndex(font.colour);
    if (xf.pattern != 0)
        f.fillColorIndex = paletteIndex(xf.foreground);
    for (size_t i = 0; i < 4; ++i)
        f.borders[i] = borderFromLine(xf.border[i]);
    f.horizontalAlignment =
        xf.horizontal <= 6 ? HorizontalAlignment(xf.horizontal) : HorizontalAlignment::General;
    f.wrapText = xf.wrap;
    return f;
}

XfRecord xfFromFormat(const Format& format, uint16_t fontIndex) {
    XfRecord x;
    x.font = fontIndex;
    x.parent = 0;
    x.usedAttributes = 0xF8;
    x.horizontal = uint8_t(format.horizontalAlignment);
    x.wrap = format.wrapText;
    for (size_t i = 0; i < 4; ++i) {
        x.border[i] = lineFromBorder(format.borders[i]);
        x.borderColour[i] = x.border[i] ? WindowBackground : 0;
    }
    if (format.fillColorIndex) {
        x.pattern = 1;
        x.foreground = uint8_t(format.fillColorIndex + FirstColour - 1);
        x.background = WindowBackground;
    }
    return x;
}

FontRecord fontFromFormat(const Format& format, const FontRecord& base) {
    FontRecord f = base;
    f.weight = format.bold ? 700 : 400;
    f.colour = format.fontColorIndex ? uint16_t(format.fontColorIndex + FirstColour - 1) : AutoColour;
    return f;
}

bool xfLosesDetail(const XfRecord& xf, const FontRecord& font, const FontRecord& base) {
    // Font faces are not compared: writers substitute faces per script (LibreOffice names its CJK
    // fallback font), and a face alone changes no content.
    bool fontDiffers = font.height != base.height || font.italic || font.strikeout || font.underline;
    bool pattern = xf.pattern > 1;
    bool colouredBorder = false;
    for (size_t i = 0; i < 4; ++i)
        colouredBorder |= xf.border[i] && xf.borderColour[i] != WindowBackground && xf.borderColour[i] != 8 &&
                          xf.borderColour[i] != 0;
    return fontDiffers || pattern || colouredBorder;
}

} // namespace engine::xls
