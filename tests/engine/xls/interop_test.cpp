// Workbooks written here, opened by the peers that users share registers with: LibreOffice (headless)
// and xlrd. Each test skips, saying why, when its peer is not installed.
#include "engine/xls/xls.h"
#include "platform/text/utf.h"
#include "tests/engine/xls/sample_register.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
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
