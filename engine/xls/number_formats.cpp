#include "engine/xls/number_formats.h"

#include <array>
#include <utility>

namespace engine::xls {

namespace {

struct BuiltIn {
    uint16_t index;
    std::u16string_view code;
    // Written by index alone: the same code in every locale. Dates and times are not, as a reader may
    // take the index for its own locale's form of them.
    bool shared;
};

// From the published description of the FORMAT record, with Chinese Excel's codes where the locale
// decides.
constexpr std::array<BuiltIn, 46> kBuiltIns = {{
    {1, u"0", true},
    {2, u"0.00", true},
    {3, u"#,##0", true},
    {4, u"#,##0.00", true},
    {5, u"\"$\"#,##0_);(\"$\"#,##0)", false},
    {6, u"\"$\"#,##0_);[Red](\"$\"#,##0)", false},
    {7, u"\"$\"#,##0.00_);(\"$\"#,##0.00)", false},
    {8, u"\"$\"#,##0.00_);[Red](\"$\"#,##0.00)", false},
    {9, u"0%", true},
    {10, u"0.00%", true},
    {11, u"0.00E+00", true},
    {12, u"# ?/?", true},
    {13,
     u"# ?"
     u"?/??",
     true}, // split: "??/" would read as a trigraph
    {14, u"yyyy/m/d", false},
    {15, u"d-mmm-yy", false},
    {16, u"d-mmm", false},
    {17, u"mmm-yy", false},
    {18, u"h:mm AM/PM", false},
    {19, u"h:mm:ss AM/PM", false},
    {20, u"h:mm", false},
    {21, u"h:mm:ss", false},
    {22, u"yyyy/m/d h:mm", false},
    {27, u"yyyy\"年\"m\"月\"", false},
    {28, u"m\"月\"d\"日\"", false},
    {29, u"m\"月\"d\"日\"", false},
    {30, u"m-d-yy", false},
    {31, u"yyyy\"年\"m\"月\"d\"日\"", false},
    {32, u"h\"时\"mm\"分\"", false},
    {33, u"h\"时\"mm\"分\"ss\"秒\"", false},
    {34, u"上午/下午h\"时\"mm\"分\"", false},
    {35, u"上午/下午h\"时\"mm\"分\"ss\"秒\"", false},
    {36, u"yyyy\"年\"m\"月\"", false},
    {37, u"#,##0_);(#,##0)", true},
    {38, u"#,##0_);[Red](#,##0)", true},
    {39, u"#,##0.00_);(#,##0.00)", true},
    {40, u"#,##0.00_);[Red](#,##0.00)", true},
    {41, u"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)", false},
    {42, u"_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)", false},
    {43, u"_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)", false},
    {44, u"_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)", false},
    {45, u"mm:ss", false},
    {46, u"[h]:mm:ss", false},
    {47, u"mm:ss.0", false},
    {48, u"##0.0E+0", true},
    {49, u"@", true},
    {50, u"yyyy\"年\"m\"月\"", false},
}};

} // namespace

std::optional<std::u16string> builtInFormat(uint16_t index) {
    if (index == 0)
        return std::u16string();
    for (const BuiltIn& b : kBuiltIns)
        if (b.index == index)
            return std::u16string(b.code);
    // 51 to 58 repeat Chinese date and time formats above.
    static constexpr std::pair<uint16_t, uint16_t> kRepeats[] = {{51, 28}, {52, 27}, {53, 28}, {54, 28},
                                                                 {55, 34}, {56, 35}, {57, 27}, {58, 28}};
    for (auto [repeat, original] : kRepeats)
        if (repeat == index)
            return builtInFormat(original);
    return std::nullopt;
}

std::optional<uint16_t> sharedBuiltInIndex(std::u16string_view code) {
    for (const BuiltIn& b : kBuiltIns)
        if (b.shared && b.code == code)
            return b.index;
    return std::nullopt;
}

} // namespace engine::xls
