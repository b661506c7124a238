#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "engine/xls/xls.h"
#include "platform/profile/program_folder.h"
#include "platform/text/utf.h"
#include "platform/ui/headless.h"
#include "tools/make-full-register/full_register.h"
#include "varnel/app/clock.h"
#include "varnel/app/winmain.h"
#include "varnel/register/formulas.h"
#include "varnel/register/lists.h"
#include "varnel/res/resources.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
namespace user = engine::automation::user;
using engine::Sheet;

constexpr int kYear = 2026;
const user::Place kRegister{u"Ombrell.xls", u"征订登记"};

std::u16string at(char16_t column, long row) {
    return column + text::toUtf16(std::to_string(row));
}

// The program started on a copy of the bundled register, with a user who adds the units and types
// their subscriptions one after the other, as a clerk fills the register; the register as it is left.
std::unique_ptr<engine::Workbook> typedByTheProgram(const std::vector<fullreg::Unit>& units) {
    const fs::path folder =
        fs::temp_directory_path() / ("varnel-full-register-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const char* file : {"Ombrell.xls", "TessikConfig.ini"})
        fs::copy_file(fs::path(VARNEL_DATA_DIR) / file, folder / file, fs::copy_options::overwrite_existing);

    ui::HeadlessBackend headless;
    ui::setBackend(&headless);
    profile::setProgramFolder(text::toUtf16(folder.string()));
    engine::automation::registerApplicationClass();
    app::pinCurrentYear(kYear);

    std::unique_ptr<engine::Workbook> left;
    headless.setUser([&] {
        engine::automation::Application& program = *engine::automation::runningInstances().at(0);
        long unitRow = 2;
        for (const fullreg::Unit& unit : units) {
            headless.queue(ui::Answer::withText(unit.name));
            user::click(program, u"增加征订单位");
            long row = unitRow + 2;
            for (const fullreg::Entry& e : unit.entries) {
                const std::pair<char16_t, std::u16string> typing[] = {{u'A', layout::decimal(e.year)},
                                                                      {u'B', e.material},
                                                                      {u'C', e.quantity},
                                                                      {u'D', e.price},
                                                                      {u'F', e.receipt}};
                for (const auto& [column, typed] : typing) {
                    if (!typed.empty()) {
                        EXPECT_TRUE(user::type(program, kRegister, at(column, row), typed).done);
                    }
                }
                ++row;
            }
            unitRow = row + 2;
        }
        auto book = program.findBook(u"Ombrell.xls");
        left = engine::xls::readWorkbook(engine::xls::workbookBytes(*book->model), "register").workbook;
        book->markSaved();
        user::close(program, u"Ombrell.xls");
        return false;
    });
    EXPECT_EQ(wWinMain(res::instance(), nullptr, nullptr, 0), 0);
    for (const auto& instance : engine::automation::runningInstances())
        instance->quit();
    app::pinCurrentYear(std::nullopt);
    profile::setProgramFolder(u"");
    ui::setBackend(nullptr);
    fs::remove_all(folder);
    return left;
}

std::string where(int row, int col) {
    return text::toUtf8(engine::formatAddress({row, col}, false));
}

// Everything of the register sheet that the program writes: values, formulas, formats, row
// properties and drop-down lists.
void expectSameRegister(const Sheet& made, const Sheet& typed) {
    const auto area = typed.usedArea();
    ASSERT_TRUE(area);
    EXPECT_EQ(made.usedArea(), area);
    for (int r = 0; r <= area->bottom + 1; ++r) {
        const engine::RowProperties &m = made.row(r), &t = typed.row(r);
        EXPECT_EQ(m.outlineLevel, t.outlineLevel) << "row " << r + 1;
        EXPECT_EQ(made.rowHeight(r), typed.rowHeight(r)) << "row " << r + 1;
        EXPECT_EQ(made.workbook().formats().get(m.format), typed.workbook().formats().get(t.format))
            << "row " << r + 1;
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(made.value(r, c), typed.value(r, c)) << where(r, c);
            EXPECT_EQ(made.formulaText(r, c), typed.formulaText(r, c)) << where(r, c);
            EXPECT_EQ(made.format(r, c), typed.format(r, c)) << where(r, c);
            const engine::ValidationRule *mv = made.validationAt(r, c), *tv = typed.validationAt(r, c);
            ASSERT_EQ(mv != nullptr, tv != nullptr) << where(r, c);
            if (mv) {
                EXPECT_EQ(*mv, *tv) << where(r, c);
            }
        }
    }
}

TEST(FullRegisterTest, BlocksAreThoseTheProgramLeavesWhenAClerkTypesThem) {
    const fullreg::Configuration config =
        fullreg::readConfiguration(fs::path(VARNEL_DATA_DIR) / "TessikConfig.ini");
    std::vector<fullreg::Unit> units = fullreg::sampleUnits(3, config, kYear);
    units[0].entries.resize(3);
    units[1].entries.clear(); // a unit without subscriptions keeps the formulas add-unit wrote
    units[2].entries.resize(2);
    units[2].entries[1].receipt.clear();

    std::unique_ptr<engine::Workbook> made =
        engine::xls::readWorkbook(fs::path(VARNEL_DATA_DIR) / "Ombrell.xls").workbook;
    fullreg::appendUnits(*made, units, config, kYear);
    made = engine::xls::readWorkbook(engine::xls::workbookBytes(*made), "generated").workbook; // as saved
    const auto typed = typedByTheProgram(units);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->findSheet(u"征订登记")->value(14, 6), engine::Value::text(units[2].name));
    expectSameRegister(*made->findSheet(u"征订登记"), *typed->findSheet(u"征订登记"));

    const std::vector<fullreg::BlockRows> rows = fullreg::blockRows(units);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].unitRow, 2);
    EXPECT_EQ(rows[0].lastEntryRow, 7);
    EXPECT_EQ(rows[1].unitRow, 9);
    EXPECT_EQ(rows[1].lastEntryRow, 11);
    EXPECT_EQ(rows[2].unitRow, 13);
}

TEST(FullRegisterTest, SampleUnitsFillASheetWithDistinctNamesAndListedMaterials) {
    const fullreg::Configuration config{u"报纸,杂志,图书,年鉴", u"读者"};
    const std::vector<fullreg::Unit> units = fullreg::sampleUnits(2000, config, kYear);
    std::set<std::u16string> names;
    std::u16string list = u",";
    list += layout::materialList(config.kinds, config.magazine, kYear);
    list += u",";
    for (const fullreg::Unit& unit : units) {
        names.insert(unit.name);
        ASSERT_GE(unit.entries.size(), 24u);
        ASSERT_LE(unit.entries.size(), 33u);
        for (const fullreg::Entry& e : unit.entries) {
            ASSERT_TRUE(e.year == kYear || e.year == kYear - 1);
            ASSERT_NE(list.find(u"," + e.material + u","), std::u16string::npos);
        }
    }
    EXPECT_EQ(names.size(), units.size());
    const long lastRow = fullreg::blockRows(units).back().lastEntryRow;
    EXPECT_GT(lastRow, 63000);
    EXPECT_LT(lastRow, 65536 - 10); // room below for the rows a clerk adds next
}

} // namespace
