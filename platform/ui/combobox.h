#pragma once

#include "platform/ui/atlwin.h"

#include <string>
#include <string_view>

// Combo box operations. A combo box with CBS_SORT inserts each item in the order of compareListText
// (collate.h), after the items it equals; without it, at the end. Selecting an item puts its text into the
// edit field.
namespace ui {
int comboAddString(HWND combo, std::u16string_view text); // the new item's index, CB_ERR if no combo box
int comboSetCurSel(HWND combo, int index);                // index, or CB_ERR (selection then cleared)
int comboGetCurSel(HWND combo);                           // CB_ERR when nothing is selected
int comboGetCount(HWND combo);                            // CB_ERR if no combo box
int comboGetLBText(HWND combo, int index, std::u16string& text); // the length, or CB_ERR
} // namespace ui

class CComboBox : public CWindow {
public:
    CComboBox(HWND hWnd = nullptr) : CWindow(hWnd) {}
    CComboBox(const CWindow& window) : CWindow(window.m_hWnd) {}
    CComboBox& operator=(HWND hWnd) {
        m_hWnd = hWnd;
        return *this;
    }

    int AddString(LPCWSTR text) { return ui::comboAddString(m_hWnd, text ? text : u""); }
    int SetCurSel(int index) { return ui::comboSetCurSel(m_hWnd, index); }
    int GetCurSel() const { return ui::comboGetCurSel(m_hWnd); }
    int GetCount() const { return ui::comboGetCount(m_hWnd); }
    int GetLBText(int index, std::u16string& text) const { return ui::comboGetLBText(m_hWnd, index, text); }
};
