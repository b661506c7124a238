#include "tests/engine/xls/sample_register.h"

#include "engine/core/address.h"

#include <string>

namespace xls_testing {

namespace {

using engine::Area;
using engine::Edge;
using engine::Format;
using engine::Value;

const char16_t* const headers[] = {u"征订年度", u"资料名称", u"征订数量", u"单价",
                                   u"金额",     u"票据号",   u"征订单位"};
const char16_t* const kinds[] = {u"报纸", u"杂志", u"图书", u"年鉴"};

std::u16string abs(int row, int col) {
    return engine::formatAddress({row, col}, true);
}

std::u16string number(int n) {
    std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

void entryFormat(Format& f, int fontColour) {
    for (Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom})
        f.border(e) = {engine::LineStyle::Dash, engine::BorderWeight::Thin};
    f.fillColorIndex = 34;
    f.fontColorIndex = uint8_t(fontColour);
}

} // namespace

void buildRegister(engine::Workbook& book, int units, int entries, bool collapsed) {
    engine::Sheet& sheet = book.addSheet(u"征订登记");
    engine::Sheet& scratch = book.addSheet(u"Sheet2");
    sheet.setOutline({false, true});
    for (int c = 0; c < 7; ++c)
        sheet.setValue(0, c, Value::text(headers[c]));
    sheet.editColumn(1).width = 30;
    sheet.editColumn(1).customWidth = true;

    engine::ValidationRule years;
    years.formula1 = u"2025,2026";
    engine::ValidationRule materials;
    materials.formula1 = u"报纸,杂志,图书,年鉴,2026年度读者,2027年度读者";
    engine::ValidationRule amounts; // a quantity or a price: a number of at least 0
    amounts.type = engine::ValidationType::Decimal;
    amounts.op = engine::ValidationOperator::GreaterOrEqual;
    amounts.formula1 = u"0";

    int row = 1;
    for (int u = 0; u < units; ++u) {
        int unitRow = row, headerRow = row + 1, first = row + 2, last = row + 1 + entries;
        std::u16string name = u"单位" + number(u + 1);
        sheet.setValue(unitRow, 0, Value::text(name));
        std::u16string missing = u"=SUBSTITUTE(TRIM(";
        for (const char16_t* k : kinds)
            missing += u"IF(COUNTIF(" + abs(first, 1) + u":" + abs(last, 1) + u",\"" + k + u"\"),\"\",\"" +
                       k + u" \")&";
        missing.pop_back();
        missing += u"),\" \",\"、\")";
        sheet.setFormula(unitRow, 1, missing);
        sheet.setFormula(unitRow, 2, u"=SUM(" + abs(headerRow, 4) + u":" + abs(last, 4) + u")");
        sheet.modifyFormat(Area::cell(unitRow, 1),
                           [](Format& f) { f.horizontalAlignment = engine::HorizontalAlignment::Left; });

        for (int c = 0; c < 7; ++c)
            sheet.setValue(headerRow, c, Value::text(headers[c]));
        sheet.modifyFormat(Area::rows(headerRow, headerRow), [](Format& f) { entryFormat(f, 10); });

        for (int r = first; r <= last; ++r) {
            sheet.modifyFormat(Area::rows(r, r), [](Format& f) { entryFormat(f, 5); });
            sheet.addValidation(Area::cell(r, 0), years);
            sheet.addValidation(Area::cell(r, 1), materials);
            sheet.addValidation(Area{r, 2, r, 3}, amounts);
            sheet.setFormula(r, 4,
                             u"=IF(OR(" + abs(r, 2) + u"<1," + abs(r, 3) + u"<1),\"\",PRODUCT(" + abs(r, 2) +
                                 u"," + abs(r, 3) + u"))");
            if (r == last)
                continue; // the blank entry row a block keeps ready
            int i = r - first;
            sheet.setValue(r, 0, Value::number(2025 + i % 2));
            sheet.setValue(r, 1, Value::text(kinds[(u + i) % 3]));
            sheet.setValue(r, 2, Value::number(1 + i % 5));
            sheet.setValue(r, 3, Value::number(12.5 + i));
            sheet.setValue(r, 5, Value::text(u"No." + number(u * 100 + i)));
            sheet.setValue(r, 6, Value::text(name));
        }
        for (int r = headerRow; r <= last; ++r) {
            sheet.editRow(r).outlineLevel = 1;
            sheet.editRow(r).hidden = collapsed;
        }
        sheet.editRow(unitRow).collapsed = collapsed;
        row = last + 2; // one separator row of level 1
    }
    scratch.setValue(0, 0, Value::text(u"合并"));
    scratch.merge({0, 0, 1, 2});
    scratch.setSelection({{Area{3, 1, 4, 2}}, {3, 1}});
}

} // namespace xls_testing
