#pragma once

#include "platform/com/disp_event.h"
#include "platform/ui/dialog.h"
#include "varnel/excel/excel.h"
#include "varnel/res/resource.h"

#include <string>

// The parameters of the three events the program handles: an object, then a by-reference flag or a
// second object.
inline constexpr _ATL_FUNC_INFO WorkbookBeforeCloseInfo = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_BYREF | VT_BOOL}};
inline constexpr _ATL_FUNC_INFO SheetChangeInfo = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_DISPATCH}};
inline constexpr _ATL_FUNC_INFO ClickInfo = {0, VT_EMPTY, 2, {VT_DISPATCH, VT_BYREF | VT_BOOL}};

// The hidden main dialog: it lives for the whole run, holds the link to the spreadsheet (application,
// register workbook and sheet, command bars, the four toolbar buttons) and the two configuration
// values, and receives the spreadsheet's events through its six sinks. Every command is a member
// handler; the commands keep nothing between calls.
//
// Sinks 1 and 2 listen to the application, 3 to 6 each to one toolbar button: the toolbar's table of
// commands (toolbar.h) gives each button its sink, caption and handler.
class CMainDlg : public CAxDialogImpl<CMainDlg>,
                 public IDispEventSimpleImpl<1, CMainDlg, &DIID_AppEvents>,
                 public IDispEventSimpleImpl<2, CMainDlg, &DIID_AppEvents>,
                 public DispEventSinks<CMainDlg, &DIID__CommandBarButtonEvents, 3, 4, 5, 6> {
public:
    enum { IDD = IDD_MAINDLG };

    template <UINT id> using AppSink = IDispEventSimpleImpl<id, CMainDlg, &DIID_AppEvents>;
    template <UINT id> using ButtonSink = IDispEventSimpleImpl<id, CMainDlg, &DIID__CommandBarButtonEvents>;
    using ButtonSinks = DispEventSinks<CMainDlg, &DIID__CommandBarButtonEvents, 3, 4, 5, 6>;

    // Exit codes of a start-up that cannot go on (0, 1 and 2 are the dialog's own results).
    enum StartupFailure {
        kNoSpreadsheet = 3,  // "Excel.Application" cannot be created
        kNoRegisterFile = 4, // Ombrell.xls is not in the program folder
        kRegisterUnreadable = 5,
        kNoRegisterSheet = 6,
        kSpreadsheetRefused = 7, // a later start-up step failed (command bars, toolbar, events)
    };

    CMainDlg() = default;
    CMainDlg(const CMainDlg&) = delete;
    CMainDlg& operator=(const CMainDlg&) = delete;

    BEGIN_MSG_MAP(CMainDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAppAbout)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    // The sink map (sink_map.cpp): the two application events, then one Click row per toolbar command
    // in the order of their sink ids.
    static const _ATL_EVENT_ENTRY<CMainDlg>* _GetSinkMap();

    LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnAppAbout(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnOK(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnCancel(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);

    // The event handlers, reached through the sink map.
    void OnWorkbookBeforeClose(IDispatch* Wb, VARIANT_BOOL* Cancel);
    void OnSheetChange(IDispatch* Sh, IDispatch* Target);
    void OnAddUnit(IDispatch* Ctrl, VARIANT_BOOL* CancelDefault);
    void OnFindMaterial(IDispatch* Ctrl, VARIANT_BOOL* CancelDefault);
    void OnAddMaterialName(IDispatch* Ctrl, VARIANT_BOOL* CancelDefault);
    void OnOutputStatus(IDispatch* Ctrl, VARIANT_BOOL* CancelDefault);

    // A handler left with an error: shown to the user once, over the spreadsheet's window.
    void ReportSinkError(UINT sinkId, HRESULT hr, const std::u16string& description);

    Excel::_ApplicationPtr _epApp;
    Office::_CommandBarsPtr _epCmdBars;
    std::u16string configPath;
    Excel::_WorkbookPtr _epBook;
    Excel::_WorksheetPtr _epSheet;
    std::u16string materialKinds;
    std::u16string magazineName;
    Office::_CommandBarButtonPtr _epAddUnitButton;
    Office::_CommandBarButtonPtr _epFindButton;
    Office::_CommandBarButtonPtr _epAddMaterialButton;
    Office::_CommandBarButtonPtr _epOutputButton;

private:
    void linkExcel();
    void unlinkExcel();
    void failStartup(StartupFailure code, const std::u16string& text);
    void warnOfLongKinds();
    bool settleUnsavedChanges();
    void endWithResult(WORD id);
};
