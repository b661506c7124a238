#pragma once

#include "engine/core/address.h"
#include "engine/model/format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

inline constexpr double kDefaultRowHeight = 12.75;  // points
inline constexpr double kDefaultColumnWidth = 8.43; // characters of the default font
inline constexpr int kMaxOutlineLevel = 7;

struct RowProperties {
    double height = kDefaultRowHeight; // points; meaningful when customHeight, else the sheet's default
    bool customHeight = false;         // set by hand (or read from a file); AutoFit clears it
    bool hidden = false;
    // How many outline groups contain the row: 0 to 7, as files store it. Excel's Range.OutlineLevel
    // reports this plus one (1 to 8).
    std::uint8_t outlineLevel = 0;
    bool collapsed = false;           // the row is the summary row of a collapsed group
    FormatId format = kDefaultFormat; // the format of the row's empty cells (kDefaultFormat: none)

    bool isDefault() const {
        return !customHeight && !hidden && outlineLevel == 0 && !collapsed && format == kDefaultFormat;
    }
    friend bool operator==(const RowProperties&, const RowProperties&) = default;
};

struct ColumnProperties {
    double width = kDefaultColumnWidth;
    // The width as a file stored it, in 256ths of a character, and whether the file marked it as set
    // by hand, while `width` is still the one read from it: the file's exact width survives a save
    // though `width` is rounded. 0: none.
    std::uint16_t storedWidth = 0;
    bool storedAsSetByHand = false;
    bool customWidth = false;
    bool hidden = false;
    std::uint8_t outlineLevel = 0; // as for rows
    bool collapsed = false;
    FormatId format = kDefaultFormat;

    bool isDefault() const {
        return !customWidth && !hidden && outlineLevel == 0 && !collapsed && format == kDefaultFormat;
    }
    friend bool operator==(const ColumnProperties&, const ColumnProperties&) = default;
};

// Where Excel puts the summary row of a group (Outline.SummaryRow) and summary column.
struct OutlineSettings {
    bool summaryRowsBelow = true;
    bool summaryColumnsRight = true;
    friend bool operator==(const OutlineSettings&, const OutlineSettings&) = default;
};

// A sheet's own selection: its areas and the active cell inside them (A1 in a new sheet).
struct Selection {
    std::vector<Area> areas{Area::cell(0, 0)};
    CellAddress active{};
    friend bool operator==(const Selection&, const Selection&) = default;
};

enum class ValidationType : std::uint8_t { Any, WholeNumber, Decimal, List, Date, Time, TextLength, Custom };
enum class AlertStyle : std::uint8_t { Stop, Warning, Information };
enum class ValidationOperator : std::uint8_t {
    Between,
    NotBetween,
    Equal,
    NotEqual,
    Greater,
    Less,
    GreaterOrEqual,
    LessOrEqual
};

// What Validation.Add sets. For a list, formula1 is the list text, items separated by ",".
struct ValidationRule {
    ValidationType type = ValidationType::List;
    AlertStyle alert = AlertStyle::Stop;
    ValidationOperator op = ValidationOperator::Between;
    std::u16string formula1;
    std::u16string formula2;
    bool ignoreBlank = true;
    bool inCellDropdown = true;
    // Without the alert, a wrong entry is taken as typed.
    bool showError = true;
    // The message shown while the cell is selected, and the alert's own title and text (empty ones are
    // the spreadsheet's own).
    bool showInput = false;
    std::u16string inputTitle{};
    std::u16string inputMessage{};
    std::u16string errorTitle{};
    std::u16string errorMessage{};
    friend bool operator==(const ValidationRule&, const ValidationRule&) = default;
};

// One rule and the cells it applies to. A sheet keeps each distinct rule once.
struct Validation {
    ValidationRule rule;
    std::vector<Area> areas;
};

} // namespace engine
