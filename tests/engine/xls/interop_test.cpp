// Workbooks written here, opened by the peers that users share registers with: LibreOffice (headless)
// and xlrd. Each test skips, saying why, when its peer is not installed.
#include "engine/formula/functions.h"
#include "engine/formula/printer.h"
#include "engine/model/workbook.h"
#include "engine/xls/compound_file.h"
#include "engine/xls/xls.h"
#include "platform/text/utf.h"
#include "tests/engine/xls/encrypted_stream.h"
#include "tests/engine/xls/sample_register.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <sstream>

using namespace engine;
namespace fs = std::filesystem;

namespace {

int run(const std::string& command, std::string* output = nullptr) {
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    std::string out;
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        out.append(buffer, n);
    int status = ::pclose(pipe);
    if (output)
        *output = out;
    return status;
}

bool haveSoffice() {
    return run("command -v soffice") == 0;
}

std::string pythonWithXlrd() {
    for (const char* p : {"/usr/bin/python3", "python3"})
        if (run(std::string(p) + " -c 'import xlrd'") == 0)
            return p;
    return {};
}

class Scratch {
public:
    Scratch() : dir_(fs::temp_directory_path() / ("varnel-interop-" + std::to_string(::getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "out");
    }
    ~Scratch() { fs::remove_all(dir_); }
    fs::path operator/(const std::string& name) const { return dir_ / name; }

    // Converts `file` with LibreOffice into dir/out; its own profile keeps it apart from other runs.
    fs::path convert(const fs::path& file, const std::string& filter, const std::string& extension) const {
        std::string log;
        std::string command = "timeout 180 soffice -env:UserInstallation=file://" +
                              (dir_ / "profile").string() + " --headless --convert-to '" + filter +
                              "' --outdir '" + (dir_ / "out").string() + "' '" + file.string() + "'";
        int status = run(command, &log);
        fs::path result = dir_ / "out" / (file.stem().string() + "." + extension);
        EXPECT_EQ(status, 0) << log;
        EXPECT_TRUE(fs::exists(result)) << log;
        return result;
    }

private:
    fs::path dir_;
};

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path interopScript(const std::string& name) {
    return fs::path(VARNEL_SOURCE_DIR) / "tests" / "engine" / "xls" / "interop" / name;
}

// What a script prints about a file.
std::string scriptOutput(const std::string& python, const std::string& script, const fs::path& file) {
    std::string out;
    EXPECT_EQ(run(python + " '" + interopScript(script).string() + "' '" + file.string() + "'", &out), 0)
        << out;
    return out;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty())
        rows.back().push_back(field);
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

std::string shown(const Value& v) {
    switch (v.kind()) {
    case Value::Kind::Number: {
        char b[64];
        std::snprintf(b, sizeof b, "%.15g", v.asNumber());
        return b;
    }
    case Value::Kind::Text:
        return text::toUtf8(v.asText());
    case Value::Kind::Boolean:
        return v.asBoolean() ? "TRUE" : "FALSE";
    case Value::Kind::Error:
        return text::toUtf8(errorText(v.asError()));
    case Value::Kind::Empty:
        return "";
    }
    return "";
}

} // namespace

TEST(Interop, LibreOfficeShowsTheSameValuesAndFormulaResults) {
    if (!haveSoffice())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-calc-nogui";
    Scratch scratch;
    Workbook book;
    xls_testing::buildRegister(book, 3, 4, false);
    fs::path file = scratch / "register.xls";
    xls::writeWorkbook(book, file);
    fs::path csv = scratch.convert(file, "csv:Text - txt - csv (StarCalc):44,34,76,1", "csv");
    std::ifstream in(csv, std::ios::binary);
    auto rows = parseCsv(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));

    const Sheet& sheet = book.sheet(0);
    ASSERT_EQ(int(rows.size()), sheet.usedArea()->bottom + 1);
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < 7; ++c) {
            std::string theirs = c < int(rows[size_t(r)].size()) ? rows[size_t(r)][size_t(c)] : "";
            EXPECT_EQ(theirs, shown(sheet.value(r, c))) << "row " << r + 1 << " column " << c + 1;
        }
}

