#include "bench/register_folder.h"

#include "engine/xls/xls.h"
#include "varnel/app/clock.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace bench {

namespace fs = std::filesystem;

namespace {

struct Made : RegisterFolder {
    ~Made() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
};

} // namespace

const RegisterFolder& registerFolder(int units) {
    static std::map<int, std::unique_ptr<Made>> made;
    auto& slot = made[units];
    if (!slot) {
        slot = std::make_unique<Made>();
        const fs::path bundled = VARNEL_DATA_DIR;
        slot->folder = fs::temp_directory_path() /
                       ("varnel-bench-" + std::to_string(::getpid()) + "-" + std::to_string(units));
        fs::create_directories(slot->folder);
        slot->file = slot->folder / "Ombrell.xls";
        slot->config = fullreg::readConfiguration(bundled / "TessikConfig.ini");
        fs::copy_file(bundled / "TessikConfig.ini", slot->folder / "TessikConfig.ini");

        const int year = app::currentYear();
        const std::vector<fullreg::Unit> content = fullreg::sampleUnits(units, slot->config, year);
        auto book = engine::xls::readWorkbook(bundled / "Ombrell.xls").workbook;
        fullreg::appendUnits(*book, content, slot->config, year);
        engine::xls::writeWorkbook(*book, slot->file);
        slot->blocks = fullreg::blockRows(content);
    }
    return *slot;
}

int unitsArgument(int& argc, char** argv) {
    int units = 2000;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--units=", 8) == 0)
            units = std::atoi(argv[i] + 8);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return units;
}

} // namespace bench
