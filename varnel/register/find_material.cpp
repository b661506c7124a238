#include "varnel/app/maindlg.h"

void CMainDlg::OnFindMaterial(IDispatch*, VARIANT_BOOL*) {}
