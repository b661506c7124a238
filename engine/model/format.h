#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Cell formats. Cells, rows and columns hold a FormatId into their workbook's FormatTable, so that the
// thousands of cells that look alike share one Format.
namespace engine {

using FormatId = std::uint32_t;
inline constexpr FormatId kDefaultFormat = 0;

enum class LineStyle : std::uint8_t {
    None,
    Continuous,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    Double,
    SlantDashDot
};
enum class BorderWeight : std::uint8_t { Hairline, Thin, Medium, Thick };
enum class HorizontalAlignment : std::uint8_t {
    General,
    Left,
    Center,
    Right,
    Fill,
    Justify,
    CenterAcrossSelection
};

enum class Underline : std::uint8_t { None, Single, Double, SingleAccounting, DoubleAccounting };

// Colour indexes are those of Excel's 56-colour palette (palette.h), 1 to 56; 0 means automatic (for a
// font and a border: the window text colour; for a fill: no fill).

// A font. An empty name or a zero size stands for the face or size of the workbook's default font
// (Workbook::defaultFont), so that formats which keep to it follow it.
struct Font {
    std::u16string name;
    double size = 0; // points
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    Underline underline = Underline::None;
    std::uint8_t colorIndex = 0;
    friend bool operator==(const Font&, const Font&) = default;
};

// A run of a cell's text in a font of its own, from `start` (a UTF-16 index) to the next run's start or
// the end; the text before the first run has the cell's font.
struct TextRun {
    std::uint16_t start = 0;
    Font font;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

struct Border {
    LineStyle style = LineStyle::None;
    BorderWeight weight = BorderWeight::Thin;
    std::uint8_t colorIndex = 0;
    friend bool operator==(const Border&, const Border&) = default;
};

enum class Edge : std::uint8_t { Left, Right, Top, Bottom };

struct Format {
    Font font;
    std::uint8_t fillColorIndex = 0;
    std::array<Border, 4> borders{}; // indexed by Edge
    HorizontalAlignment horizontalAlignment = HorizontalAlignment::General;
    bool wrapText = false;
    // The number format code (number_format.h); empty for General.
    std::u16string numberFormat;
    // Protection, which takes effect when the sheet is protected.
    bool locked = true;
    bool formulaHidden = false;

    Border& border(Edge e) { return borders[static_cast<std::size_t>(e)]; }
    const Border& border(Edge e) const { return borders[static_cast<std::size_t>(e)]; }
    friend bool operator==(const Format&, const Format&) = default;
};

struct FormatHash {
    std::size_t operator()(const Format& f) const;
};

// Every distinct format of a workbook once. Ids are never reused or removed while the workbook lives.
class FormatTable {
public:
    FormatTable();
    FormatId intern(const Format& format);
    const Format& get(FormatId id) const { return formats_[id]; }
    std::size_t size() const { return formats_.size(); }

private:
    std::vector<Format> formats_;
    std::unordered_map<Format, FormatId, FormatHash> ids_;
};

} // namespace engine