// LibreOffice opens a file encrypted with Excel's default password without asking: that it sees the
// plain file's cells in ours shows the test's encryption to be Excel's, which our reader then undoes.
TEST(Interop, AWorkbookEncryptedWithTheDefaultPasswordOpensInLibreOfficeAndHere) {
    if (!haveSoffice())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-calc-nogui";
    Scratch scratch;
    Workbook book;
    xls_testing::buildRegister(book, 12, 5, false);
    fs::path plain = scratch / "plain.xls";
    xls::writeWorkbook(book, plain);
    auto encrypted = xls::compoundFile(
        xls_testing::encryptedStream(xls::workbookStream(xls::workbookBytes(book)), u"VelvetSweatshop"));
    fs::path locked = scratch / "locked.xls";
    std::ofstream(locked, std::ios::binary)
        .write(reinterpret_cast<const char*>(encrypted.data()), std::streamsize(encrypted.size()));

    std::string csv = "csv:Text - txt - csv (StarCalc):44,34,76,1";
    std::string theirs = readFile(scratch.convert(locked, csv, "csv"));
    EXPECT_EQ(theirs, readFile(scratch.convert(plain, csv, "csv")));
    EXPECT_GT(theirs.size(), 500u);

    auto ours = xls::readWorkbook(locked);
    EXPECT_EQ(ours.workbook->sheet(0).value(0, 0), book.sheet(0).value(0, 0));
    EXPECT_EQ(xls::workbookBytes(*ours.workbook), xls::workbookBytes(book));
}

TEST(Interop, XlrdSeesTheOutlineHiddenRowsAndFills) {
    std::string python = pythonWithXlrd();
    if (python.empty())
        GTEST_SKIP() << "xlrd is not installed; install python3-xlrd";
    Scratch scratch;
    Workbook book;
    xls_testing::buildRegister(book, 3, 3, true);
    fs::path file = scratch / "register.xls";
    xls::writeWorkbook(book, file);

    // One line a row: level, hidden, then the fill colour index of each of the first seven cells that
    // exist (or of the row's format), -1 for none.
    std::string script = R"(
import sys, xlrd
b = xlrd.open_workbook(sys.argv[1], formatting_info=True)
s = b.sheet_by_index(0)
for r in range(s.nrows):
    info = s.rowinfo_map.get(r)
    fills = []
    for c in range(7):
        xf = -1
        if c < s.row_len(r):
            xf = s.cell_xf_index(r, c)
        elif info is not None and info.has_default_xf_index:
            xf = info.xf_index
        fills.append(str(b.xf_list[xf].background.pattern_colour_index if xf >= 0 and b.xf_list[xf].background.fill_pattern else -1))
    print(info.outline_level if info else 0, int(info.hidden) if info else 0, ' '.join(fills))
)";
    fs::path py = scratch / "read.py";
    std::ofstream(py) << script;
    std::string out;
    ASSERT_EQ(run(python + " '" + py.string() + "' '" + file.string() + "'", &out), 0) << out;

    const Sheet& sheet = book.sheet(0);
    std::istringstream lines(out);
    for (int r = 0; r <= sheet.usedArea()->bottom; ++r) {
        int level, hidden;
        ASSERT_TRUE(lines >> level >> hidden) << out;
        EXPECT_EQ(level, sheet.row(r).outlineLevel) << "row " << r + 1;
        EXPECT_EQ(hidden != 0, sheet.row(r).hidden) << "row " << r + 1;
        for (int c = 0; c < 7; ++c) {
            int fill;
            ASSERT_TRUE(lines >> fill);
            int expected = sheet.format(r, c).fillColorIndex;
            if (fill != -1 || expected != 0) {
                EXPECT_EQ(fill, expected + 7) << "row " << r + 1 << " column " << c + 1;
            }
        }
    }
}

TEST(Interop, RegisterSavedAgainByLibreOfficeReadsBackTheSame) {
    if (!haveSoffice())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-calc-nogui";
    Scratch scratch;
    Workbook book;
    xls_testing::buildRegister(book, 3, 3, true);
    fs::path file = scratch / "register.xls";
    xls::writeWorkbook(book, file);
    fs::path again = scratch.convert(file, "xls:MS Excel 97", "xls");
    auto result = xls::readWorkbook(again);
    const Workbook& back = *result.workbook;
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();

    ASSERT_EQ(back.sheetCount(), book.sheetCount());
    const Sheet& a = book.sheet(0);
    const Sheet& b = back.sheet(0);
    EXPECT_EQ(a.name(), b.name());
    for (int r = 0; r <= a.usedArea()->bottom + 1; ++r) {
        EXPECT_EQ(a.row(r).outlineLevel, b.row(r).outlineLevel) << "row " << r + 1;
        EXPECT_EQ(a.row(r).hidden, b.row(r).hidden) << "row " << r + 1;
        for (int c = 0; c < 7; ++c) {
            SCOPED_TRACE("row " + std::to_string(r + 1) + " column " + std::to_string(c + 1));
            EXPECT_EQ(a.value(r, c), b.value(r, c));
            EXPECT_EQ(a.formulaText(r, c), b.formulaText(r, c));
            const ValidationRule* va = a.validationAt(r, c);
            const ValidationRule* vb = b.validationAt(r, c);
            ASSERT_EQ(va == nullptr, vb == nullptr);
            if (va) {
                EXPECT_EQ(va->formula1, vb->formula1);
                EXPECT_EQ(va->type, vb->type);
                EXPECT_EQ(va->op, vb->op);
                EXPECT_EQ(va->alert, vb->alert);
            }
        }
    }
    EXPECT_EQ(book.sheet(1).merges(), back.sheet(1).merges());
}

