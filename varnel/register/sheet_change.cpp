#include "varnel/app/maindlg.h"

void CMainDlg::OnSheetChange(IDispatch*, IDispatch*) {}
