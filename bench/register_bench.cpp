// The register held in the model: computing it from nothing, a typed value in the last block read back
// through its dependents, and a row inserted in the first block with every formula below following.
#include "bench/register_model.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <map>
#include <string>

namespace {

using engine::Value;

bench::Register& registerOf(int blocks) {
    static std::map<int, bench::Register> made;
    auto it = made.find(blocks);
    if (it == made.end())
        it = made.emplace(blocks, bench::buildRegister(blocks)).first;
    return it->second;
}

double residentMegabytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(line.find_first_of("0123456789"))) / 1024;
    return 0;
}

void evaluateFromNothing(benchmark::State& state) {
    bench::Register& reg = registerOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        reg.book->invalidateResults();
        reg.book->calculateAll();
    }
    state.counters["rows"] = reg.blocks.back().lastRow + 1;
    state.counters["peak_MB"] = residentMegabytes("VmHWM:");
}

void editLastBlock(benchmark::State& state) {
    bench::Register& reg = registerOf(static_cast<int>(state.range(0)));
    engine::Sheet& s = *reg.sheet;
    reg.book->calculateAll();
    bench::Block b = reg.blocks.back();
    double quantity = 1;
    for (auto _ : state) {
        s.setValue(b.lastRow, 2, Value::number(quantity));
        s.setValue(b.lastRow, 3, Value::number(10));
        benchmark::DoNotOptimize(s.value(b.lastRow, 4));
        benchmark::DoNotOptimize(s.value(b.unitRow, 2));
        benchmark::DoNotOptimize(s.value(b.unitRow, 1));
        quantity = quantity == 1 ? 2 : 1;
    }
    s.clearContents({b.lastRow, 2, b.lastRow, 3});
}

void insertRowInFirstBlock(benchmark::State& state) {
    bench::Register& reg = registerOf(static_cast<int>(state.range(0)));
    engine::Sheet& s = *reg.sheet;
    reg.book->calculateAll();
    bench::Block first = reg.blocks.front(), second = reg.blocks[1];
    for (auto _ : state) {
        s.insertRows(first.lastRow + 1, 1);
        benchmark::DoNotOptimize(s.value(first.unitRow, 2));
        benchmark::DoNotOptimize(s.value(second.unitRow + 1, 2));
        state.PauseTiming();
        s.deleteRows(first.lastRow + 1, 1);
        state.ResumeTiming();
    }
}

BENCHMARK(evaluateFromNothing)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(editLastBlock)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(insertRowInFirstBlock)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