// A workbook LibreOffice made (from an .xlsx written by hand), with number formats, fonts, a default
// font of 宋体 11, rich text, borders and protection: opened and saved here, LibreOffice and xlrd see
// in it what they saw before.
TEST(Interop, FormatsFontsRichTextBordersAndProtectionSurviveASaveOfALibreOfficeWorkbook) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "styled.xlsx";
    std::string log;
    ASSERT_EQ(
        run(python + " '" + interopScript("styled_workbook.py").string() + "' '" + source.string() + "'",
            &log),
        0)
        << log;
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");

    auto result = xls::readWorkbook(made);
    const Workbook& book = *result.workbook;
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    // What the .xlsx said, as this program keeps it.
    EXPECT_EQ(book.defaultFont().name, u"宋体");
    EXPECT_EQ(book.defaultFont().size, 11);
    const Sheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.format(0, 0).numberFormat, u"0.00");
    EXPECT_EQ(sheet.format(0, 2).numberFormat, u"0%");
    EXPECT_EQ(sheet.format(2, 0).font.size, 14);
    EXPECT_TRUE(sheet.format(2, 0).font.bold);
    EXPECT_TRUE(sheet.format(2, 1).font.italic);
    EXPECT_EQ(sheet.format(2, 1).font.underline, Underline::Single);
    EXPECT_EQ(sheet.format(2, 1).font.colorIndex, 3);
    EXPECT_EQ(sheet.format(2, 2).font.name, u"Times New Roman");
    EXPECT_TRUE(sheet.format(2, 2).font.strikeout);
    ASSERT_EQ(sheet.textRuns(2, 3).size(), 3u);
    EXPECT_EQ(sheet.textRuns(2, 3)[1].start, 2);
    EXPECT_TRUE(sheet.textRuns(2, 3)[1].font.bold);
    EXPECT_EQ(sheet.format(3, 0).border(Edge::Left).colorIndex, 5);
    EXPECT_EQ(sheet.format(3, 1).border(Edge::Bottom).style, LineStyle::Dash);
    EXPECT_EQ(sheet.format(3, 2).border(Edge::Top).style, LineStyle::Double);
    EXPECT_FALSE(sheet.format(4, 0).locked);
    EXPECT_TRUE(sheet.format(4, 1).formulaHidden);

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(scriptOutput(python, "xlrd_formats.py", saved), scriptOutput(python, "xlrd_formats.py", made));
    EXPECT_EQ(scriptOutput(python, "xlsx_formats.py",
                           scratch.convert(saved, "xlsx:Calc MS Excel 2007 XML", "xlsx")),
              scriptOutput(python, "xlsx_formats.py",
                           scratch.convert(made, "xlsx:Calc MS Excel 2007 XML", "xlsx")));
    std::string csv = "csv:Text - txt - csv (StarCalc):44,34,76,1";
    EXPECT_EQ(readFile(scratch.convert(saved, csv, "csv")), readFile(scratch.convert(made, csv, "csv")));
}

