#include "varnel/register/inputdlg.h"

LRESULT CInputDlg::OnConfirm(WORD, WORD, HWND, BOOL&) {
    GetDlgItem(IDC_NAME).GetWindowText(inputText);
    EndDialog(1);
    return 0;
}
