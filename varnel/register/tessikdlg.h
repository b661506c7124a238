#pragma once

#include "platform/ui/combobox.h"
#include "platform/ui/dialog.h"
#include "platform/ui/gdi.h"
#include "varnel/res/resource.h"

#include <string>

// The query dialog: a sorted, editable combo box of items and 确定. The caller fills the members
// before DoModal; afterwards itemText holds the text chosen or typed. It always ends with 1.
class CTessikDlg : public CAxDialogImpl<CTessikDlg> {
public:
    enum { IDD = IDD_TESSIK };

    // In: the items, separated by ","; out: the combo box's text.
    std::u16string itemText;
    // Also offer one year's magazine for every year from next year down to 2009.
    bool withYearItems = false;
    // What follows "%d年度" in a year item.
    std::u16string yearSuffix;

    BEGIN_MSG_MAP(CTessikDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_CONFIRM, OnConfirm)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnConfirm(WORD code, WORD id, HWND control, BOOL& handled);

    // Lives as long as the dialog object, beyond the window that uses it.
    CFont itemFont_;
};