// A workbook LibreOffice made with names of the workbook and of a sheet, a print area, formulas using
// them, a column of like formulas and a function this program does not compute: opened and saved
// here, LibreOffice and xlrd see the same names, formulas and results as in LibreOffice's own file.
TEST(Interop, NamesSharedFormulasAndStoredResultsSurviveASaveOfALibreOfficeWorkbook) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "named.fods";
    std::string log;
    ASSERT_EQ(run(python + " '" + interopScript("named_workbook.py").string() + "' '" + source.string() + "'",
                  &log),
              0)
        << log;
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");

    auto result = xls::readWorkbook(made);
    Workbook& book = *result.workbook;
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Sheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.formulaText(0, 1), u"=PMT(A1,10,1000)");
    EXPECT_NEAR(sheet.value(0, 1).asNumber(), -129.5045749654567, 1e-9);
    EXPECT_EQ(sheet.formulaText(3, 1), u"=A4*Rate");
    EXPECT_EQ(sheet.value(3, 1), Value::number(2));
    EXPECT_EQ(sheet.value(7, 0), Value::number(270));
    EXPECT_EQ(sheet.value(7, 3), Value::number(12));
    EXPECT_EQ(book.sheet(1).value(0, 1), Value::number(14)); // the sheet's own Bonus

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(scriptOutput(python, "xlrd_names.py", saved), scriptOutput(python, "xlrd_names.py", made));
    EXPECT_EQ(scriptOutput(python, "xlsx_formulas.py",
                           scratch.convert(saved, "xlsx:Calc MS Excel 2007 XML", "xlsx")),
              scriptOutput(python, "xlsx_formulas.py",
                           scratch.convert(made, "xlsx:Calc MS Excel 2007 XML", "xlsx")));

    // Rows inserted into the register move the print area and the names with them, as LibreOffice
    // reads them back.
    book.sheet(0).insertRows(2, 2);
    xls::writeWorkbook(book, saved);
    std::string names = scriptOutput(python, "xlrd_names.py", saved);
    EXPECT_NE(names.find("Print_Area 0 1 0 [Ref3D(coords=(0, 1, 0, 10, 0, 4))]"), std::string::npos) << names;
    EXPECT_NE(names.find("Amounts -1 0 0 [Ref3D(coords=(0, 1, 1, 9, 0, 1))]"), std::string::npos) << names;
}

namespace {

// What a settings script prints about a file, in one of its modes.
std::string settingsOf(const std::string& python, const std::string& mode, const fs::path& file) {
    std::string out;
    EXPECT_EQ(run(python + " '" + interopScript("sheet_settings.py").string() + "' " + mode + " '" +
                      file.string() + "'",
                  &out),
              0)
        << out;
    return out;
}

} // namespace

// A workbook LibreOffice made (from an .xlsx written by hand) with page setup, headers and footers,
// fit to pages, column widths and protection: opened and saved here, LibreOffice and xlrd see in it
// what they saw before.
TEST(Interop, PageSetupWidthsAndProtectionOfALibreOfficeWorkbookSurviveASave) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "settings.xlsx";
    settingsOf(python, "make", source);
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");

    auto result = xls::readWorkbook(made);
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Workbook& book = *result.workbook;
    // What the .xlsx said.
    const PageSetup& p = book.sheet(0).pageSetup();
    EXPECT_EQ(p.paperSize, 11);
    EXPECT_TRUE(p.landscape);
    EXPECT_EQ(p.scale, 80);
    EXPECT_FALSE(p.fitToPages);
    EXPECT_TRUE(p.usesFirstPageNumber);
    EXPECT_EQ(p.firstPageNumber, 3);
    EXPECT_TRUE(p.acrossThenDown);
    EXPECT_NEAR(p.leftMargin, 0.5, 1e-9);
    EXPECT_NEAR(p.rightMargin, 0.4, 1e-9);
    EXPECT_NEAR(p.topMargin, 1.2, 1e-9);
    EXPECT_NEAR(p.bottomMargin, 0.9, 1e-9);
    EXPECT_NEAR(p.headerMargin, 0.3, 1e-9);
    EXPECT_NEAR(p.footerMargin, 0.35, 1e-9);
    EXPECT_TRUE(p.centerHorizontally && p.centerVertically && p.printGridlines && p.printHeadings);
    EXPECT_NE(p.header.find(u"征订登记"), std::u16string::npos);
    EXPECT_NE(p.footer.find(u"第 &P 页"), std::u16string::npos);
    EXPECT_TRUE(book.sheet(0).protection().contents);
    EXPECT_EQ(book.sheet(0).protection().passwordHash, 0xCBEB);
    EXPECT_TRUE(book.sheet(1).pageSetup().fitToPages);
    EXPECT_EQ(book.sheet(1).pageSetup().fitWidth, 1);
    EXPECT_EQ(book.sheet(1).pageSetup().fitHeight, 0);

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(settingsOf(python, "xlrd", saved), settingsOf(python, "xlrd", made));
    std::string xlsx = "xlsx:Calc MS Excel 2007 XML";
    EXPECT_EQ(settingsOf(python, "xlsx", scratch.convert(saved, xlsx, "xlsx")),
              settingsOf(python, "xlsx", scratch.convert(made, xlsx, "xlsx")));
}

