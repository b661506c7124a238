#include "platform/ui/headless.h"
#include "tests/engine/automation/fixture.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace engine::automation::testing {
namespace {

using namespace Excel::AppEvents;
using Workbooks = InstanceTest;

TEST_F(Workbooks, NewBooksAreNumberedPerInstanceWithThreeSheets) {
    EXPECT_EQ(book->GetName(), u"Book1");
    EXPECT_EQ(app->GetWorkbooks()->Add()->GetName(), u"Book2");
    EXPECT_EQ(app->GetActiveWorkbook()->GetName(), u"Book2");
    auto sheets = book->GetWorksheets();
    EXPECT_EQ(sheets->GetCount(), 3);
    EXPECT_EQ(Excel::_WorksheetPtr(sheets->GetItem(Variant(u"sheet3")))->GetIndex(), 3);
    EXPECT_THROW(sheets->GetItem(Variant(u"征订登记")), ComError);
    EXPECT_THROW(sheets->GetItem(Variant(4)), ComError);
    Excel::_ApplicationPtr other;
    ASSERT_EQ(createInstance(other, u"Excel.Application"), S_OK);
    EXPECT_EQ(other->GetWorkbooks()->Add()->GetName(), u"Book1");
    EXPECT_NE(other->GetHwnd(), app->GetHwnd());
    EXPECT_NE(app->GetHwnd(), 0);
    EXPECT_EQ(app->GetHwnd(), app->GetHwnd());
}

TEST_F(Workbooks, SheetNamesAndTheChangedFlag) {
    EXPECT_EQ(book->GetSaved(), VARIANT_TRUE);
    sheet->PutName(u"未征订情况统计");
    EXPECT_EQ(Excel::_WorksheetPtr(book->GetWorksheets()->GetItem(Variant(u"未征订情况统计")))->GetIndex(),
              1);
    EXPECT_THROW(sheet->PutName(u"Sheet2"), ComError);
    book->PutSaved(VARIANT_TRUE);
    range(u"A1")->PutValue2(Variant(1));
    EXPECT_EQ(book->GetSaved(), VARIANT_FALSE);
}

TEST_F(Workbooks, OpeningAMissingFileIsRefused) {
    EXPECT_THROW(app->GetWorkbooks()->Open(u"/nonexistent/Ombrell.xls"), ComError);
}

class Closing : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        range(u"A1")->PutValue2(Variant(u"unsaved"));
        events = std::make_unique<Connection>(app.get(), DIID_AppEvents);
    }
    void TearDown() override {
        events.reset();
        InstanceTest::TearDown();
    }
    ScriptedPrompts prompts;
    std::unique_ptr<Connection> events;
};

TEST_F(Closing, BeforeCloseComesFirstWithTheWorkbookAndItsCancelFlag) {
    prompts.answer = SaveAnswer::DontSave;
    std::u16string seen;
    (*events)->onEvent = [&](DISPID id, DISPPARAMS& params) {
        if (id != WorkbookBeforeClose)
            return;
        ASSERT_EQ(params.cArgs, 2u);
        EXPECT_EQ(params.rgvarg[0].vt(), VT_BYREF | VT_BOOL);
        seen = Excel::_WorkbookPtr(params.rgvarg[1])->GetName();
        EXPECT_TRUE(prompts.asked.empty()); // nothing asked yet
    };
    book->Close();
    EXPECT_EQ(seen, u"Book1");
    EXPECT_EQ(prompts.asked, std::vector<std::u16string>{u"save Book1"});
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 0);
    EXPECT_THROW(range(u"A1"), ComError); // the sheet of a closed workbook is gone
}

TEST_F(Closing, AHandlerCancelsTheClose) {
    (*events)->onEvent = [&](DISPID id, DISPPARAMS& params) {
        if (id == WorkbookBeforeClose)
            *params.rgvarg[0].pboolVal() = VARIANT_TRUE;
    };
    book->Close();
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 1);
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(Closing, WithAlertsOffNothingIsAskedOrSaved) {
    app->PutDisplayAlerts(VARIANT_FALSE);
    book->Close();
    app->PutDisplayAlerts(VARIANT_TRUE);
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 0);
    EXPECT_EQ((*events)->of(WorkbookBeforeClose).size(), 1u);
}

TEST_F(Closing, CancellingThePromptKeepsTheWorkbook) {
    prompts.answer = SaveAnswer::Cancel;
    book->Close();
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 1);
    book->PutSaved(VARIANT_TRUE);
    prompts.asked.clear();
    book->Close(); // nothing unsaved: nothing asked
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 0);
}

TEST_F(Closing, QuittingClosesEveryWorkbookAskingForEachWithChanges) {
    auto second = app->GetWorkbooks()->Add();
    Excel::_WorksheetPtr(second->GetWorksheets()->GetItem(Variant(1)))
        ->GetRange(Variant(u"A1"))
        ->PutValue2(Variant(1));
    EXPECT_TRUE(instance().quit());
    EXPECT_EQ(prompts.asked, (std::vector<std::u16string>{u"save Book1", u"save Book2"}));
    EXPECT_FALSE(instance().running());
}

