#include "varnel/excel/formats.h"

#include "engine/automation/range.h"
#include "engine/model/palette.h"
#include "varnel/excel/validation.h"

#include <array>
#include <functional>

namespace engine::automation {

namespace {

// What the format objects share: the cells they change and how.
class CellsOf {
public:
    CellsOf(SheetRef ref, std::vector<Area> areas) : ref_(std::move(ref)), areas_(std::move(areas)) {}

    const Format& first() const { return ref_.sheet().format(areas_.front().top, areas_.front().left); }
    void change(const std::function<void(Format&)>& edit) const {
        Sheet& s = ref_.sheet();
        for (const Area& a : areas_)
            s.modifyFormat(a, edit);
    }
    Sheet& sheet() const { return ref_.sheet(); }
    const std::vector<Area>& areas() const { return areas_; }

private:
    SheetRef ref_;
    std::vector<Area> areas_;
};

long colorIndex(const Variant& v, long none) {
    long index = optionalLong(v).value_or(none);
    if (index == Excel::xlColorIndexAutomatic || index == Excel::xlColorIndexNone || index == 0)
        return 0;
    if (index < 1 || index > kPaletteSize)
        fail(u"A colour index lies between 1 and 56.");
    return index;
}

class FontObject final : public Object<Excel::Font> {
public:
    explicit FontObject(CellsOf cells) : cells_(std::move(cells)) {}

    Variant GetBold() override { return Variant(cells_.first().font.bold); }
    void PutBold(const Variant& RHS) override {
        bool bold = optionalBool(RHS).value_or(false);
        cells_.change([&](Format& f) { f.font.bold = bold; });
    }
    Variant GetColor() override {
        int index = cells_.first().font.colorIndex;
        return Variant(static_cast<double>(index ? paletteColor(index) : 0));
    }
    void PutColor(const Variant& RHS) override {
        auto rgb = static_cast<std::uint32_t>(optionalLong(RHS).value_or(0)) & 0xFFFFFF;
        auto index = static_cast<std::uint8_t>(nearestPaletteIndex(rgb));
        cells_.change([&](Format& f) { f.font.colorIndex = index; });
    }
    Variant GetColorIndex() override {
        int index = cells_.first().font.colorIndex;
        return Variant(index ? index : static_cast<int>(Excel::xlColorIndexAutomatic));
    }
    void PutColorIndex(const Variant& RHS) override {
        auto index = static_cast<std::uint8_t>(colorIndex(RHS, Excel::xlColorIndexAutomatic));
        cells_.change([&](Format& f) { f.font.colorIndex = index; });
    }

private:
    CellsOf cells_;
};

class InteriorObject final : public Object<Excel::Interior> {
public:
    explicit InteriorObject(CellsOf cells) : cells_(std::move(cells)) {}

    Variant GetColorIndex() override {
        int index = cells_.first().fillColorIndex;
        return Variant(index ? index : static_cast<int>(Excel::xlColorIndexNone));
    }
    void PutColorIndex(const Variant& RHS) override {
        auto index = static_cast<std::uint8_t>(colorIndex(RHS, Excel::xlColorIndexNone));
        cells_.change([&](Format& f) { f.fillColorIndex = index; });
    }

private:
    CellsOf cells_;
};

struct LineStyleName {
    long excel;
    LineStyle style;
};
constexpr std::array<LineStyleName, 8> kLineStyles = {{
    {Excel::xlLineStyleNone, LineStyle::None},
    {Excel::xlContinuous, LineStyle::Continuous},
    {Excel::xlDash, LineStyle::Dash},
    {Excel::xlDot, LineStyle::Dot},
    {Excel::xlDashDot, LineStyle::DashDot},
    {Excel::xlDashDotDot, LineStyle::DashDotDot},
    {Excel::xlDouble, LineStyle::Double},
    {Excel::xlSlantDashDot, LineStyle::SlantDashDot},
}};

struct WeightName {
    long excel;
    BorderWeight weight;
};
constexpr std::array<WeightName, 4> kWeights = {{
    {Excel::xlHairline, BorderWeight::Hairline},
    {Excel::xlThin, BorderWeight::Thin},
    {Excel::xlMedium, BorderWeight::Medium},
    {Excel::xlThick, BorderWeight::Thick},
}};

// Every edge of every cell of the range.
class BordersObject final : public Object<Excel::Borders> {
public:
    explicit BordersObject(CellsOf cells) : cells_(std::move(cells)) {}