// Frozen panes, zoom and hidden gridlines and zeros as saved here are what xlrd and LibreOffice show,
// and LibreOffice's own file of them reads back the same.
TEST(Interop, FrozenPanesZoomAndViewOptionsAreWhatOtherProgramsShow) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    Workbook book;
    xls_testing::buildRegister(book, 3, 3, false);
    SheetView view;
    view.showGridlines = false;
    view.showZeros = false;
    view.zoom = 85;
    view.frozen = true;
    view.splitColumns = 1;
    view.splitRows = 2;
    view.paneTopRow = 2;
    view.paneLeftColumn = 1;
    view.activePane = 0;
    book.sheet(0).setView(view);
    fs::path file = scratch / "view.xls";
    xls::writeWorkbook(book, file);

    std::string seen = settingsOf(python, "xlrd", file);
    EXPECT_NE(seen.find("grid 0 headings 1 zeros 0 formulas 0 frozen 1 split 1 2 first 1 2 active 0 zoom 85"),
              std::string::npos)
        << seen;
    std::string theirs =
        settingsOf(python, "xlsx", scratch.convert(file, "xlsx:Calc MS Excel 2007 XML", "xlsx"));
    EXPECT_NE(theirs.find("showGridLines=false"), std::string::npos) << theirs;
    EXPECT_NE(theirs.find("zoomScale=85"), std::string::npos) << theirs;
    EXPECT_NE(theirs.find("state=frozen topLeftCell=B3 xSplit=1 ySplit=2"), std::string::npos) << theirs;

    auto back = xls::readWorkbook(scratch.convert(file, "xls:MS Excel 97", "xls"));
    const SheetView& v = back.workbook->sheet(0).view();
    EXPECT_FALSE(v.showGridlines);
    EXPECT_FALSE(v.showZeros);
    EXPECT_EQ(v.zoom, 85);
    EXPECT_TRUE(v.frozen);
    EXPECT_EQ(v.splitColumns, 1);
    EXPECT_EQ(v.splitRows, 2);
    EXPECT_EQ(v.paneTopRow, 2);
    EXPECT_EQ(v.paneLeftColumn, 1);
}

namespace {

std::string commentsOf(const std::string& python, const std::string& mode, const fs::path& file) {
    std::string out;
    EXPECT_EQ(
        run(python + " '" + interopScript("comments.py").string() + "' " + mode + " '" + file.string() + "'",
            &out),
        0)
        << out;
    return out;
}

} // namespace

// Comments LibreOffice wrote (from a spreadsheet written by hand): opened and saved here, xlrd and
// LibreOffice see the same comments, authors and shown state as in LibreOffice's own file; after rows
// are inserted above them, each a row lower.
TEST(Interop, CommentsOfALibreOfficeWorkbookSurviveASaveAndMoveWithTheirCells) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "comments.fods";
    commentsOf(python, "make", source);
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");
    const std::string theirs = commentsOf(python, "xlrd", made);
    EXPECT_EQ(std::count(theirs.begin(), theirs.end(), '\n'), 3) << theirs;

    auto result = xls::readWorkbook(made);
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    Workbook& book = *result.workbook;
    ASSERT_EQ(book.sheet(0).comments().size(), 3u);
    EXPECT_EQ(book.sheet(0).comments()[1].author, u"Li");
    EXPECT_TRUE(book.sheet(0).comments()[1].shown);

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(commentsOf(python, "xlrd", saved), theirs);
    const std::string xlsx = "xlsx:Calc MS Excel 2007 XML";
    const std::string shown = commentsOf(python, "xlsx", scratch.convert(made, xlsx, "xlsx"));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 3) << shown;
    EXPECT_EQ(commentsOf(python, "xlsx", scratch.convert(saved, xlsx, "xlsx")), shown);

    book.sheet(0).insertRows(0, 1);
    fs::path moved = scratch / "moved.xls";
    xls::writeWorkbook(book, moved);
    std::istringstream before(theirs);
    std::string expected;
    for (std::string line; std::getline(before, line);)
        expected += std::to_string(std::stoi(line) + 1) + line.substr(line.find('\t')) + "\n";
    EXPECT_EQ(commentsOf(python, "xlrd", moved), expected);
}

