// A workbook opened from a file that holds what the engine does not keep: the user is asked before the
// first save over that file, and only then.

#include "engine/automation/user.h"
#include "engine/xls/xls.h"
#include "tests/engine/automation/fixture.h"
#include "tests/engine/xls/macro_project.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace engine::automation::testing {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SaveWarning : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        folder = fs::temp_directory_path() / ("save_warning_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        withMacros = folder / "Ombrell.xls";
        range(u"A1")->PutValue2(Variant(u"征订单位"));
        book->SaveAs(Variant((folder / "plain.xls").u16string()));
        book->Close();
        fs::copy_file(folder / "plain.xls", withMacros);
        xls::testing::addMacroProjectName(withMacros);
        original = bytesOf(withMacros);
    }
    void TearDown() override {
        opened = nullptr;
        InstanceTest::TearDown();
        fs::remove_all(folder);
    }

    // Opens the file and changes a cell, so that there is something to save.
    void openChanged(const fs::path& file) {
        opened = app->GetWorkbooks()->Open(file.u16string());
        Excel::_WorksheetPtr first(opened->GetWorksheets()->GetItem(Variant(1)));
        first->GetRange(Variant(u"B1"))->PutValue2(Variant(++edits));
    }
    bool macrosInFile() const { return !xls::readWorkbook(withMacros).dropped.empty(); }

    ScriptedPrompts prompts;
    fs::path folder;
    fs::path withMacros;
    std::string original;
    Excel::_WorkbookPtr opened;
    int edits = 0;
};

const std::u16string kQuestion = u"lose Ombrell.xls: macros";

TEST_F(SaveWarning, DeclinedTheFileStaysByteForByteAndTheNextSaveAsksAgain) {
    openChanged(withMacros);
    EXPECT_THROW(opened->Save(), ComError);
    EXPECT_EQ(prompts.asked, std::vector<std::u16string>{kQuestion});
    EXPECT_EQ(bytesOf(withMacros), original);
    EXPECT_EQ(opened->GetSaved(), VARIANT_FALSE);

    // The user's own save of a front end: refused with nothing more to say.
    user::Outcome outcome = user::save(instance(), u"Ombrell.xls");
    EXPECT_FALSE(outcome.done);
    EXPECT_TRUE(outcome.message.empty());
    EXPECT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(bytesOf(withMacros), original);

    prompts.loseAnswer = true;
    opened->Save();
    EXPECT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(opened->GetSaved(), VARIANT_TRUE);
    EXPECT_FALSE(macrosInFile());

    // Once given up, never asked again in this run.
    Excel::_WorksheetPtr(opened->GetWorksheets()->GetItem(Variant(1)))
        ->GetRange(Variant(u"C1"))
        ->PutValue2(Variant(2));
    opened->Save();
    EXPECT_EQ(prompts.asked.size(), 3u);
}

TEST_F(SaveWarning, AgreedButNotWrittenTheFileStillHoldsAllAndTheNextSaveAsksAgain) {
    openChanged(withMacros);
    fs::permissions(withMacros, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    prompts.loseAnswer = true;
    EXPECT_THROW(opened->Save(), ComError);
    EXPECT_EQ(bytesOf(withMacros), original);

    fs::permissions(withMacros, fs::perms::owner_write, fs::perm_options::add);
    opened->Save();
    EXPECT_EQ(prompts.asked, (std::vector<std::u16string>{kQuestion, kQuestion}));
    EXPECT_FALSE(macrosInFile());
}

TEST_F(SaveWarning, AFileWithNothingLostOrAlertsOffSavesWithoutAsking) {
    openChanged(folder / "plain.xls");
    opened->Save();
    opened->Close();
    EXPECT_TRUE(prompts.asked.empty());

    openChanged(withMacros);
    app->PutDisplayAlerts(VARIANT_FALSE);
    opened->Save();
    app->PutDisplayAlerts(VARIANT_TRUE);
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_FALSE(macrosInFile());
    // The file holds nothing more to lose.
    Excel::_WorksheetPtr(opened->GetWorksheets()->GetItem(Variant(1)))
        ->GetRange(Variant(u"C1"))
        ->PutValue2(Variant(2));
    opened->Save();
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(SaveWarning, AnotherFileIsSavedWithoutAskingAndTheOriginalStillWarns) {
    openChanged(withMacros);
    opened->SaveAs(Variant((folder / "copy.xls").u16string()));
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(bytesOf(withMacros), original);

    // Back over the file it came from, by another spelling of its path or a link to it.
    fs::create_symlink(withMacros, folder / "link.xls");
    for (const fs::path& back : {folder / "link.xls", folder / "." / "Ombrell.xls"}) {
        prompts.asked.clear();
        EXPECT_THROW(opened->SaveAs(Variant(back.u16string())), ComError);
        EXPECT_EQ(prompts.asked.size(), 1u) << back;
        EXPECT_EQ(bytesOf(withMacros), original);
    }
}

TEST_F(SaveWarning, ClosingWithASaveThatIsDeclinedKeepsTheWorkbookOpen) {
    openChanged(withMacros);
    opened->Close(Variant(true));
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 1);

    prompts.answer = SaveAnswer::Save;
    opened->Close();
    EXPECT_EQ(prompts.asked, (std::vector<std::u16string>{kQuestion, u"save Ombrell.xls", kQuestion}));
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 1);
    EXPECT_EQ(bytesOf(withMacros), original);

    prompts.loseAnswer = true;
    opened->Close();
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 0);
    EXPECT_FALSE(macrosInFile());
}

} // namespace
} // namespace engine::automation::testing
