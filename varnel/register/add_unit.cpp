#include "varnel/app/maindlg.h"

void CMainDlg::OnAddUnit(IDispatch*, VARIANT_BOOL*) {}