TEST_F(Closing, ClosingTheActiveBookActivatesAnother) {
    auto second = app->GetWorkbooks()->Add();
    second->Close(Variant(false));
    EXPECT_EQ(app->GetActiveWorkbook()->GetName(), u"Book1");
}

using InputBoxes = InstanceTest;

TEST_F(InputBoxes, TextOrFalseOnCancel) {
    ScriptedPrompts prompts;
    prompts.typed = u"未知单位";
    Variant answer = app->InputBox(u"请输入单位名称：", Variant(u"添加统计单位"), Variant(u"未知单位"),
                                   vtMissing, vtMissing, vtMissing, vtMissing, Variant(2));
    EXPECT_EQ(answer, Variant(u"未知单位"));
    EXPECT_EQ(prompts.asked.front(), u"请输入单位名称：|添加统计单位|未知单位");
    prompts.typed.reset();
    answer =
        app->InputBox(u"?", vtMissing, vtMissing, vtMissing, vtMissing, vtMissing, vtMissing, Variant(2));
    EXPECT_EQ(answer.vt(), VT_BOOL);
    EXPECT_EQ(answer.boolVal(), VARIANT_FALSE);
}

} // namespace
} // namespace engine::automation::testing

namespace engine::automation::testing {
namespace {

using UserInterface = InstanceTest;

TEST_F(UserInterface, QuestionsGoToTheFrontEndOwnedByTheMainWindow) {
    ui::HeadlessBackend user;
    ui::setBackend(&user);
    user.queue(ui::Answer::withText(u"第一中学"));
    EXPECT_EQ(app->InputBox(u"请输入单位名称：", Variant(u"添加统计单位"), Variant(u"未知单位"), vtMissing,
                            vtMissing, vtMissing, vtMissing, Variant(2)),
              Variant(u"第一中学"));
    range(u"A1")->PutValue2(Variant(1));
    user.queue(ui::Answer::cancel());
    book->Close();
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 1);
    user.queue(ui::Answer::withText(u"否"));
    book->Close();
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 0);
    ui::setBackend(nullptr);
    ASSERT_EQ(user.records().size(), 3u);
    for (const ui::Record& r : user.records())
        EXPECT_EQ(r.owner, reinterpret_cast<HWND>(static_cast<std::intptr_t>(app->GetHwnd())));
    EXPECT_EQ(user.records()[1].text, u"是否保存对“Book1”的更改？");
}

} // namespace
} // namespace engine::automation::testing

namespace engine::automation::testing {
namespace {

class Files : public InstanceTest {
protected:
    void SetUp() override {
        InstanceTest::SetUp();
        folder = std::filesystem::temp_directory_path() / ("automation_files_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        InstanceTest::TearDown();
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder;
};

TEST_F(Files, SavedUnderANameAndOpenedElsewhere) {
    range(u"A1")->PutValue2(Variant(u"征订单位"));
    range(u"B1")->PutFormula(Variant(u"=LEN(A1)"));
    EXPECT_THROW(book->Save(), ComError); // never saved: it has no file yet
    auto path = folder / "Ombrell.xls";
    book->SaveAs(Variant(path.u16string()));
    EXPECT_EQ(book->GetName(), u"Ombrell.xls");
    EXPECT_EQ(book->GetSaved(), VARIANT_TRUE);

    Excel::_ApplicationPtr other;
    ASSERT_EQ(createInstance(other, u"Excel.Application"), S_OK);
    auto opened = other->GetWorkbooks()->Open(path.u16string());
    EXPECT_EQ(opened->GetName(), u"Ombrell.xls");
    EXPECT_EQ(opened->GetSaved(), VARIANT_TRUE);
    Excel::_WorksheetPtr first(opened->GetWorksheets()->GetItem(Variant(u"Sheet1")));
    EXPECT_EQ(first->GetRange(Variant(u"B1"))->GetFormula(), Variant(u"=LEN(A1)"));
    EXPECT_EQ(first->GetRange(Variant(u"B1"))->GetValue2(), Variant(4.0));
    // Opening the same file again gives the workbook already open.
    other->GetWorkbooks()->Open(path.u16string());
    EXPECT_EQ(other->GetWorkbooks()->GetCount(), 1);
}

TEST_F(Files, ADamagedFileIsRefusedWithItsReason) {
    auto path = folder / "damaged.xls";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fputs("not a workbook", f);
        std::fclose(f);
    }
    try {
        app->GetWorkbooks()->Open(path.u16string());
        FAIL() << "opened";
    } catch (const ComError& e) {
        EXPECT_EQ(e.error(), XL_E_METHODFAILED);
        EXPECT_NE(e.description().find(u"damaged.xls"), std::u16string::npos);
    }
    EXPECT_EQ(app->GetWorkbooks()->GetCount(), 1);
}

} // namespace
} // namespace engine::automation::testing
