// Opening and saving a full-size register: 2,000 unit blocks of 29 entry rows, 64,001 rows in all.
#include "engine/xls/xls.h"
#include "tests/engine/xls/sample_register.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path& registerFile() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / ("varnel-bench-" + std::to_string(::getpid()) + ".xls");
        engine::Workbook book;
        xls_testing::buildRegister(book, 2000, 29, false);
        engine::xls::writeWorkbook(book, p);
        return p;
    }();
    return path;
}

void OpenFullRegister(benchmark::State& state) {
    const fs::path& file = registerFile();
    for (auto _ : state) {
        auto result = engine::xls::readWorkbook(file);
        benchmark::DoNotOptimize(result.workbook.get());
        state.PauseTiming(); // closing the workbook is not part of opening it
        result.workbook.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OpenFullRegister)->Unit(benchmark::kMillisecond);

void SaveFullRegister(benchmark::State& state) {
    auto opened = engine::xls::readWorkbook(registerFile());
    const engine::Workbook& book = *opened.workbook;
    fs::path out = registerFile();
    out += ".saved";
    engine::xls::workbookBytes(book); // formula results computed once, as an open register has them
    for (auto _ : state)
        engine::xls::writeWorkbook(book, out);
    fs::remove(out);
}
BENCHMARK(SaveFullRegister)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fs::remove(registerFile());
    return 0;
}
