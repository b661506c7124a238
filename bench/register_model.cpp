#include "bench/register_model.h"

#include "engine/formula/address.h"

#include <array>
#include <string>

namespace bench {
namespace {

using engine::Area;
using engine::Value;

constexpr std::u16string_view kKinds[] = {u"报纸", u"杂志", u"期刊", u"图书", u"年鉴"};

std::u16string addr(int row, int col) {
    return engine::formatAddress({row, col}, true);
}

std::u16string amount(int row) {
    std::u16string c = addr(row, 2), d = addr(row, 3);
    return u"=IF(OR(" + c + u"<1," + d + u"<1),\"\",PRODUCT(" + c + u"," + d + u"))";
}

std::u16string missingKinds(int first, int last) {
    std::u16string range = addr(first, 1) + u":" + addr(last, 1);
    std::u16string f = u"=SUBSTITUTE(TRIM(";
    for (std::u16string_view kind : kKinds) {
        std::u16string k(kind);
        f += u"IF(COUNTIF(" + range + u",\"" + k + u"\"),\"\",\"" + k + u" \")&";
    }
    f.pop_back();
    return f + u"),\" \",\"、\")";
}

} // namespace

Register buildRegister(int blocks) {
    Register reg;
    reg.book = std::make_unique<engine::Workbook>();
    engine::Sheet& s = reg.book->addSheet(u"征订登记");
    reg.sheet = &s;
    reg.book->addSheet(u"Sheet2");
    const std::array<std::u16string_view, 7> titles = {u"征订年度", u"资料名称", u"征订数量", u"单价",
                                                       u"金额",     u"票据号",   u"征订单位"};
    for (int c = 0; c < 7; ++c)
        s.setValue(0, c, Value::text(std::u16string(titles[c])));
    engine::ValidationRule years, materials;
    years.formula1 = u"2025,2026";
    materials.formula1 = u"报纸,杂志,期刊,图书,年鉴,2026年度杂志,2027年度杂志";
    engine::FormatId entryFormat = [&] {
        engine::Format f;
        f.fillColorIndex = 34;
        f.fontColorIndex = 5;
        for (engine::Border& b : f.borders)
            b = {engine::LineStyle::Dash, engine::BorderWeight::Thin};
        return reg.book->formats().intern(f);
    }();

    int row = 1;
    for (int b = 0; b < blocks; ++b) {
        int entries = 25 + (b * 7) % 10;
        int unit = row, header = row + 1, first = row + 2, last = row + 1 + entries;
        std::u16string name = u"单位" + engine::formatAddress({b, 0}, false).substr(1);
        s.setValue(unit, 0, Value::text(name));
        s.setFormula(unit, 1, missingKinds(first, last));
        s.setFormula(unit, 2, u"=SUM(" + addr(header, 4) + u":" + addr(last, 4) + u")");
        for (int c = 0; c < 7; ++c)
            s.setValue(header, c, Value::text(std::u16string(titles[c])));
        for (int r = header; r <= last; ++r) {
            s.editRow(r).outlineLevel = 1;
            s.editRow(r).format = entryFormat;
        }
        for (int r = first; r <= last; ++r) {
            if (r < last) { // the last entry row stays blank, ready for the next subscription
                s.setValue(r, 0, Value::number(2025 + r % 2));
                s.setValue(r, 1, Value::text(std::u16string(kKinds[(r + b) % 4])));
                s.setValue(r, 2, Value::number(1 + r % 5));
                s.setValue(r, 3, Value::number(12.5 + r % 3));
                s.setValue(r, 5, Value::text(u"NO." + engine::formatAddress({r, 0}, false).substr(1)));
                s.setValue(r, 6, Value::text(name));
            }
            s.setFormula(r, 4, amount(r));
            s.addValidation(Area::cell(r, 0), years);
            s.addValidation(Area::cell(r, 1), materials);
        }
        reg.blocks.push_back({unit, last});
        row = last + 2; // a separator row between blocks
    }
    return reg;
}

} // namespace bench
