#pragma once

#include "platform/ui/dialog.h"
#include "varnel/res/resource.h"

#include <string>

// Asks for one material name. It has no Cancel: 确定 is the only way out.
class CInputDlg : public CAxDialogImpl<CInputDlg> {
public:
    enum { IDD = IDD_INPUT };

    // The edit box's whole text when 确定 was pressed.
    std::u16string inputText;

    BEGIN_MSG_MAP(CInputDlg)
    COMMAND_ID_HANDLER(IDC_CONFIRM, OnConfirm)
    END_MSG_MAP()

private:
    LRESULT OnConfirm(WORD code, WORD id, HWND control, BOOL& handled);
};
