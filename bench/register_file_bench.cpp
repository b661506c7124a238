// The register as a file and as a whole: opening its .xls file in a spreadsheet instance, saving it
// there, and computing every formula of it from nothing.
#include "bench/register_folder.h"
#include "engine/automation/application.h"
#include "varnel/excel/excel.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using engine::automation::Application;

int units = 2000;

void openRegister(benchmark::State& state) {
    const fs::path& file = bench::registerFolder(units).file;
    ComPtr<Application> app = Application::create();
    for (auto _ : state) {
        Excel::_WorkbookPtr book = app->GetWorkbooks()->Open(file.u16string());
        state.PauseTiming(); // closing is not part of opening
        book->Close(Variant(false));
        state.ResumeTiming();
    }
    app->quit();
}
BENCHMARK(openRegister)->Unit(benchmark::kMillisecond);

// Saving the open register over its file, as the user's Save does; its formulas have been shown, so
// their results are current.
void saveRegister(benchmark::State& state) {
    const bench::RegisterFolder& reg = bench::registerFolder(units);
    const fs::path copy = reg.folder / "saved.xls";
    fs::copy_file(reg.file, copy, fs::copy_options::overwrite_existing);
    ComPtr<Application> app = Application::create();
    Excel::_WorkbookPtr opened = app->GetWorkbooks()->Open(copy.u16string());
    std::shared_ptr<engine::automation::Book> book = app->findBook(u"saved.xls");
    book->model->calculateAll();
    for (auto _ : state)
        app->save(*book, std::nullopt);
    opened->Close(Variant(false));
    app->quit();
    fs::remove(copy);
}
BENCHMARK(saveRegister)->Unit(benchmark::kMillisecond);

void evaluateEveryFormula(benchmark::State& state) {
    ComPtr<Application> app = Application::create();
    Excel::_WorkbookPtr opened = app->GetWorkbooks()->Open(bench::registerFolder(units).file.u16string());
    engine::Workbook& book = *app->findBook(u"Ombrell.xls")->model;
    for (auto _ : state) {
        book.invalidateResults();
        book.calculateAll();
    }
    opened->Close(Variant(false));
    app->quit();
}
BENCHMARK(evaluateEveryFormula)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    units = bench::unitsArgument(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
