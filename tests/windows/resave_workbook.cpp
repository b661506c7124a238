// Reads the workbook named first and saves it under the second name, as a user's open and save does.
#include "engine/xls/error.h"
#include "engine/xls/xls.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    try {
        auto read = engine::xls::readWorkbook(std::filesystem::path(argv[1]));
        engine::xls::writeWorkbook(*read.workbook, std::filesystem::path(argv[2]));
    } catch (const engine::xls::XlsError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
