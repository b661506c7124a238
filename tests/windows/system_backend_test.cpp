#include "platform/ui/module.h"
#include "platform/ui/system_backend.h"
#include "platform/ui/user.h"
#include "tests/platform/ui/test_dialogs.h"
#include "tests/windows/person.h"
#include "varnel/res/resources.h"

#include <gtest/gtest.h>

namespace {

using person::Step;

class SystemBackendTest : public ::testing::Test {
protected:
    ui::SystemBackend screen;

    void SetUp() override {
        ui::setBackend(&screen);
        ui::setResourceInstance(res::instance());
    }
    void TearDown() override {
        ui::setResourceInstance(nullptr);
        ui::setBackend(nullptr);
    }
};

TEST_F(SystemBackendTest, WhatThePersonTypesReachesTheProgramsDialogWhenTheyConfirm) {
    person::Seen seen;
    person::willAnswer(u"请输入要添加的资料名称",
                       {{Step::Type, IDC_NAME, u"半月谈 "}, {Step::Press, IDC_CONFIRM, {}}}, seen);
    NameDlg dlg;
    EXPECT_EQ(dlg.DoModal(nullptr), 1);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.editTexts, std::vector<std::u16string>{u""});
    EXPECT_EQ(dlg.inputText, u"半月谈 ");
}

TEST_F(SystemBackendTest, AComboBoxShowsTheProgramsListInItsOrderAndGivesBackThePick) {
    person::Seen seen;
    person::willAnswer(u"查询指定资料征订情况",
                       {{Step::Select, IDC_ITEMS, {}, 2}, {Step::Press, IDC_CONFIRM, {}}}, seen);
    PickDlg dlg;
    dlg.itemText = u"杂志,报纸,图书,10份,9份";
    EXPECT_EQ(dlg.DoModal(nullptr), 1);
    ASSERT_TRUE(seen.found);
    ASSERT_EQ(seen.comboBoxItems.size(), 1u);
    // The program's list is sorted by the program; the system keeps its order.
    std::vector<std::u16string> programOrder;
    for (const std::u16string& item : dlg.comboAtConfirm.items)
        programOrder.push_back(item);
    EXPECT_EQ(seen.comboBoxItems[0], programOrder);
    EXPECT_EQ(dlg.comboAtConfirm.curSel, 2);
    EXPECT_EQ(dlg.itemText, programOrder[2]);
}

TEST_F(SystemBackendTest, EscapeAndTheCloseBoxReachTheDialogAsCancel) {
    person::Seen seen;
    person::willAnswer(u"About", {{Step::Press, IDCANCEL, {}}}, seen);
    CSimpleDialog<IDD_ABOUTBOX> about;
    EXPECT_EQ(about.DoModal(nullptr), IDCANCEL);
    EXPECT_TRUE(seen.found);
}

TEST_F(SystemBackendTest, AHiddenDialogDispatchesMessagesUntilItEnds) {
    ProbeDlg dlg;
    dlg.onInit = [](ProbeDlg& d) {
        d.MoveWindow(0, 0, 0, 0, TRUE);
        person::later([&d] { d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    };
    EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "ok"}));
}

TEST_F(SystemBackendTest, AMessageBoxIsTheSystemsAndAnswersWithTheButtonPressed) {
    person::Seen seen;
    person::willAnswer(u"Varnel", {{Step::Press, IDNO, {}}}, seen);
    EXPECT_EQ(::MessageBoxW(nullptr, u"是否保存对“Ombrell.xls”的更改？", u"Varnel",
                            MB_YESNOCANCEL | MB_ICONWARNING),
              IDNO);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.texts, std::vector<std::u16string>{u"是否保存对“Ombrell.xls”的更改？"});
}

TEST_F(SystemBackendTest, DialogsAndMessageBoxesAreOwnedByTheSpreadsheetsWindowWhileItIsOne) {
    void* excel = person::openWindow(u"Microsoft Excel - Ombrell.xls");
    HWND owner = static_cast<HWND>(excel);
    EXPECT_TRUE(::IsWindow(owner));
    person::Seen seen;
    person::willAnswer(u"Varnel", {{Step::Press, IDOK, {}}}, seen);
    EXPECT_EQ(::MessageBoxW(owner, u"找不到登记簿文件。", u"Varnel", MB_OK), IDOK);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.owner, excel);

    person::Seen dialogSeen;
    person::willAnswer(u"请输入要添加的资料名称", {{Step::Press, IDC_CONFIRM, {}}}, dialogSeen);
    NameDlg dlg;
    EXPECT_EQ(dlg.DoModal(owner), 1);
    EXPECT_EQ(dialogSeen.owner, excel);

    person::closeWindow(excel);
    EXPECT_FALSE(::IsWindow(owner));
}

} // namespace
