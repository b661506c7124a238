#include "platform/ui/prompts.h"
#include "platform/ui/user.h"
#include "test_dialogs.h"
#include "ui_fixture.h"

namespace {

using HeadlessTest = UiTest;
using Kind = ui::Record::Kind;

HWND spreadsheetWindow() {
    return ui::createWindow(u"XLMAIN", u"Book1", WS_OVERLAPPEDWINDOW, {0, 0, 800, 600});
}

TEST_F(HeadlessTest, MessageBoxesAreRecordedWithOwnerCaptionAndText) {
    HWND owner = spreadsheetWindow();
    user.queue(ui::Answer::withText(u"是")); // an OK box takes no answer
    EXPECT_EQ(MessageBoxW(owner, u"输入类型不正确！", u"添加征订资料错误", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxW(nullptr, u"line \"one\"\nline two", u"", MB_OK), IDOK);
    EXPECT_EQ(user.pendingAnswers(), 1u);

    ASSERT_EQ(user.records().size(), 2u);
    const ui::Record& first = user.records()[0];
    EXPECT_EQ(first.kind, Kind::MessageBox);
    EXPECT_EQ(first.owner, owner);
    EXPECT_EQ(first.caption, u"添加征订资料错误");
    EXPECT_EQ(first.text, u"输入类型不正确！");
    EXPECT_EQ(user.records()[1].text, u"line \"one\"\nline two");

    DestroyWindow(owner);
    EXPECT_EQ(MessageBoxW(owner, u"to nobody", u"", MB_OK), 0);
    EXPECT_EQ(user.records().size(), 2u);
}

TEST_F(HeadlessTest, SavePromptTakesTheNextAnswerAndSaysNoWithoutOne) {
    HWND owner = spreadsheetWindow();
    UINT prompt = MB_YESNOCANCEL | MB_ICONWARNING;
    user.queue(ui::Answer::withText(u"是"));
    user.queue(ui::Answer::withText(u"取消"));
    user.queue(ui::Answer::cancel());
    user.queue(ui::Answer::withText(u"也许"));
    EXPECT_EQ(MessageBoxW(owner, u"是否保存？", u"Book1", prompt), IDYES);
    EXPECT_EQ(MessageBoxW(owner, u"是否保存？", u"Book1", prompt), IDCANCEL);
    EXPECT_EQ(MessageBoxW(owner, u"是否保存？", u"Book1", prompt), IDCANCEL);
    EXPECT_EQ(MessageBoxW(owner, u"是否保存？", u"Book1", prompt), IDNO);
    EXPECT_EQ(user.records().back().kind, Kind::Error) << "an answer with no such button is reported";
    EXPECT_EQ(MessageBoxW(owner, u"是否保存？", u"Book1", prompt), IDNO);
    EXPECT_EQ(MessageBoxW(owner, u"重试？", u"", MB_RETRYCANCEL | MB_ICONSTOP), IDCANCEL);
    EXPECT_EQ(user.records()[0].answer, u"是");

    user.queue(ui::Answer::withText(u"是"));
    EXPECT_EQ(ui::askToSave(owner, u"是否保存？", u"Book1"), ui::SaveAnswer::Save);
    EXPECT_EQ(ui::askToSave(owner, u"是否保存？", u"Book1"), ui::SaveAnswer::DontSave);
    DestroyWindow(owner);
    EXPECT_EQ(ui::askToSave(owner, u"是否保存？", u"Book1"), ui::SaveAnswer::Cancel)
        << "nothing is lost unasked";
}

TEST_F(HeadlessTest, InputBoxGivesTheTextOrCancels) {
    HWND owner = spreadsheetWindow();
    user.queue(ui::Answer::withText(u"新单位"));
    user.queue(ui::Answer::cancel());
    user.queue(ui::Answer::withText(u""));
    EXPECT_EQ(ui::inputBox(owner, u"请输入单位名称：", u"添加统计单位", u"未知单位"), u"新单位");
    EXPECT_EQ(ui::inputBox(owner, u"请输入单位名称：", u"添加统计单位", u"未知单位"), std::nullopt);
    EXPECT_EQ(ui::inputBox(owner, u"请输入单位名称：", u"添加统计单位", u"未知单位"), u"");
    EXPECT_EQ(ui::inputBox(owner, u"请输入单位名称：", u"添加统计单位", u"未知单位"), std::nullopt)
        << "an unanswered input box is cancelled";

    ASSERT_EQ(user.records().size(), 4u);
    EXPECT_EQ(user.records()[0].owner, owner);
    EXPECT_EQ(user.records()[0].kind, Kind::InputBox);
    EXPECT_EQ(user.records()[0].text, u"请输入单位名称：");
    EXPECT_EQ(user.records()[0].caption, u"添加统计单位");
    EXPECT_EQ(user.records()[0].defaultText, u"未知单位");
    DestroyWindow(owner);
}

TEST_F(HeadlessTest, DialogWithoutAnAnswerEndsWithAnErrorInsteadOfWaiting) {
    NameDlg dlg; // neither Enter nor Escape reaches its only handler
    EXPECT_EQ(dlg.DoModal(nullptr), -1);
    EXPECT_EQ(dlg.inputText, u"");
    ASSERT_EQ(user.records().size(), 2u);
    EXPECT_EQ(user.records()[0].kind, Kind::Dialog);
    EXPECT_EQ(user.records()[1].kind, Kind::Error);
    EXPECT_NE(user.records()[1].text.find(u"dialog 130"), std::u16string::npos);

    // A text answer to a dialog without a text field is reported, and the dialog is then left unanswered.
    ProbeDlg probe;
    user.queue(ui::Answer::withText(u"名称"));
    EXPECT_EQ(probe.DoModal(nullptr), IDOK);
    EXPECT_EQ(user.records().back().kind, Kind::Error);
}

TEST_F(HeadlessTest, UserSessionRunsInsideTheFirstLoopAndNestedQuestionsTakeTheAnswers) {
    HWND owner = spreadsheetWindow();
    std::vector<std::string> steps;
    std::u16string typed;
    user.setUser([&] {
        steps.push_back("step");
        if (steps.size() == 1) {
            user.queue(ui::Answer::withText(u"报刊"));
            NameDlg dlg;
            EXPECT_EQ(dlg.DoModal(owner), 1);
            typed = dlg.inputText;
            EXPECT_EQ(MessageBoxW(owner, u"已添加", u"添加", MB_OK), IDOK);
            user.queue(ui::Answer::withText(u"left over"));
            return true;
        }
        return false;
    });
    ProbeDlg main;
    main.onInit = [](ProbeDlg& d) {
        d.MoveWindow(0, 0, 0, 0, TRUE);
    };
    EXPECT_EQ(main.DoModal(nullptr), IDOK) << "the dialog ends as an unanswered one once the session is over";
    EXPECT_EQ(steps.size(), 2u);
    EXPECT_EQ(typed, u"报刊");
    EXPECT_EQ(user.pendingAnswers(), 1u);
    ASSERT_EQ(user.records().size(), 2u);
    EXPECT_EQ(user.records()[0].dialogId, IDD_INPUT);
    EXPECT_EQ(user.records()[1].kind, Kind::MessageBox);

    // The session is spent: a later dialog is answered from the queue.
    NameDlg later;
    EXPECT_EQ(later.DoModal(owner), 1);
    EXPECT_EQ(later.inputText, u"left over");
    DestroyWindow(owner);
}

TEST_F(HeadlessTest, SessionStopsOnceItsDialogHasEnded) {
    int steps = 0;
    user.setUser([&] {
        ++steps;
        EndDialog(GetActiveWindow(), 0); // the register was closed
        return true;
    });
    ProbeDlg main;
    EXPECT_EQ(main.DoModal(nullptr), 0);
    EXPECT_EQ(steps, 1);
}

} // namespace
