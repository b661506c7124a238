#include "varnel/app/winmain.h"

#include "platform/com/registry.h"
#include "platform/ui/module.h"
#include "platform/ui/user.h"
#include "varnel/app/debug.h"
#include "varnel/app/maindlg.h"

int wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    CAppModule module;

    HRESULT hRes = ::CoInitialize(nullptr);
    VARNEL_ASSERT(SUCCEEDED(hRes));

    INITCOMMONCONTROLSEX iccx = {sizeof(iccx), ICC_BAR_CLASSES};
    BOOL bRet = ::InitCommonControlsEx(&iccx);
    VARNEL_ASSERT(bRet);

    hRes = module.Init(nullptr, hInstance);
    VARNEL_ASSERT(SUCCEEDED(hRes));

    AtlAxWinInit();

    INT_PTR nRet = 0;
    {
        CMainDlg dlgMain;
        nRet = dlgMain.DoModal(::GetActiveWindow());
    }

    module.Term();
    ::CoUninitialize();
    return static_cast<int>(nRet);
}
