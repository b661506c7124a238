#include "platform/profile/profile.h"
#include "varnel/app/clock.h"
#include "varnel/app/excel_window.h"
#include "varnel/app/maindlg.h"
#include "varnel/register/inputdlg.h"
#include "varnel/register/material_name.h"

// Adds one material name to the configured kinds and stores the whole list, so that new entry rows and
// the query dialog offer it at once. The workbook is not touched.
void CMainDlg::OnAddMaterialName(IDispatch*, VARIANT_BOOL*) {
    CInputDlg dialog;
    dialog.DoModal(excelWindow(*_epApp));

    const std::u16string name = layout::trimmed(dialog.inputText);
    const char16_t* refusal = nullptr;
    switch (layout::checkMaterialName(name, materialKinds, magazineName, app::currentYear())) {
    case layout::NameCheck::Accepted:
        break;
    case layout::NameCheck::NotAName:
        refusal = u"输入类型不正确！";
        break;
    case layout::NameCheck::AlreadyListed:
        refusal = u"该资料名称已经存在，不会被再次添加！";
        break;
    case layout::NameCheck::ListFull:
        refusal = u"资料名称列表已达到下拉列表的255个字符上限，不能再添加！";
        break;
    }
    if (refusal) {
        MessageBoxW(excelWindow(*_epApp), refusal, u"添加征订资料错误", MB_OK);
        return;
    }

    // The list in memory grows only with what the file holds, so a name is never offered now and lost
    // at the next start.
    const std::u16string kinds = materialKinds + u"," + name;
    if (!WritePrivateProfileStringW(u"征订资料", u"征订资料种类", kinds.c_str(), configPath.c_str())) {
        MessageBoxW(excelWindow(*_epApp), u"无法保存到配置文件 TessikConfig.ini，资料名称没有添加！",
                    u"添加征订资料错误", MB_OK);
        return;
    }
    materialKinds = kinds;
}