// A function is saved by its index in Excel's function table, which the engine's table must have
// right: LibreOffice reads each call as the function it was written as.
TEST(Interop, LibreOfficeReadsEveryFunctionTheEngineSavesAsThatFunction) {
    if (!haveSoffice())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; install libreoffice-calc-nogui";
    Workbook book;
    Sheet& sheet = book.addSheet(u"Sheet1");
    std::vector<std::string> written;
    for (std::uint16_t id = 0; id < formula::functionCount(); ++id) {
        const formula::Function& f = formula::function(id);
        std::u16string call(u"=");
        call.append(f.name).append(u"(");
        for (int i = 0; i < f.minArgs; ++i)
            call.append(i == 0 ? u"A1" : u",A1");
        sheet.setFormula(id, 1, call.append(u")"));
        written.push_back(text::toUtf8(f.name));
    }
    Scratch scratch;
    fs::path file = scratch / "functions.xls";
    xls::writeWorkbook(book, file);
    fs::path xlsx = scratch.convert(file, "xlsx:Calc MS Excel 2007 XML", "xlsx");
    std::string sheetXml;
    ASSERT_EQ(
        run("python3 -c 'import sys, zipfile; "
            "sys.stdout.write(zipfile.ZipFile(sys.argv[1]).read(\"xl/worksheets/sheet1.xml\").decode())' '" +
                xlsx.string() + "'",
            &sheetXml),
        0)
        << sheetXml;
    std::vector<std::string> read;
    std::regex call(R"(<f[^>]*>(?:_xlfn\.)?([A-Z0-9.]+)\()");
    for (auto it = std::sregex_iterator(sheetXml.begin(), sheetXml.end(), call); it != std::sregex_iterator();
         ++it)
        read.push_back((*it)[1]);
    EXPECT_EQ(read, written);
}

// Links, conditional formats, validations and page breaks LibreOffice wrote (from an .xlsx written by
// hand): opened and saved here, xlrd and LibreOffice see them as in LibreOffice's own file, the relative
// references of rules and validations still pointing at the cells beside each one, and a validation's
// messages and its choice to show no alert kept.
TEST(Interop, LinksConditionalFormatsValidationsAndPageBreaksOfALibreOfficeWorkbookSurviveASave) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    auto extrasOf = [&](const std::string& mode, const fs::path& file) {
        std::string out;
        EXPECT_EQ(run(python + " '" + interopScript("sheet_extras.py").string() + "' " + mode + " '" +
                          file.string() + "'",
                      &out),
                  0)
            << out;
        return out;
    };
    fs::path source = scratch / "extras.xlsx";
    extrasOf("make", source);
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");

    auto result = xls::readWorkbook(made);
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Sheet& sheet = result.workbook->sheet(0);
    EXPECT_EQ(sheet.hyperlinks().size(), 2u);
    EXPECT_EQ(sheet.conditionalFormats().size(), 3u);
    EXPECT_EQ(sheet.validations().size(), 2u);
    EXPECT_EQ(sheet.rowBreaks().size(), 1u);
    EXPECT_EQ(sheet.columnBreaks().size(), 1u);

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(*result.workbook, saved);
    EXPECT_EQ(extrasOf("xlrd", saved), extrasOf("xlrd", made));
    const std::string xlsx = "xlsx:Calc MS Excel 2007 XML";
    const std::string theirs = extrasOf("xlsx", scratch.convert(made, xlsx, "xlsx"));
    EXPECT_NE(theirs.find("AND($B2>30,$D2<70)"), std::string::npos) << theirs;
    EXPECT_NE(theirs.find("['B3>A3'"), std::string::npos) << theirs;
    EXPECT_NE(theirs.find("showErrorMessage=false"), std::string::npos) << theirs;
    EXPECT_NE(theirs.find("prompt=请输入单价，单位为元"), std::string::npos) << theirs;
    EXPECT_EQ(extrasOf("xlsx", scratch.convert(saved, xlsx, "xlsx")), theirs);
}

