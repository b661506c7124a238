// Writes the empty register workbook the program ships with: the register sheet with its heading row,
// column widths for the register's texts and the outline setting that makes each unit row the summary
// of the block below it, and the empty scratch sheet.
//
// Usage: varnel-make-register <output.xls>
#include "engine/model/workbook.h"
#include "engine/xls/error.h"
#include "engine/xls/xls.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.xls>\n", argv[0]);
        return 2;
    }
    engine::Workbook book;
    engine::Sheet& reg = book.addSheet(u"征订登记");
    book.addSheet(u"Sheet2");

    struct Column {
        const char16_t* title;
        double width;
    };
    // Year, material name (also the unit row's list of missing kinds), quantity, price, amount,
    // receipt number, subscribing unit.
    const Column columns[] = {{u"征订年度", 10}, {u"资料名称", 36}, {u"征订数量", 10}, {u"单价", 10},
                              {u"金额", 12},     {u"票据号", 14},   {u"征订单位", 24}};
    for (int c = 0; c < 7; ++c) {
        reg.setValue(0, c, engine::Value::text(columns[c].title));
        engine::ColumnProperties& p = reg.editColumn(c);
        p.width = columns[c].width;
        p.customWidth = true;
    }
    reg.modifyFormat(engine::Area::rows(0, 0), [](engine::Format& f) { f.font.bold = true; });
    reg.setOutline({.summaryRowsBelow = false, .summaryColumnsRight = true});

    try {
        engine::xls::writeWorkbook(book, argv[1]);
    } catch (const engine::xls::XlsError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
