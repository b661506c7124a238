#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
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
