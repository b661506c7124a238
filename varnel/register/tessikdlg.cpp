#include "varnel/register/tessikdlg.h"

#include "varnel/app/clock.h"
#include "varnel/register/formulas.h"
#include "varnel/register/lists.h"

#include <algorithm>
#include <iterator>

namespace {

// The earliest year whose magazine the dialog offers.
constexpr int firstYearItem = 2009;

} // namespace

LRESULT CTessikDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CComboBox items = GetDlgItem(IDC_ITEMS);

    LOGFONTW font{};
    font.lfHeight = -16;
    font.lfWeight = 400;       // FW_NORMAL
    font.lfCharSet = 134;      // GB2312_CHARSET
    font.lfOutPrecision = 3;   // OUT_STROKE_PRECIS
    font.lfClipPrecision = 2;  // CLIP_STROKE_PRECIS
    font.lfQuality = 1;        // DRAFT_QUALITY
    font.lfPitchAndFamily = 2; // VARIABLE_PITCH
    font.lfOrientation = 45;
    font.lfEscapement = 0;
    const std::u16string_view face = u"宋体";
    std::copy(face.begin(), face.end(), std::begin(font.lfFaceName));
    items.SetFont(itemFont_.CreateFontIndirect(&font), FALSE);

    // Room for more lines in the drop-down list.
    RECT rect;
    items.GetWindowRect(&rect);
    rect.bottom += 50;
    ScreenToClient(&rect);
    items.MoveWindow(&rect, TRUE);

    for (const std::u16string& item : layout::splitItems(itemText))
        items.AddString(item.c_str());
    if (withYearItems) {
        for (int year = app::currentYear() + 1; year >= firstYearItem; --year)
            items.AddString(layout::yearItem(year, yearSuffix).c_str());
    }
    items.SetCurSel(0);
    return FALSE;
}

LRESULT CTessikDlg::OnConfirm(WORD, WORD, HWND, BOOL&) {
    GetDlgItem(IDC_ITEMS).GetWindowText(itemText);
    EndDialog(1);
    return 0;
}
