#include "varnel/res/resources.h"

// The dialog templates, written once here as a resource script would write them, one line per control.
// A C++ table rather than a script parsed at build time: the compiler checks every id and style, and
// there is no second description of the same dialogs to keep in step.
namespace res {

namespace {

using ui::DialogItemTemplate;
using ui::DialogTemplate;

constexpr WORD english = 1033;
constexpr WORD chinese = 2052;
constexpr DWORD pushButton = BS_PUSHBUTTON | WS_TABSTOP;

// The hidden main dialog: a pop-up with a thin border and a system menu, no caption.
constexpr DialogItemTemplate mainDlg[] = {
    {IDOK, u"BUTTON", u"OK", 131, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, u"BUTTON", u"Cancel", 131, 24, 50, 14, pushButton},
    {ID_APP_ABOUT, u"BUTTON", u"&About", 131, 77, 50, 14, pushButton},
};

constexpr DialogItemTemplate aboutBox[] = {
    {IDOK, u"BUTTON", u"OK", 130, 81, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDC_STATIC, u"STATIC", u"Varnel v1.0\n\nSubscription register", 25, 57, 78, 32, SS_CENTER},
    {IDC_STATIC, u"STATIC", u"", 55, 26, 18, 20, SS_ICON, 0, IDR_MAINFRAME},
    {IDC_STATIC, u"BUTTON", u"", 7, 7, 115, 88, BS_GROUPBOX},
};

// Neither dialog of the commands has a system menu, so neither can be closed but by its button.
constexpr DialogItemTemplate inputDlg[] = {
    {IDC_NAME, u"EDIT", u"", 13, 9, 303, 14, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_CONFIRM, u"BUTTON", u"确定", 139, 44, 50, 14, pushButton},
};

constexpr DialogItemTemplate tessikDlg[] = {
    {IDC_ITEMS, u"COMBOBOX", u"", 16, 11, 264, 30, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
    {IDC_CONFIRM, u"BUTTON", u"确定", 124, 58, 50, 14, pushButton},
};

constexpr DWORD commandDialog = DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION;

constexpr DialogTemplate all[] = {
    {IDD_MAINDLG, english, DS_SETFONT | WS_POPUP | WS_BORDER | WS_SYSMENU, 0, 0, 0, 188, 98, u"",
     u"MS Shell Dlg", 8, FW_NORMAL, 0, DEFAULT_CHARSET, mainDlg},
    {IDD_ABOUTBOX, english, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 187,
     102, u"About", u"MS Shell Dlg", 8, FW_NORMAL, 0, DEFAULT_CHARSET, aboutBox},
    {IDD_INPUT, chinese, commandDialog, 0, 0, 0, 330, 72, u"请输入要添加的资料名称", u"宋体", 9, FW_NORMAL, 0,
     GB2312_CHARSET, inputDlg},
    {IDD_TESSIK, chinese, commandDialog, 0, 0, 0, 298, 82, u"查询指定资料征订情况", u"宋体", 9, FW_NORMAL, 0,
     GB2312_CHARSET, tessikDlg},
};

} // namespace

const std::span<const ui::DialogTemplate> dialogs = all;

} // namespace res
