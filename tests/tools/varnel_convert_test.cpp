#include "engine/model/workbook.h"
#include "engine/xls/xls.h"
#include "tests/engine/xls/macro_project.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using engine::Area;
using engine::Value;

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A workbook with a cell of each kind and the number formats a register uses.
class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("varnel-convert-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);

        engine::Workbook book;
        engine::Sheet& s = book.addSheet(u"登记");
        auto put = [&](int row, int col, const Value& v, std::u16string code = u"") {
            s.setValue(row, col, v);
            if (!code.empty())
                s.modifyFormat(Area::cell(row, col), [&](engine::Format& f) { f.numberFormat = code; });
        };
        put(0, 0, Value::text(u"单位"));
        put(0, 1, Value::text(u"a, \"b\"\nc"));
        put(0, 2, Value::boolean(true));
        put(1, 0, Value::number(12.5), u"0.00");
        put(1, 1, Value::number(1234.5), u"¥#,##0.00");
        put(1, 2, Value::number(46082), u"yyyy-mm-dd");
        put(1, 3, Value::number(0.15), u"0%");
        s.setFormula(2, 0, u"=A2*2");
        s.setFormula(2, 2, u"=1/0");
        s.setArrayFormula(Area::cell(2, 3), u"=SUM(A2:A3*2)");
        // A formatted blank below the values gives no line of its own.
        s.modifyFormat(Area::cell(5, 5), [](engine::Format& f) { f.numberFormat = u"0.00"; });
        book.addSheet(u"Two").setValue(0, 1, Value::text(u"only"));
        input = folder / "in.xls";
        engine::xls::writeWorkbook(book, input);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The exit code; what went to standard error is kept in `errors`.
    int convert(const std::string& arguments) {
        std::string command =
            std::string(VARNEL_CONVERT) + " " + arguments + " 2>'" + (folder / "errors").string() + "'";
        int status = std::system(command.c_str());
        errors = readFile(folder / "errors");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string quote(const fs::path& p) const {
        std::string quoted(1, '\'');
        quoted.append(p.string()).push_back('\'');
        return quoted;
    }

    fs::path folder, input;
    std::string errors;
};

TEST_F(ConvertTest, CsvGivesOneSheetAsTheGridShowsIt) {
    fs::path out = folder / "out.csv";
    ASSERT_EQ(convert(quote(input) + " " + quote(out)), 0) << errors;
    EXPECT_EQ(readFile(out), "单位,\"a, \"\"b\"\"\nc\",TRUE,\r\n"
                             "12.50,\"¥1,234.50\",2026-03-01,15%\r\n"
                             "25,,#DIV/0!,75\r\n");

    ASSERT_EQ(convert("--sheet Two " + quote(input) + " " + quote(out)), 0) << errors;
    EXPECT_EQ(readFile(out), ",only\r\n");
}

TEST_F(ConvertTest, JsonListsEveryCellWithItsTypeFormulaAndFormat) {
    fs::path out = folder / "out.json";
    ASSERT_EQ(convert(quote(input) + " " + quote(out.string())), 0) << errors;
    // Read back by Python's own JSON parser, one line a cell.
    std::string script = "import json,sys\n"
                         "d=json.load(open(sys.argv[1],encoding='utf-8'))\n"
                         "print(d['dropped'])\n"
                         "for s in d['sheets']:\n"
                         "  for c in s['cells']:\n"
                         "    print(s['name'],c['cell'],c['type'],json.dumps(c['value'],ensure_ascii=False),"
                         "c.get('formula'),c.get('format'))\n";
    std::ofstream(folder / "read.py") << script;
    std::string command = "python3 " + quote(folder / "read.py") + " " + quote(out);
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string printed;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        printed.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0) << readFile(out);
    EXPECT_EQ(printed, "[]\n"
                       "登记 A1 text \"单位\" None None\n"
                       "登记 B1 text \"a, \\\"b\\\"\\nc\" None None\n"
                       "登记 C1 bool true None None\n"
                       "登记 A2 number 12.5 None 0.00\n"
                       "登记 B2 number 1234.5 None ¥#,##0.00\n"
                       "登记 C2 number 46082 None yyyy-mm-dd\n"
                       "登记 D2 number 0.15 None 0%\n"
                       "登记 A3 number 25 =A2*2 None\n"
                       "登记 C3 error \"#DIV/0!\" =1/0 None\n"
                       "登记 D3 number 75 {=SUM(A2:A3*2)} None\n"
                       "Two B1 text \"only\" None None\n");
}

TEST_F(ConvertTest, XlsIsSavedThroughTheWriter) {
    fs::path out = folder / "OUT.XLS";
    ASSERT_EQ(convert(quote(input) + " " + quote(out)), 0) << errors;
    auto back = engine::xls::readWorkbook(out);
    ASSERT_EQ(back.workbook->sheetCount(), 2);
    EXPECT_EQ(back.workbook->sheet(0).formulaText(2, 0), u"=A2*2");
    EXPECT_EQ(back.workbook->sheet(0).format(1, 1).numberFormat, u"¥#,##0.00");
}

// The input given a macro project's name among its globals, which the reader reports and drops.
TEST_F(ConvertTest, WhatTheReaderDropsIsListedInJsonAndWarnedOfForXls) {
    engine::xls::testing::addMacroProjectName(input);

    ASSERT_EQ(convert(quote(input) + " " + quote(folder / "out.json")), 0) << errors;
    EXPECT_NE(readFile(folder / "out.json").find("\"dropped\":[\"macros\"]"), std::string::npos);
    EXPECT_EQ(errors, "");
    ASSERT_EQ(convert(quote(input) + " " + quote(folder / "out.xls")), 0) << errors;
    EXPECT_NE(errors.find("macros"), std::string::npos) << errors;
    EXPECT_NE(errors.find("out.xls"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

TEST_F(ConvertTest, ExitCodesTellARefusedInputFromAnUnwrittenOutput) {
    std::ofstream(folder / "notes.xls") << "not a workbook";
    EXPECT_EQ(convert(quote(folder / "notes.xls") + " " + quote(folder / "a.csv")), 5);
    EXPECT_NE(errors.find("notes.xls"), std::string::npos) << errors;
    EXPECT_NE(errors.find("not an Excel workbook"), std::string::npos) << errors;
    EXPECT_EQ(convert(quote(folder / "missing.xls") + " " + quote(folder / "a.csv")), 5);
    EXPECT_NE(errors.find("missing.xls"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(folder / "a.csv"));

    for (const char* out : {"no-such-folder/a.csv", "no-such-folder/a.json", "no-such-folder/a.xls"}) {
        EXPECT_EQ(convert(quote(input) + " " + quote(folder / out)), 9) << out;
        EXPECT_NE(errors.find(out), std::string::npos) << errors;
    }

    EXPECT_EQ(convert(""), 64);
    EXPECT_EQ(convert(quote(input) + " " + quote(folder / "a.txt")), 64);
    EXPECT_EQ(convert("--sheet Nowhere " + quote(input) + " " + quote(folder / "a.csv")), 64);
    EXPECT_NE(errors.find("Nowhere"), std::string::npos) << errors;
    EXPECT_EQ(convert("--sheet Two " + quote(input) + " " + quote(folder / "a.json")), 64);
    EXPECT_FALSE(fs::exists(folder / "a.csv"));
    EXPECT_FALSE(fs::exists(folder / "a.json"));
}

} // namespace
