#include "engine/xls/xls.h"
#include "tests/engine/xls/macro_project.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Runs varnel-play on a copy of the bundled register and configuration.
class PlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("varnel-play-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "out");
        for (const char* file : {"Ombrell.xls", "TessikConfig.ini"})
            fs::copy_file(fs::path(VARNEL_SOURCE_DIR) / "data" / file, folder / file);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The lines printed, and the exit code.
    int play(const std::string& script, const std::string& options = "") {
        std::ofstream(folder / "session.play") << script;
        std::string command = std::string(VARNEL_PLAY) + " " + options + " " + folder.string() + " " +
                              (folder / "session.play").string() + " 2>/dev/null";
        lines.clear();
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[65536];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            std::string line = buffer;
            if (!line.empty() && line.back() == '\n')
                line.pop_back();
            lines.push_back(line);
        }
        int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::string> linesWith(const std::string& part) const {
        std::vector<std::string> found;
        for (const std::string& line : lines)
            if (line.find(part) != std::string::npos)
                found.push_back(line);
        return found;
    }

    fs::path folder;
    std::vector<std::string> lines;
};

TEST_F(PlayTest, StartUpLocksTheSpreadsheetAndCloseGivesItBack) {
    EXPECT_EQ(play("commandbars\ninstances\nclose\ncommandbars\ninstances\n"), 0);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), R"({"event":"visible","instance":1})");
    EXPECT_EQ(lines.back(), R"({"event":"exit","code":0})");

    auto toolbars = linesWith(R"("name":"Kestrova")");
    ASSERT_EQ(toolbars.size(), 2u);
    for (const std::string& toolbar : toolbars)
        EXPECT_EQ(toolbar, R"({"name":"Kestrova","enabled":true,"visible":true,"temporary":true,"buttons":[)"
                           R"({"caption":"增加征订单位","style":2},{"caption":"添加资料名称","style":2},)"
                           R"({"caption":"查找指定资料","style":2},{"caption":"输出征订情况","style":2}]})");
    std::vector<std::string> bars;
    for (const std::string& line : lines)
        if (line.rfind(R"({"name":")", 0) == 0)
            bars.push_back(line);
    size_t half = bars.size() / 2;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (bars[i].find("Kestrova") != std::string::npos)
            continue;
        bool enabled = bars[i].find(R"("enabled":true)") != std::string::npos;
        EXPECT_EQ(enabled, i >= half) << bars[i];
    }
    auto instances = linesWith(R"({"instance":1,)");
    ASSERT_EQ(instances.size(), 2u);
    EXPECT_NE(instances[0].find(R"("visible":true,"formulaBar":false,"workbooks":[{"name":"Ombrell.xls")"),
              std::string::npos);
    EXPECT_NE(instances[1].find(R"("visible":true,"formulaBar":true,"workbooks":[])"), std::string::npos)
        << "the spreadsheet keeps running without the register";
}

TEST_F(PlayTest, EachButtonReachesItsOwnCommandAndNothingOnceTheRegisterIsClosed) {
    const std::string script = "answer 第一中学\nclick 增加征订单位\n"
                               "click 添加资料名称\n"
                               "answer 报纸\nclick 查找指定资料\n"
                               "answer 第一中学\nclick 输出征订情况\n"
                               "close\n"
                               "answer 实验小学\nclick 增加征订单位\ntype 征订登记!C4 5\n";
    EXPECT_EQ(play(script), 0);
    std::vector<std::string> shown;
    for (const std::string& line : lines)
        if (line.rfind(R"({"event":"inputbox")", 0) == 0 || line.rfind(R"({"event":"dialog")", 0) == 0)
            shown.push_back(line.substr(0, line.find(",\"", 20)));
    EXPECT_EQ(shown, (std::vector<std::string>{
                         R"({"event":"inputbox","prompt":"请输入单位名称：")",
                         R"({"event":"dialog","caption":"请输入要添加的资料名称")",
                         R"({"event":"dialog","caption":"查询指定资料征订情况")",
                         R"({"event":"dialog","caption":"查询指定资料征订情况")",
                     }));
    // The last click and edit after the close reach no handler, and the register is gone.
    EXPECT_EQ(linesWith("实验小学").size(), 0u);
    EXPECT_EQ(linesWith(R"("line":11)").size(), 1u) << "typing into the closed register fails as an action";
}

