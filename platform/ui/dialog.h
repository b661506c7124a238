#pragma once

#include "platform/ui/atlwin.h"

// Modal dialogs built from a template of the resource module (module.h), in the manner of ATL:
//
//     class CMyDlg : public CAxDialogImpl<CMyDlg> {
//     public:
//         enum { IDD = IDD_MYDIALOG };
//         BEGIN_MSG_MAP(CMyDlg) ... END_MSG_MAP()
//     };
//     INT_PTR result = CMyDlg().DoModal(owner);
//
// DoModal makes the dialog and its controls from the template, disables the owner, sends WM_INITDIALOG, runs
// the backend's modal loop until a handler calls EndDialog, destroys the dialog, enables the owner again and
// returns the value given to EndDialog. It returns -1 at once, as DialogBox does, when the template is
// missing, the owner is no window or the object already shows a dialog. A handler may end the dialog during
// WM_INITDIALOG; the loop is then not run. An exception from a handler leaves DoModal with the dialog
// destroyed.
class CDialogImplBase : public CWindow, public CMessageMap {
public:
    BOOL EndDialog(INT_PTR result) { return ::EndDialog(m_hWnd, result); }

protected:
    INT_PTR doModal(int templateId, HWND owner, LPARAM initParam);
};

template <class T> class CAxDialogImpl : public CDialogImplBase {
public:
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0) {
        return doModal(T::IDD, owner, initParam);
    }
};

template <class T> using CDialogImpl = CAxDialogImpl<T>;

// A dialog that only shows its template and closes on any of the buttons IDOK to IDNO, returning that id;
// centred over its owner unless told otherwise.
template <WORD t_wDlgTemplateID, BOOL t_bCenter = TRUE> class CSimpleDialog : public CDialogImplBase {
public:
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0) {
        return doModal(t_wDlgTemplateID, owner, initParam);
    }

    BEGIN_MSG_MAP(CSimpleDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_RANGE_HANDLER(IDOK, IDNO, OnCloseCmd)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        if (t_bCenter)
            CenterWindow(GetParent());
        return TRUE;
    }
    LRESULT OnCloseCmd(WORD, WORD id, HWND, BOOL&) {
        EndDialog(id);
        return 0;
    }
};
