#pragma once

#include "platform/ui/combobox.h"
#include "platform/ui/dialog.h"
#include "platform/ui/gdi.h"
#include "platform/ui/window.h"
#include "varnel/res/resource.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// Small dialogs on the program's templates, written as the program writes its own.

// Logs the messages its map routes, and lets a test act inside WM_INITDIALOG.
class ProbeDlg : public CAxDialogImpl<ProbeDlg> {
public:
    enum { IDD = IDD_MAINDLG };
    std::vector<std::string> log;
    std::function<void(ProbeDlg&)> onInit;

    BEGIN_MSG_MAP(ProbeDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        log.push_back("init");
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD id, HWND, BOOL&) {
        log.push_back("ok");
        EndDialog(id);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD id, HWND, BOOL&) {
        log.push_back("cancel");
        EndDialog(id);
        return 0;
    }
};

// One edit box and one button, which is the only way out.
class NameDlg : public CAxDialogImpl<NameDlg> {
public:
    enum { IDD = IDD_INPUT };
    std::u16string inputText;

    BEGIN_MSG_MAP(NameDlg)
    COMMAND_ID_HANDLER(IDC_CONFIRM, OnConfirm)
    END_MSG_MAP()

    LRESULT OnConfirm(WORD, WORD, HWND, BOOL&) {
        GetDlgItem(IDC_NAME).GetWindowText(inputText);
        EndDialog(1);
        return 0;
    }
};

// A sorted combo box filled from a comma-separated text, its font and drop-down height set at start.
class PickDlg : public CAxDialogImpl<PickDlg> {
public:
    enum { IDD = IDD_TESSIK };
    std::u16string itemText;
    CFont font;
    RECT fieldBeforeMove{};
    ui::Window comboAtConfirm; // the combo box as the user left it

    BEGIN_MSG_MAP(PickDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_CONFIRM, OnConfirm)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        CComboBox combo = GetDlgItem(IDC_ITEMS);
        LOGFONTW lf = {};
        lf.lfHeight = -16;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = GB2312_CHARSET;
        lf.lfOutPrecision = OUT_STROKE_PRECIS;
        lf.lfClipPrecision = CLIP_STROKE_PRECIS;
        lf.lfQuality = DRAFT_QUALITY;
        lf.lfPitchAndFamily = VARIABLE_PITCH;
        lf.lfOrientation = 45;
        std::u16string_view face = u"宋体";
        std::copy(face.begin(), face.end(), lf.lfFaceName);
        combo.SetFont(font.CreateFontIndirect(&lf), FALSE);

        RECT rc;
        combo.GetWindowRect(&rc);
        fieldBeforeMove = rc;
        rc.bottom += 50;
        ScreenToClient(&rc);
        combo.MoveWindow(&rc, TRUE);

        size_t start = 0;
        while (start <= itemText.size()) {
            size_t comma = std::min(itemText.find(u',', start), itemText.size());
            if (comma > start)
                combo.AddString(itemText.substr(start, comma - start).c_str());
            start = comma + 1;
        }
        combo.SetCurSel(0);
        return FALSE;
    }
    LRESULT OnConfirm(WORD, WORD, HWND, BOOL&) {
        comboAtConfirm = *ui::findWindow(GetDlgItem(IDC_ITEMS));
        GetDlgItem(IDC_ITEMS).GetWindowText(itemText);
        EndDialog(1);
        return 0;
    }
};
