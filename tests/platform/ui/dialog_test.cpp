#include "platform/ui/user.h"
#include "platform/ui/window.h"
#include "test_dialogs.h"
#include "ui_fixture.h"

#include <cstdlib>
#include <stdexcept>

namespace {

using DialogTest = UiTest;
using Strings = std::vector<std::string>;

HWND spreadsheetWindow() {
    return ui::createWindow(u"XLMAIN", u"Book1", WS_OVERLAPPEDWINDOW, {100, 80, 900, 680});
}

TEST_F(DialogTest, MapReceivesInitThenTheScriptedButtonAndDoModalReturnsTheEndValue) {
    HWND owner = spreadsheetWindow();
    bool ownerDisabledWhileShown = false;
    HWND activeWhileShown = nullptr;
    ProbeDlg dlg;
    dlg.onInit = [&](ProbeDlg& d) {
        ownerDisabledWhileShown = !IsWindowEnabled(owner);
        activeWhileShown = GetActiveWindow();
        EXPECT_EQ(d.GetParent().m_hWnd, owner);
    };
    user.queue(ui::Answer::dialog({}, IDCANCEL));

    EXPECT_EQ(dlg.DoModal(owner), IDCANCEL);
    EXPECT_EQ(dlg.log, (Strings{"init", "cancel"}));
    EXPECT_TRUE(ownerDisabledWhileShown);
    EXPECT_NE(activeWhileShown, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_FALSE(IsWindow(activeWhileShown));
    DestroyWindow(owner);
}

TEST_F(DialogTest, EndingDuringInitSkipsTheLoopAndLeavesTheAnswers) {
    ProbeDlg dlg;
    dlg.onInit = [](ProbeDlg& d) {
        d.EndDialog(7);
    };
    user.queue(ui::Answer::withText(u"for a later question"));
    EXPECT_EQ(dlg.DoModal(nullptr), 7);
    EXPECT_EQ(user.pendingAnswers(), 1u);
    EXPECT_TRUE(user.records().empty());
}

TEST_F(DialogTest, AnExceptionFromAHandlerLeavesNoDialogBehind) {
    HWND owner = spreadsheetWindow();
    HWND shown = nullptr;
    ProbeDlg dlg;
    dlg.onInit = [&](ProbeDlg& d) {
        shown = d.m_hWnd;
        throw std::runtime_error("start-up failed");
    };
    EXPECT_THROW(dlg.DoModal(owner), std::runtime_error);
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), nullptr);

    dlg.onInit = nullptr;
    EXPECT_EQ(dlg.DoModal(owner), IDOK); // the object shows its dialog again; Enter presses OK
    DestroyWindow(owner);
}

TEST_F(DialogTest, RefusesWhatWindowsRefuses) {
    ProbeDlg dlg;
    HWND gone = spreadsheetWindow();
    DestroyWindow(gone);
    EXPECT_EQ(dlg.DoModal(gone), -1);
    EXPECT_TRUE(dlg.log.empty());

    ui::setResourceInstance(nullptr);
    EXPECT_EQ(dlg.DoModal(nullptr), -1);
    EXPECT_TRUE(traced("no dialog template 129"));
}

TEST_F(DialogTest, UnknownMessageMapIdIsTracedAndAsserted) {
    ProbeDlg dlg;
    LRESULT result = 0;
    EXPECT_FALSE(dlg.ProcessWindowMessage(nullptr, WM_COMMAND, IDOK, 0, result, 3));
    EXPECT_TRUE(dlg.log.empty());
    ASSERT_GE(traces.size(), 2u);
    EXPECT_EQ(traces[0], "Invalid message map ID (3)\n");
    EXPECT_NE(traces[1].find("Assertion failed: FALSE"), std::string::npos);
}

#define NOT_NEGATIVE(v) (((long)(v)) >= 0)

TEST_F(DialogTest, AssertionsTraceTheExpandedConditionAndCarryOn) {
    int result = -5;
    ATLASSERT(NOT_NEGATIVE(result));
    ATLASSERT(result != 0);
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_NE(traces[0].find("Assertion failed: (((long)(result)) >= 0)"), std::string::npos) << traces[0];
}

TEST_F(DialogTest, HiddenHostHasNoAreaNoTaskbarEntryAndTheProgramIcons) {
    ProbeDlg dlg;
    RECT centred{}, hidden{};
    DWORD exStyle = 0;
    const ui::IconImage *big = nullptr, *small = nullptr;
    dlg.onInit = [&](ProbeDlg& d) {
        d.CenterWindow();
        d.GetWindowRect(&centred);
        d.ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
        d.MoveWindow(0, 0, 0, 0, TRUE);
        d.GetWindowRect(&hidden);
        exStyle = d.GetExStyle();
        HINSTANCE module = ui::resourceInstance();
        d.SetIcon(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                                LR_DEFAULTCOLOR)),
                  TRUE);
        d.SetIcon(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                LR_DEFAULTCOLOR)),
                  FALSE);
        big = ui::iconImage(d.GetIcon(TRUE));
        small = ui::iconImage(d.GetIcon(FALSE));
    };
    EXPECT_EQ(dlg.DoModal(nullptr), IDOK);

    RECT area = ui::backend().workArea();
    EXPECT_EQ(centred.left - area.left, area.right - centred.right);
    EXPECT_EQ(hidden, (RECT{0, 0, 0, 0}));
    EXPECT_EQ(exStyle & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW), WS_EX_TOOLWINDOW);
    ASSERT_TRUE(big && small);
    EXPECT_EQ(big->width, 32);
    EXPECT_EQ(small->width, 16);
    EXPECT_TRUE(user.records().empty()); // a dialog without area shows nothing
}

