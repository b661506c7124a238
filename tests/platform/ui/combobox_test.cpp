#include "platform/ui/collate.h"
#include "platform/ui/combobox.h"
#include "platform/ui/user.h"
#include "test_dialogs.h"
#include "ui_fixture.h"

namespace {

using ComboBoxTest = UiTest;
using Items = std::vector<std::u16string>;

Items itemsOf(HWND combo) {
    Items items;
    CComboBox box(combo);
    for (int i = 0; i < box.GetCount(); ++i) {
        std::u16string item;
        box.GetLBText(i, item);
        items.push_back(item);
    }
    return items;
}

// Runs the query dialog on the template with a test body inside its loop.
class ComboDlg : public CAxDialogImpl<ComboDlg> {
public:
    enum { IDD = IDD_TESSIK };
    std::function<void(CComboBox)> body;
    BEGIN_MSG_MAP(ComboDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        body(GetDlgItem(IDC_ITEMS));
        EndDialog(0);
        return FALSE;
    }
};

void withCombo(std::function<void(CComboBox)> body) {
    ComboDlg dlg;
    dlg.body = std::move(body);
    dlg.DoModal(nullptr);
}

TEST_F(ComboBoxTest, SortedListPutsNumbersByValueThenLatinThenPinyinIgnoringCase) {
    withCombo([](CComboBox combo) {
        for (const char16_t* item : {u"杂志", u"apple", u"10份", u"阿里", u"Banana", u"9份", u"报纸",
                                     u"2026年度杂志", u"Apple", u"2009年度杂志"})
            combo.AddString(item);
        EXPECT_EQ(itemsOf(combo), (Items{u"9份", u"10份", u"2009年度杂志", u"2026年度杂志", u"apple",
                                         u"Apple", u"Banana", u"阿里", u"报纸", u"杂志"}));
    });
    EXPECT_LT(ui::compareListText(u"apple", u"Banana"), 0);
    EXPECT_EQ(ui::compareListText(u"APPLE", u"apple"), 0);
}

TEST_F(ComboBoxTest, SelectionFollowsItsItemAndFillsTheEditField) {
    withCombo([](CComboBox combo) {
        EXPECT_EQ(combo.GetCurSel(), CB_ERR);
        combo.AddString(u"杂志");
        EXPECT_EQ(combo.SetCurSel(0), 0);
        std::u16string text;
        combo.GetWindowText(text);
        EXPECT_EQ(text, u"杂志");

        EXPECT_EQ(combo.AddString(u"报纸"), 0); // sorts before the selected item, which moves down
        EXPECT_EQ(combo.GetCurSel(), 1);

        EXPECT_EQ(combo.SetCurSel(5), CB_ERR);
        EXPECT_EQ(combo.GetCurSel(), CB_ERR);
        combo.GetWindowText(text);
        EXPECT_EQ(text, u"");
    });
}

TEST_F(ComboBoxTest, OperationsOnOtherWindowsFail) {
    withCombo([](CComboBox combo) {
        CComboBox notACombo = combo.GetParent().GetDlgItem(IDC_CONFIRM);
        EXPECT_EQ(notACombo.AddString(u"x"), CB_ERR);
        EXPECT_EQ(notACombo.GetCount(), CB_ERR);
    });
    EXPECT_EQ(CComboBox(nullptr).SetCurSel(0), CB_ERR);
}

} // namespace