    Variant GetLineStyle() override {
        LineStyle style = cells_.first().border(Edge::Left).style;
        for (const auto& n : kLineStyles)
            if (n.style == style)
                return Variant(static_cast<int>(n.excel));
        return Variant::null();
    }
    void PutLineStyle(const Variant& RHS) override {
        long wanted = optionalLong(RHS).value_or(Excel::xlLineStyleNone);
        for (const auto& n : kLineStyles)
            if (n.excel == wanted) {
                cells_.change([&](Format& f) {
                    for (Border& b : f.borders)
                        b.style = n.style;
                });
                return;
            }
        fail(u"That is not a line style.");
    }
    Variant GetWeight() override {
        BorderWeight weight = cells_.first().border(Edge::Left).weight;
        for (const auto& n : kWeights)
            if (n.weight == weight)
                return Variant(static_cast<int>(n.excel));
        return Variant::null();
    }
    void PutWeight(const Variant& RHS) override {
        long wanted = optionalLong(RHS).value_or(Excel::xlThin);
        for (const auto& n : kWeights)
            if (n.excel == wanted) {
                cells_.change([&](Format& f) {
                    for (Border& b : f.borders)
                        b.weight = n.weight;
                });
                return;
            }
        fail(u"That is not a border weight.");
    }

private:
    CellsOf cells_;
};

class ValidationObject final : public Object<Excel::Validation> {
public:
    explicit ValidationObject(CellsOf cells) : cells_(std::move(cells)) {}

    void Delete() override {
        Sheet& s = cells_.sheet();
        for (const Area& a : cells_.areas())
            s.removeValidation(a);
    }
    void Add(Excel::XlDVType Type, const Variant& AlertStyle, const Variant& Operator,
             const Variant& Formula1, const Variant& Formula2) override {
        Sheet& s = cells_.sheet();
        for (const Area& a : cells_.areas())
            if (s.hasValidation(a))
                fail(u"The cells have a validation already: delete it first.");
        if (Type < Excel::xlValidateInputOnly || Type > Excel::xlValidateCustom)
            fail(u"That is not a kind of validation.");
        long alert = optionalLong(AlertStyle).value_or(Excel::xlValidAlertStop);
        long op = optionalLong(Operator).value_or(Excel::xlBetween);
        if (alert < Excel::xlValidAlertStop || alert > Excel::xlValidAlertInformation ||
            op < Excel::xlBetween || op > Excel::xlLessEqual)
            fail(u"That is not an alert style or operator of a validation.");
        ValidationRule rule;
        rule.type = static_cast<ValidationType>(Type);
        rule.alert = static_cast<engine::AlertStyle>(alert - 1);
        rule.op = static_cast<ValidationOperator>(op - 1);
        rule.formula1 = omitted(Formula1) ? std::u16string() : Formula1.toString();
        rule.formula2 = omitted(Formula2) ? std::u16string() : Formula2.toString();
        if (Type == Excel::xlValidateList && rule.formula1.empty())
            fail(u"A list validation needs its list.");
        for (const Area& a : cells_.areas())
            s.addValidation(a, rule);
    }

private:
    CellsOf cells_;
};

} // namespace

Excel::FontPtr RangeObject::GetFont() {
    sheet();
    return makeComObject<FontObject>(CellsOf(ref_, areas()));
}

Excel::InteriorPtr RangeObject::GetInterior() {
    sheet();
    return makeComObject<InteriorObject>(CellsOf(ref_, areas()));
}

Excel::BordersPtr RangeObject::GetBorders() {
    sheet();
    return makeComObject<BordersObject>(CellsOf(ref_, areas()));
}

Excel::ValidationPtr RangeObject::GetValidation() {
    sheet();
    return makeComObject<ValidationObject>(CellsOf(ref_, areas()));
}

} // namespace engine::automation
