#pragma once

#include "tools/make-full-register/full_register.h"

#include <filesystem>
#include <vector>

// The register the benchmarks measure: a program folder, made once per process in the temporary folder
// and removed at exit, holding the bundled register filled with `units` unit blocks (2,000 fill the
// sheet to about 65,000 rows) and the bundled configuration.
namespace bench {

struct RegisterFolder {
    std::filesystem::path folder; // holds Ombrell.xls and TessikConfig.ini
    std::filesystem::path file;   // its Ombrell.xls
    std::vector<fullreg::BlockRows> blocks;
    fullreg::Configuration config;
};

const RegisterFolder& registerFolder(int units);

// The register's size for this run: "--units=N" is taken out of the arguments (before the benchmark
// library reads them); 2,000 without it.
int unitsArgument(int& argc, char** argv);

} // namespace bench
