#include "varnel/app/maindlg.h"

void CMainDlg::OnOutputStatus(IDispatch*, VARIANT_BOOL*) {}