// A workbook of the 1904 date system, as LibreOffice saves one: its serial numbers count from
// 1 January 1904, 1,462 days after the 1900 system's, and it keeps its system through a save.
TEST(Interop, AWorkbookOfThe1904DateSystemComputesItsDatesInItAndKeepsItThroughASave) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "dates1904.fods";
    {
        std::ofstream out(source);
        out << R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
<table:calculation-settings><table:null-date table:date-value="1904-01-01"/></table:calculation-settings>
<table:table table:name="Sheet1"><table:table-row><table:table-cell office:value-type="float" office:value="0"/>
</table:table-row></table:table></office:spreadsheet></office:body></office:document>)";
    }
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");
    auto result = xls::readWorkbook(made);
    Workbook& book = *result.workbook;
    EXPECT_EQ(book.dateSystem(), DateSystem::Excel1904);
    Sheet& sheet = book.sheet(0);
    struct Case {
        std::u16string_view formula;
        double expected;
    };
    for (const Case& c : {Case{u"=YEAR(A1)", 1904}, Case{u"=DAY(A1)", 1}, Case{u"=WEEKDAY(A1)", 6},
                          Case{u"=DATE(2024,1,15)", 45306 - 1462}, Case{u"=DATEVALUE(\"1904-01-02\")", 1}}) {
        sheet.setFormula(0, 1, c.formula);
        EXPECT_EQ(sheet.value(0, 1), Value::number(c.expected)) << text::toUtf8(c.formula);
    }
    sheet.setFormula(0, 1, u"=DATE(1903,12,31)");
    EXPECT_EQ(sheet.value(0, 1), Value::error(ErrorCode::Num));
    Format shownAsDate;
    shownAsDate.numberFormat = u"yyyy-mm-dd";
    sheet.setFormat(Area::cell(0, 0), book.formats().intern(shownAsDate));
    EXPECT_EQ(sheet.shown(0, 0).text, u"1904-01-01");

    fs::path saved = scratch / "saved1904.xls";
    xls::writeWorkbook(book, saved);
    std::string mode;
    ASSERT_EQ(run(python + " -c 'import sys, xlrd; print(xlrd.open_workbook(sys.argv[1]).datemode)' '" +
                      saved.string() + "'",
                  &mode),
              0)
        << mode;
    EXPECT_EQ(mode, "1\n");
}

// An autofilter LibreOffice wrote (from a spreadsheet written by hand): opened and saved here, xlrd
// reads the same filter range, conditions, arrows and hidden rows as in LibreOffice's own file, and
// LibreOffice the same filter; after a row is inserted above the list, all of it a row lower.
TEST(Interop, AnAutoFilterOfALibreOfficeWorkbookSurvivesASaveAndMovesWithItsList) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    auto filterOf = [&](const std::string& mode, const fs::path& file) {
        std::string out;
        EXPECT_EQ(run(python + " '" + interopScript("filters.py").string() + "' " + mode + " '" +
                          file.string() + "'",
                      &out),
                  0)
            << out;
        return out;
    };
    fs::path source = scratch / "filters.fods";
    filterOf("make", source);
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");
    const std::string theirs = filterOf("xlrd", made);
    EXPECT_NE(theirs.find("range\trows 0-4\tcolumns 0-2\thidden 1\nhidden rows\t2 3\n"), std::string::npos)
        << theirs;
    EXPECT_EQ(std::count(theirs.begin(), theirs.end(), '\n'), 6) << theirs;

    auto result = xls::readWorkbook(made);
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    Workbook& book = *result.workbook;
    ASSERT_TRUE(book.sheet(0).autoFilter());

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(filterOf("xlrd", saved), theirs);
    const std::string xlsx = "xlsx:Calc MS Excel 2007 XML";
    const std::string shown = filterOf("xlsx", scratch.convert(made, xlsx, "xlsx"));
    EXPECT_NE(shown.find("range\tA1:C5\n"), std::string::npos) << shown;
    EXPECT_EQ(filterOf("xlsx", scratch.convert(saved, xlsx, "xlsx")), shown);

    book.sheet(0).insertRows(0, 1);
    fs::path moved = scratch / "moved.xls";
    xls::writeWorkbook(book, moved);
    std::string expected = theirs;
    expected.replace(expected.find("rows 0-4"), 8, "rows 1-5");
    expected.replace(expected.find("hidden rows\t2 3"), 15, "hidden rows\t3 4");
    EXPECT_EQ(filterOf("xlrd", moved), expected);
    std::string movedShown = shown;
    movedShown.replace(movedShown.find("A1:C5"), 5, "A2:C6");
    movedShown.replace(movedShown.find("hidden rows\t2 3"), 15, "hidden rows\t3 4");
    EXPECT_EQ(filterOf("xlsx", scratch.convert(moved, xlsx, "xlsx")), movedShown);
}