TEST_F(DialogTest, TextDialogTakesTheTypedTextWhole) {
    HWND owner = spreadsheetWindow();
    std::u16string longName(300, u'杂');
    NameDlg dlg;
    user.queue(ui::Answer::withText(u"  " + longName + u" "));
    EXPECT_EQ(dlg.DoModal(owner), 1);
    EXPECT_EQ(dlg.inputText, u"  " + longName + u" ");

    ASSERT_EQ(user.records().size(), 1u);
    const ui::Record& r = user.records()[0];
    EXPECT_EQ(r.kind, ui::Record::Kind::Dialog);
    EXPECT_EQ(r.owner, owner);
    EXPECT_EQ(r.dialogId, IDD_INPUT);
    EXPECT_EQ(r.caption, u"请输入要添加的资料名称");
    DestroyWindow(owner);
}

TEST_F(DialogTest, SortedComboDialogShowsItsItemsAndReturnsTheTextAsTyped) {
    PickDlg dlg;
    dlg.itemText = u",报纸,杂志,,Apple,9份,10份,";
    user.queue(ui::Answer::withText(u"不在列表中"));
    EXPECT_EQ(dlg.DoModal(nullptr), 1);
    EXPECT_EQ(dlg.itemText, u"不在列表中");
    ASSERT_EQ(user.records().size(), 1u);
    EXPECT_EQ(user.records()[0].items,
              (std::vector<std::u16string>{u"9份", u"10份", u"Apple", u"报纸", u"杂志"}));
    EXPECT_EQ(user.records()[0].caption, u"查询指定资料征订情况");

    // Confirming without typing gives the first item in sorted order, as selected at start.
    PickDlg again;
    again.itemText = u"杂志,报纸";
    user.queue(ui::Answer::dialog({}, IDC_CONFIRM));
    EXPECT_EQ(again.DoModal(nullptr), 1);
    EXPECT_EQ(again.itemText, u"报纸");
}

TEST_F(DialogTest, ComboFontAndDropDownHeightFollowTheDialogsOwnSteps) {
    PickDlg dlg;
    dlg.itemText = u"甲";
    user.queue(ui::Answer::dialog({}, IDC_CONFIRM));
    EXPECT_EQ(dlg.DoModal(nullptr), 1);

    const ui::Window& combo = dlg.comboAtConfirm;
    const LOGFONTW* font = ui::fontInfo(combo.font);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->lfHeight, -16);
    EXPECT_EQ(std::u16string(font->lfFaceName), u"宋体");
    // The selection field keeps the height its font gives it; the 50 pixels go to the open list.
    EXPECT_EQ(combo.rect.height(), dlg.fieldBeforeMove.bottom - dlg.fieldBeforeMove.top);
    EXPECT_EQ(combo.droppedHeight, combo.rect.height() + 50);
    EXPECT_GT(combo.rect.height(), 16);
}

// Notes where each dialog stands when its loop starts.
class PlacementSpy : public ui::HeadlessBackend {
public:
    std::vector<RECT> shownAt;
    void runModal(HWND dialog) override {
        shownAt.push_back(ui::findWindow(dialog)->rect);
        HeadlessBackend::runModal(dialog);
    }
};

TEST_F(DialogTest, AboutBoxIsOwnedByTheActiveDialogAndNotCentred) {
    PlacementSpy spy;
    ui::setBackend(&spy);
    HWND owner = spreadsheetWindow();
    HWND host = nullptr;
    ProbeDlg hostDlg;
    hostDlg.onInit = [&](ProbeDlg& d) {
        host = d.m_hWnd;
        CSimpleDialog<IDD_ABOUTBOX, FALSE> about;
        EXPECT_EQ(about.DoModal(), IDOK); // Enter presses its default button
        CSimpleDialog<IDD_ABOUTBOX> centred;
        EXPECT_EQ(centred.DoModal(), IDOK);
    };
    EXPECT_EQ(hostDlg.DoModal(owner), IDOK);

    ASSERT_EQ(spy.records().size(), 3u);
    EXPECT_EQ(spy.records()[0].caption, u"About");
    EXPECT_EQ(spy.records()[0].owner, host);
    ASSERT_EQ(spy.shownAt.size(), 3u);
    RECT plain = spy.shownAt[0], centred = spy.shownAt[1], hostRect = spy.shownAt[2];
    // At the template's 0, 0 in the host's client area, inside its one-pixel border.
    EXPECT_EQ(plain.left, hostRect.left + 1);
    EXPECT_EQ(plain.top, hostRect.top + 1);
    EXPECT_LE(std::abs((centred.left - hostRect.left) - (hostRect.right - centred.right)), 1);
    DestroyWindow(owner);
}

} // namespace