TEST_F(PlayTest, QueryResultsAreSavedWithOut) {
    const std::string script = "answer 第一中学\nclick 增加征订单位\ntype 征订登记!B4 报纸\n"
                               "answer 报纸\nclick 查找指定资料\nclose\n";
    EXPECT_EQ(play(script, "--out " + (folder / "out").string()), 0);
    EXPECT_EQ(linesWith(R"({"event":"visible","instance":2})").size(), 1u);
    EXPECT_TRUE(fs::exists(folder / "out" / "2-Book1.xls"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out"), fs::directory_iterator()), 1);
}

TEST_F(PlayTest, PrintShowsEachCellsTextThroughItsNumberFormat) {
    auto book = engine::xls::readWorkbook(folder / "Ombrell.xls").workbook;
    engine::Sheet& sheet = *book->findSheet(u"征订登记");
    auto put = [&](int col, engine::Value value, std::u16string code) {
        sheet.setValue(0, col, value);
        sheet.modifyFormat(engine::Area::cell(0, col), [&](engine::Format& f) { f.numberFormat = code; });
    };
    put(9, engine::Value::number(12.5), u"\"¥\"#,##0.00");
    put(10, engine::Value::number(45000), u"yyyy\"年\"m\"月\"d\"日\"");
    put(11, engine::Value::number(-0.125), u"0.0%;[Red]-0.0%");
    engine::xls::writeWorkbook(*book, folder / "Ombrell.xls");

    EXPECT_EQ(play("print 征订登记!J1:M1\nclose\n"), 0);
    auto cells = linesWith(R"({"cell":")");
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], R"({"cell":"征订登记!$J$1","type":"number","value":12.5,"text":"¥12.50"})");
    EXPECT_EQ(cells[1], R"({"cell":"征订登记!$K$1","type":"number","value":45000,"text":"2023年3月15日"})");
    EXPECT_EQ(cells[2], R"({"cell":"征订登记!$L$1","type":"number","value":-0.125,"text":"-12.5%"})");
    EXPECT_EQ(cells[3], R"({"cell":"征订登记!$M$1","type":"empty","value":null})");
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A register whose file holds macros, which a save loses: the first save over it warns, naming them.
TEST_F(PlayTest, TheFirstSaveOverAFileWithWhatIsNotKeptWarnsOnce) {
    const std::string warning = R"({"event":"savewarning","caption":"电子表格","text":"“Ombrell.xls”中有)";
    const std::string items = R"(,"items":["宏"]})";
    EXPECT_EQ(play("type 征订登记!H2 x\nsave\nclose\n"), 0);
    EXPECT_TRUE(linesWith(warning).empty()) << "the bundled register loses nothing";

    const fs::path file = folder / "Ombrell.xls";
    engine::xls::testing::addMacroProjectName(file);
    const std::string original = bytesOf(file);
    // Unanswered, the warning keeps the file; so does the program's own save as the register closes,
    // which then stays open until closed without saving.
    EXPECT_EQ(play("type 征订登记!H2 x\nsave\nanswer 是\nclose\nclose\n"), 0);
    auto warned = linesWith(warning);
    ASSERT_EQ(warned.size(), 2u);
    EXPECT_TRUE(warned[0].ends_with(items)) << warned[0];
    EXPECT_EQ(linesWith(R"({"event":"error","line":4,)").size(), 1u) << "the first close is cancelled";
    EXPECT_EQ(linesWith("无法保存“Ombrell.xls”，登记簿没有关闭").size(), 1u);
    EXPECT_EQ(bytesOf(file), original);

    // Saved all the same, the file holds nothing more to lose: the next save asks nothing.
    EXPECT_EQ(play("type 征订登记!H2 x\nanswer 是\nsave\ntype 征订登记!H3 y\nsave\nclose\n"), 0);
    EXPECT_EQ(linesWith(warning).size(), 1u);
    auto saved = engine::xls::readWorkbook(file);
    EXPECT_TRUE(saved.dropped.empty());
    EXPECT_EQ(saved.workbook->findSheet(u"征订登记")->value(2, 7), engine::Value::text(u"y"));
}

TEST_F(PlayTest, StartUpFailuresAndScriptsThatStopEarlyHaveTheirOwnCodes) {
    EXPECT_EQ(play("commandbars\n"), 8) << "the register was left open";
    EXPECT_EQ(lines.back(), R"({"event":"exit","code":8})");

    EXPECT_EQ(play("commandbars\nfly away\n"), 64);
    EXPECT_TRUE(lines.empty()) << "a bad script does not start the program";
    EXPECT_EQ(play("commandbars\nanswer \xB5\xA5\xCE\xBB\n"), 64) << "a script in GBK";
    EXPECT_TRUE(lines.empty());

    std::ofstream(folder / "Ombrell.xls", std::ios::trunc) << "no workbook";
    EXPECT_EQ(play("close\n"), 5);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(linesWith(R"({"event":"messagebox","caption":"Varnel","text":"无法打开登记簿文件 )").size(),
              1u);

    fs::remove(folder / "Ombrell.xls");
    EXPECT_EQ(play("close\n"), 4);
    EXPECT_EQ(linesWith(R"({"event":"messagebox","caption":"Varnel","text":"找不到登记簿文件 )").size(), 1u);
    EXPECT_EQ(linesWith(R"("line":1)").size(), 1u) << "the close finds no register";
}

} // namespace
