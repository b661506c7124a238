// Writes a program folder holding a register filled to the size a register reaches after years of use,
// for measuring the program and for opening in other spreadsheets.
//
// Usage: varnel-make-full-register [--units N] [--year Y] BUNDLED_FOLDER OUTPUT_FOLDER
//
// BUNDLED_FOLDER holds the register the program ships with (Ombrell.xls) and its TessikConfig.ini;
// OUTPUT_FOLDER receives the filled Ombrell.xls and a copy of the configuration. N defaults to 2,000
// units (about 65,000 rows), Y to the current year, whose drop-down lists the entry rows carry.
#include "engine/xls/error.h"
#include "engine/xls/xls.h"
#include "tools/make-full-register/full_register.h"
#include "varnel/app/clock.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace {

int usage(const char* why) {
    std::fprintf(stderr,
                 "varnel-make-full-register: %s\n"
                 "usage: varnel-make-full-register [--units N] [--year Y] BUNDLED_FOLDER OUTPUT_FOLDER\n",
                 why);
    return 2;
}

bool readCount(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < low || value > high)
        return false;
    out = int(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int units = 2000, year = app::currentYear();
    std::vector<std::string> folders;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--units" || arg == "--year") {
            if (++i == argc)
                return usage("a number is missing");
            bool ok =
                arg == "--units" ? readCount(argv[i], 0, 2100, units) : readCount(argv[i], 1900, 9998, year);
            if (!ok)
                return usage("a number is out of range");
        } else {
            folders.push_back(arg);
        }
    }
    if (folders.size() != 2)
        return usage("two folders are needed");
    const fs::path bundled = folders[0], out = folders[1];
    try {
        fs::create_directories(out);
        const fullreg::Configuration config = fullreg::readConfiguration(bundled / "TessikConfig.ini");
        auto book = engine::xls::readWorkbook(bundled / "Ombrell.xls").workbook;
        fullreg::appendUnits(*book, fullreg::sampleUnits(units, config, year), config, year);
        engine::xls::writeWorkbook(*book, out / "Ombrell.xls");
        if (!fs::equivalent(bundled, out))
            fs::copy_file(bundled / "TessikConfig.ini", out / "TessikConfig.ini",
                          fs::copy_options::overwrite_existing);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "varnel-make-full-register: %s\n", e.what());
        return 1;
    }
    return 0;
}
