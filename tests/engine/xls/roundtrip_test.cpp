#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/xls/compound_file.h"
#include "engine/xls/error.h"
#include "engine/xls/record_reader.h"
#include "engine/xls/record_types.h"
#include "engine/xls/xls.h"
#include "tests/engine/xls/sample_register.h"
#include "tests/engine/xls/workbook_compare.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace engine;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<Workbook> roundTrip(const Workbook& book, std::vector<std::string>* dropped = nullptr) {
    auto bytes = xls::workbookBytes(book);
    auto result = xls::readWorkbook(bytes, "test.xls");
    if (dropped)
        *dropped = result.dropped;
    return std::move(result.workbook);
}

class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("varnel-xls-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

TEST(RoundTrip, RegisterKeepsEverythingCollapsedAndExpanded) {
    for (bool collapsed : {false, true}) {
        SCOPED_TRACE(collapsed ? "collapsed" : "expanded");
        Workbook book;
        xls_testing::buildRegister(book, 4, 5, collapsed);
        std::vector<std::string> dropped;
        auto back = roundTrip(book, &dropped);
        EXPECT_TRUE(dropped.empty());
        xls_testing::expectSameWorkbook(book, *back);
        // And the file written from what was read is the same file.
        EXPECT_EQ(xls::workbookBytes(book), xls::workbookBytes(*back));
    }
}

TEST(RoundTrip, FontsNumberFormatsBordersProtectionAndRichTextAreKept) {
    Workbook book;
    book.setDefaultFont({u"宋体", 11});
    Sheet& s = book.addSheet(u"格式");
    const char16_t* codes[] = {u"0.00",
                               u"#,##0",
                               u"\"¥\"#,##0.00;[Red]\"¥\"-#,##0.00",
                               u"yyyy-mm-dd hh:mm:ss",
                               u"0%",
                               u"@",
                               u"[$€-407] #,##0.00",
                               u"h:mm AM/PM"};
    for (int i = 0; i < 8; ++i) {
        s.setValue(0, i, Value::number(1234.5 + i));
        s.modifyFormat(Area::cell(0, i), [&](Format& f) { f.numberFormat = codes[i]; });
    }
    s.setValue(1, 0, Value::text(u"粗体"));
    s.modifyFormat(Area::cell(1, 0), [](Format& f) {
        f.font = {u"黑体", 14, true, true, true, Underline::Double, 10};
        f.border(Edge::Left) = {LineStyle::Dash, BorderWeight::Medium, 12};
        f.border(Edge::Bottom) = {LineStyle::Double, BorderWeight::Thick, 0};
        f.locked = false;
        f.formulaHidden = true;
    });
    s.modifyFormat(Area::cell(1, 1), [](Format& f) { f.font.size = 9; });
    Font red{u"Arial", 10, false, false, false, Underline::Single, 3};
    s.setRichText(2, 0, u"普通红色粗体", {{2, red}, {4, Font{{}, 0, true}}});
    s.setRichText(2, 1, u"普通红色粗体", {{2, red}});
    s.setValue(2, 2, Value::text(u"普通红色粗体"));
    std::vector<std::string> dropped;
    auto back = roundTrip(book, &dropped);
    EXPECT_TRUE(dropped.empty());
    xls_testing::expectSameWorkbook(book, *back);
    EXPECT_EQ(back->sheet(0).textRuns(2, 0).size(), 2u);
    EXPECT_TRUE(back->sheet(0).textRuns(2, 2).empty());
}

TEST(RoundTrip, ValuesOfEveryKindAndCellsAtTheEdges) {
    Workbook book;
    Sheet& s = book.addSheet(u"值 'a' 表");
    s.setValue(0, 0, Value::number(0.1));
    s.setValue(0, 1, Value::number(-123456789012.0));
    s.setValue(0, 2, Value::number(1e-300));
    s.setValue(0, 3, Value::number(-0.5));
    s.setValue(0, 4, Value::number(1.23)); // stored as a hundredth
    s.setValue(1, 0, Value::boolean(true));
    s.setValue(1, 1, Value::error(ErrorCode::NA));
    s.setValue(1, 2, Value::text(u""));
    s.setValue(1, 3, Value::text(std::u16string(20000, u'长')));
    s.setValue(1, 4, Value::text(u"\u00FF\u0100")); // the last character a byte holds, and the first beyond
    s.setValue(kLastRow, kLastColumn, Value::text(u"corner"));
    s.setFormula(2, 0, u"=IF(A1>0,\"\",1)");          // empty-text result
    s.setFormula(2, 1, u"=A2");                       // boolean result
    s.setFormula(2, 2, u"=1/0");                      // error result
    s.setFormula(2, 3, u"=\"长\"&B3");                // text result with a STRING record
    s.setFormula(2, 4, u"=SUM('值 ''a'' 表'!A1:B1)"); // a reference naming its own sheet
    s.setFormula(2, 5, u"=Foo(1,A1)+1");              // a function Excel 97 does not know: an add-in call
    s.editRow(5).customHeight = true;
    s.editRow(5).height = 30;
    s.editColumn(3).hidden = true;
    s.editColumn(4).outlineLevel = 1;
    // Bounds of a validation: a formula that begins with a number, and a number.
    s.addValidation(Area::cell(3, 0), {ValidationType::Decimal, AlertStyle::Stop, ValidationOperator::Between,
                                       u"=2*A1", u"10"});
    s.editColumn(5).outlineLevel = 2;
    s.setDefaultRowHeight(15);
    auto back = roundTrip(book);
    xls_testing::expectSameWorkbook(book, *back);
    EXPECT_EQ(back->sheet(0).value(2, 0), Value::text(u""));
}

TEST(RoundTrip, SavingReplacesTheFileAndAFailureLeavesItAsItWas) {
    TempDir dir;
    fs::path file = dir.path() / "Ombrell.xls";
    Workbook book;
    xls_testing::buildRegister(book, 2, 2, false);
    xls::writeWorkbook(book, file);
    auto first = xls::readWorkbook(file);
    xls_testing::expectSameWorkbook(book, *first.workbook);
    auto before = fs::file_size(file);

    // A text an Excel 97-2003 cell cannot hold: the save fails, names the cell, and the old file stays
    // untouched, with no temporary file left beside it.
    book.sheet(0).setValue(1, 8, Value::text(std::u16string(40000, u'x')));
    try {
        xls::writeWorkbook(book, file);
        FAIL() << "the save should fail";
    } catch (const xls::XlsError& e) {
        EXPECT_NE(std::string(e.what()).find("Ombrell.xls"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("I2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(fs::file_size(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    EXPECT_THROW(xls::writeWorkbook(book, dir.path() / "missing" / "x.xls"), xls::XlsError);
}

TEST(RoundTrip, SavingDoesNotChangeTheWorkbook) {
    Workbook book;
    xls_testing::buildRegister(book, 2, 3, true);
    auto revision = book.revision();
    xls::workbookBytes(book);
    EXPECT_EQ(book.revision(), revision);
}

// Excel computes a formula again on opening only when its record says so: those calling TODAY, NOW
// or RAND, known to the engine or kept by name.
TEST(RoundTrip, OnlyVolatileFormulasAreMarkedForComputingOnOpening) {
    Workbook book;
    Sheet& s = book.addSheet(u"Sheet1");
    s.setFormula(0, 0, u"=TODAY()");
    s.setFormula(1, 0, u"=1+NOW()");
    s.setFormula(2, 0, u"=IF(A1,RAND(),2)");
    s.setFormula(3, 0, u"=SUBSTITUTE(\"TODAY\",\"a\",\"b\")");
    s.setFormula(4, 0, u"=TODAYS(1)+NOWHERE+RANDOM(2)");
    auto stream = xls::workbookStream(xls::workbookBytes(book));
    xls::RecordReader r(stream);
    std::vector<int> marked;
    int substreams = 0; // the globals, then the sheet; what follows is padding
    while (substreams < 2 && r.next()) {
        substreams += r.type() == xls::rec::Eof;
        if (r.type() == xls::rec::Formula) {
            auto body = r.body();
            ASSERT_GE(body.size(), 16u);
            if (body[14] & 0x01)
                marked.push_back(body[0] | body[1] << 8);
        }
    }
    EXPECT_EQ(marked, (std::vector<int>{0, 1, 2}));
}

// Names of the workbook and of a sheet, built-in ones among them, come back with what they stand for,
// and formulas that use them come back using them.
TEST(RoundTrip, DefinedNamesAndTheFormulasUsingThemAreKept) {
    Workbook book;
    Sheet& data = book.addSheet(u"征订登记");
    Sheet& other = book.addSheet(u"Sheet2");
    auto define = [&](std::u16string name, std::u16string_view definition, std::optional<SheetId> sheet,
                      std::optional<uint8_t> builtIn = std::nullopt, bool hidden = false) {
        book.defineName(
            {std::move(name), sheet, builtIn, hidden, formula::parse(definition, book.sheetNames())});
    };
    define(u"Rate", u"Sheet2!$A$1", std::nullopt);
    define(u"Rate", u"0.5", other.id());
    define(u"单位", u"\"件\"", std::nullopt);
    define(u"Print_Area", u"征订登记!$A$1:$G$9", data.id(), 0x06);
    define(u"Print_Titles", u"征订登记!$1:$1", data.id(), 0x07);
    define(u"_FilterDatabase", u"征订登记!$A$1:$G$9", data.id(), 0x0D, true);
    other.setValue(0, 0, Value::number(0.1));
    data.setFormula(0, 0, u"=Rate*10");
    data.setFormula(1, 0, u"=单位&Print_Area");
    other.setFormula(1, 0, u"=Rate");

    std::vector<std::string> dropped;
    auto back = roundTrip(book, &dropped);
    EXPECT_TRUE(dropped.empty()) << dropped.front();
    ASSERT_EQ(back->names().all().size(), book.names().all().size());
    for (size_t i = 0; i < book.names().all().size(); ++i) {
        const DefinedName& a = book.names().all()[i];
        const DefinedName& b = back->names().all()[i];
        SCOPED_TRACE(std::string(a.name.begin(), a.name.end()));
        EXPECT_EQ(a.name, b.name);
        EXPECT_EQ(a.builtIn, b.builtIn);
        EXPECT_EQ(a.hidden, b.hidden);
        ASSERT_EQ(a.sheet.has_value(), b.sheet.has_value());
        if (a.sheet) {
            EXPECT_EQ(book.sheetById(*a.sheet)->name(), back->sheetById(*b.sheet)->name());
        }
        EXPECT_EQ(formula::print(a.definition, book.sheetNames()),
                  formula::print(b.definition, back->sheetNames()));
    }
    const Sheet& d = back->sheet(0);
    EXPECT_EQ(d.formulaText(0, 0), u"=Rate*10");
    EXPECT_DOUBLE_EQ(d.value(0, 0).asNumber(), 1);
    EXPECT_EQ(d.formulaText(1, 0), u"=单位&Print_Area");
    EXPECT_EQ(back->sheet(1).value(1, 0), Value::number(0.5));
}