// A workbook LibreOffice made with formulas over unions and intersections, calls of functions the
// engine does not compute, a name relative to the cell using it and print titles of columns and rows:
// every formula and name is kept, computes what LibreOffice computed, and LibreOffice and xlrd see the
// same formulas, names and values in the file saved here.
TEST(Interop, UnionsRelativeNamesAndEveryFunctionOfALibreOfficeWorkbookSurviveASave) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "unions.fods";
    std::string log;
    ASSERT_EQ(run(python + " '" + interopScript("union_workbook.py").string() + "' '" + source.string() + "'",
                  &log),
              0)
        << log;
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");

    auto result = xls::readWorkbook(made);
    Workbook& book = *result.workbook;
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Sheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.formulaText(4, 0), u"=SUM((A1,B2:C3))");
    EXPECT_EQ(sheet.formulaText(4, 3), u"=A1:B2 B2:C3");
    EXPECT_EQ(sheet.formulaText(5, 0), u"=PERMUT(5,2)");
    EXPECT_EQ(sheet.formulaText(5, 2), u"=Left*10");
    const DefinedName* titles = book.names().find(u"Print_Titles", sheet.id());
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(formula::print(titles->definition, book.sheetNames()), u"(Sheet1!$A:$A,Sheet1!$1:$1)");
    // What LibreOffice computed, computed here afresh (PERMUT and DSUM keep the results it stored).
    book.invalidateResults();
    const double computed[][4] = {{66, 6, 3, 11}, {20, 10, 100, 12}};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (!(r == 1 && c < 2)) {
                EXPECT_EQ(sheet.value(4 + r, c), Value::number(computed[r][c])) << r << " " << c;
            }
        }
    }

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(scriptOutput(python, "xlrd_names.py", saved), scriptOutput(python, "xlrd_names.py", made));
    EXPECT_EQ(scriptOutput(python, "xlsx_formulas.py",
                           scratch.convert(saved, "xlsx:Calc MS Excel 2007 XML", "xlsx")),
              scriptOutput(python, "xlsx_formulas.py",
                           scratch.convert(made, "xlsx:Calc MS Excel 2007 XML", "xlsx")));
}


TEST(Interop, ArrayFormulasAndArrayConstantsOfALibreOfficeWorkbookSurviveASave) {
    std::string python = pythonWithXlrd();
    if (!haveSoffice() || python.empty())
        GTEST_SKIP() << "needs LibreOffice (libreoffice-calc-nogui) and xlrd (python3-xlrd)";
    Scratch scratch;
    fs::path source = scratch / "arrays.fods";
    std::string log;
    ASSERT_EQ(run(python + " '" + interopScript("array_workbook.py").string() + "' '" + source.string() + "'",
                  &log),
              0)
        << log;
    fs::path made = scratch.convert(source, "xls:MS Excel 97", "xls");

    auto result = xls::readWorkbook(made);
    Workbook& book = *result.workbook;
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    Sheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.arrayAt(2, 3), parseArea(u"D1:D3"));
    EXPECT_EQ(sheet.arrayAt(0, 5), parseArea(u"E1:G1"));
    EXPECT_EQ(sheet.formulaText(1, 4), u"=SUM({1,2;3,4}*{10,100})");
    // What the engine computes is what LibreOffice stored (xlsx_arrays.py shows LibreOffice's values).
    std::string shownByLibreOffice =
        scriptOutput(python, "xlsx_arrays.py", scratch.convert(made, "xlsx:Calc MS Excel 2007 XML", "xlsx"));
    for (const char* cell : {"C1", "D2", "F1", "G2", "G4", "C2", "E2", "F2", "C3", "E3", "F3"}) {
        Area a = parseArea(text::toUtf16(cell)).value();
        std::string line = std::string("\n") + cell + " ";
        auto at = shownByLibreOffice.find(line);
        ASSERT_NE(at, std::string::npos) << cell;
        std::string row = shownByLibreOffice.substr(at + 1, shownByLibreOffice.find('\n', at + 1) - at - 1);
        std::string want = row.substr(row.rfind(' ') + 1);
        EXPECT_EQ(shown(sheet.value(a.top, a.left)), want) << row;
    }

    fs::path saved = scratch / "saved.xls";
    xls::writeWorkbook(book, saved);
    EXPECT_EQ(
        scriptOutput(python, "xlsx_arrays.py", scratch.convert(saved, "xlsx:Calc MS Excel 2007 XML", "xlsx")),
        shownByLibreOffice);
    // xlrd reads the results stored in the file, which are those LibreOffice computes. (LibreOffice's
    // own file stores 0 for the text results of an array formula, so its values are the measure.)
    std::string values;
    std::istringstream lines(shownByLibreOffice);
    for (std::string line; std::getline(lines, line);)
        values += line.substr(0, line.find(' ')) + " " + line.substr(line.rfind(' ') + 1) + "\n";
    EXPECT_EQ(scriptOutput(python, "xlrd_values.py", saved), values);

    // Rows inserted above move the arrays and their references, as LibreOffice reads them back.
    sheet.insertRows(0, 1);
    xls::writeWorkbook(book, saved);
    std::string moved =
        scriptOutput(python, "xlsx_arrays.py", scratch.convert(saved, "xlsx:Calc MS Excel 2007 XML", "xlsx"));
    EXPECT_NE(moved.find("D2 array D2:D4 A2:A4*10+B2:B4 14"), std::string::npos) << moved;
}
