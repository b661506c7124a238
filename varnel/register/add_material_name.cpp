#include "varnel/app/maindlg.h"

void CMainDlg::OnAddMaterialName(IDispatch*, VARIANT_BOOL*) {}
