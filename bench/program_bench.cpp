// The program at work on a full register: Varnel is started on a folder holding it, with a headless user
// who clicks the toolbar buttons, answers the dialogs and types into cells through the spreadsheet's
// user side, so that every measured action runs the program's own handler with all its nested events.
// Each measured action is undone (untimed) before the next, so every iteration meets the same register.
#include "bench/register_folder.h"
#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "platform/profile/program_folder.h"
#include "platform/text/utf.h"
#include "platform/ui/headless.h"
#include "varnel/app/winmain.h"
#include "varnel/excel/excel.h"
#include "varnel/register/formulas.h"
#include "varnel/res/resources.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

namespace {

using engine::automation::Application;
namespace user = engine::automation::user;

constexpr char16_t kRegisterBook[] = u"Ombrell.xls";
const user::Place kRegister{u"Ombrell.xls", u"征订登记"};

const bench::RegisterFolder* folder = nullptr;
ui::HeadlessBackend* person = nullptr;

Application& program() {
    return *engine::automation::runningInstances().at(0);
}

std::u16string cellName(char16_t column, long row) {
    return column + text::toUtf16(std::to_string(row));
}

std::u16string shown(char16_t column, long row) {
    return user::cell(program(), kRegister, cellName(column, row)).shown;
}

int outlineLevel(long row) {
    return user::row(program(), kRegister, int(row)).outlineLevel;
}

// Removes whole rows of the register as the user's Delete on selected rows does.
void deleteRows(long first, long last) {
    const std::u16string rows = text::toUtf16(std::to_string(first) + ":" + std::to_string(last));
    Excel::_WorksheetPtr sheet = program()
                                     .GetWorkbooks()
                                     ->GetItem(Variant(kRegisterBook))
                                     ->GetWorksheets()
                                     ->GetItem(Variant(kRegister.sheet));
    sheet->GetRange(Variant(rows))->Delete();
}

// Takes back a keystroke into the block's blank last entry row: the typed value, the unit name the
// program copied into G and the entry row it added below.
void untype(long row) {
    user::clear(program(), kRegister, cellName(u'C', row));
    user::clear(program(), kRegister, cellName(u'G', row));
    deleteRows(row + 1, row + 1);
}

// The results shown in other instances are closed unsaved, as a user who has read them would.
void closeResults() {
    for (const ComPtr<Application>& app : engine::automation::runningInstances())
        if (app.get() != &program()) {
            app->PutDisplayAlerts(VARIANT_FALSE);
            app->quit();
        }
    person->clearRecords();
}

// The user types a quantity into the blank last entry row of the last block; the empty row below the
// block becomes its new entry row.
void typeIntoLastBlock(benchmark::State& state) {
    const long row = folder->blocks.back().lastEntryRow;
    const std::u16string unit = shown(u'A', folder->blocks.back().unitRow);
    for (auto _ : state) {
        user::type(program(), kRegister, cellName(u'C', row), u"3");
        state.PauseTiming();
        if (shown(u'G', row) != unit || outlineLevel(row + 1) != 2)
            state.SkipWithError("the program did not add an entry row");
        untype(row);
        state.ResumeTiming();
    }
}
BENCHMARK(typeIntoLastBlock)->Unit(benchmark::kMicrosecond);

// The same in the first block once its separator row has been taken into it, so that the next unit
// row follows directly: a row is inserted and every block below moves down.
void typeIntoFirstBlock(benchmark::State& state) {
    const fullreg::BlockRows first = folder->blocks.front();
    static const bool prepared = [&] {
        user::type(program(), kRegister, cellName(u'C', first.lastEntryRow), u"2");
        return outlineLevel(first.lastEntryRow + 1) == 2;
    }();
    const long row = first.lastEntryRow + 1;
    const long nextUnit = folder->blocks[1].unitRow;
    const std::u16string unit = shown(u'A', nextUnit);
    if (!prepared || shown(u'A', row + 1) != unit)
        state.SkipWithError("the first block is not followed by the next unit");
    for (auto _ : state) {
        user::type(program(), kRegister, cellName(u'C', row), u"3");
        state.PauseTiming();
        if (shown(u'A', nextUnit + 1) != unit)
            state.SkipWithError("no row was inserted");
        untype(row);
        state.ResumeTiming();
    }
}
BENCHMARK(typeIntoFirstBlock)->Unit(benchmark::kMicrosecond);

// "增加征订单位" with a new name: a block is appended after the last one.
void addUnit(benchmark::State& state) {
    const long unitRow = folder->blocks.back().lastEntryRow + 2;
    for (auto _ : state) {
        person->queue(ui::Answer::withText(u"新华书店"));
        user::click(program(), u"增加征订单位");
        state.PauseTiming();
        if (shown(u'A', unitRow) != u"新华书店")
            state.SkipWithError("no unit was added");
        deleteRows(unitRow, unitRow + 2);
        person->clearRecords();
        state.ResumeTiming();
    }
}
BENCHMARK(addUnit)->Unit(benchmark::kMicrosecond);

// "查找指定资料" for one of the configured kinds, up to the result shown in a second instance.
void findMaterial(benchmark::State& state) {
    const std::u16string material = layout::splitItems(folder->config.kinds).front();
    for (auto _ : state) {
        person->queue(ui::Answer::withText(material));
        user::click(program(), u"查找指定资料");
        state.PauseTiming();
        if (engine::automation::runningInstances().size() != 2)
            state.SkipWithError("no result was shown");
        closeResults();
        state.ResumeTiming();
    }
}
BENCHMARK(findMaterial)->Unit(benchmark::kMillisecond);

// "输出征订情况" choosing a unit in the middle of the register.
void outputStatus(benchmark::State& state) {
    const std::u16string unit = shown(u'A', folder->blocks[folder->blocks.size() / 2].unitRow);
    for (auto _ : state) {
        person->queue(ui::Answer::withText(unit));
        user::click(program(), u"输出征订情况");
        state.PauseTiming();
        if (engine::automation::runningInstances().size() != 2)
            state.SkipWithError("no result was shown");
        closeResults();
        state.ResumeTiming();
    }
}
BENCHMARK(outputStatus)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const int units = bench::unitsArgument(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    folder = &bench::registerFolder(units);

    static ui::HeadlessBackend headless;
    person = &headless;
    profile::setProgramFolder(text::toUtf16(folder->folder.string()));
    engine::automation::registerApplicationClass();
    ui::setBackend(&headless);

    bool measured = false;
    headless.setUser([&] {
        benchmark::RunSpecifiedBenchmarks();
        measured = true;
        // Closing the register ends the program; its changes are not kept.
        program().findBook(kRegisterBook)->markSaved();
        user::close(program(), kRegisterBook);
        return false;
    });
    const int code = wWinMain(res::instance(), nullptr, nullptr, 0);
    benchmark::Shutdown();
    if (!measured || code != 0) {
        std::fprintf(stderr, "program_bench: the program did not start on the register (exit code %d)\n",
                     code);
        return 1;
    }
    return 0;
}
