// varnel-convert [--sheet NAME] IN.xls OUT: reads an Excel 97-2003 workbook and writes it again as OUT
// says by its ending: .xls through the workbook writer, .csv one sheet (NAME, the first by default) as
// the grid shows it, .json every sheet's cells with their values, formulas and number formats and what
// the reader could not keep. Exit codes: 0 written, 5 the input refused, 9 the output not written, 64
// a wrong command line. Every refusal is one line on standard error naming the file and the problem,
// and so is what an .xls output does not keep of the input.

#include "engine/xls/error.h"
#include "engine/xls/xls.h"
#include "platform/files/files.h"
#include "platform/text/utf.h"
#include "tools/varnel-convert/export.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kInputRefused = 5;
constexpr int kOutputNotWritten = 9;
constexpr int kUsage = 64;

int usage(const std::string& why) {
    std::fprintf(stderr,
                 "varnel-convert: %s\nusage: varnel-convert [--sheet NAME] IN.xls OUT.xls|OUT.csv|OUT.json\n",
                 why.c_str());
    return kUsage;
}

int notWritten(const std::string& out, const std::string& why) {
    std::fprintf(stderr, "varnel-convert: cannot write \"%s\": %s\n", out.c_str(), why.c_str());
    return kOutputNotWritten;
}

std::string lowerEnding(const std::string& path) {
    std::string ending = std::filesystem::path(path).extension().string();
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return ending;
}

} // namespace

int main(int argc, char** argv) {
    std::string sheetName, in, out;
    bool sheetGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--sheet") {
            if (++i == argc)
                return usage("--sheet needs a sheet name");
            sheetName = argv[i];
            sheetGiven = true;
        } else if (in.empty()) {
            in = arg;
        } else if (out.empty()) {
            out = arg;
        } else {
            return usage("too many arguments");
        }
    }
    if (out.empty())
        return usage("needs an input workbook and an output file");
    const std::string ending = lowerEnding(out);
    if (ending != ".xls" && ending != ".csv" && ending != ".json")
        return usage("the output must end in .xls, .csv or .json");
    if (sheetGiven && ending != ".csv")
        return usage("--sheet chooses the sheet of a .csv output");

    engine::xls::ReadResult read;
    try {
        read = engine::xls::readWorkbook(std::filesystem::path(in));
    } catch (const engine::xls::XlsError& e) {
        std::fprintf(stderr, "varnel-convert: %s\n", e.what());
        return kInputRefused;
    }
    const engine::Workbook& book = *read.workbook;

    if (ending == ".xls") {
        try {
            engine::xls::writeWorkbook(book, std::filesystem::path(out));
        } catch (const engine::xls::XlsError& e) {
            std::fprintf(stderr, "varnel-convert: %s\n", e.what());
            return kOutputNotWritten;
        }
        // Written all the same, as a save in the spreadsheet is once its user was told.
        if (!read.dropped.empty()) {
            std::string lost;
            for (const std::string& what : read.dropped)
                lost += (lost.empty() ? "" : ", ") + what;
            std::fprintf(stderr, "varnel-convert: \"%s\" does not keep what \"%s\" held of %s\n", out.c_str(),
                         in.c_str(), lost.c_str());
        }
        return 0;
    }

    std::string text;
    if (ending == ".csv") {
        const engine::Sheet* sheet = &book.sheet(0);
        if (sheetGiven && !(sheet = book.findSheet(text::toUtf16(sheetName))))
            return usage("\"" + in + "\" has no sheet \"" + sheetName + "\"");
        text = convert::sheetCsv(*sheet);
    } else {
        text = convert::workbookJson(book, read.dropped);
    }
    if (std::error_code error = files::replaceFile(out, text))
        return notWritten(out, files::describe(error));
    return 0;
}
