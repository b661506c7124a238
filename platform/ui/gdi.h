#pragma once

#include "platform/ui/wintypes.h"

#include <string_view>

// Fonts made from a LOGFONTW. A font lives until DeleteObject; a control that still holds a deleted font
// keeps its handle, and a front end then draws it in the dialog's font, as Windows draws with the system
// font.
HFONT CreateFontIndirectW(const LOGFONTW* font);
BOOL DeleteObject(HGDIOBJ object);

namespace ui {
// The description of a live font, or null.
const LOGFONTW* fontInfo(HFONT font);
// The LOGFONTW of a dialog font given by face and points on a 96 dpi screen.
LOGFONTW dialogFont(std::u16string_view face, int pointSize, int weight, bool italic, int charSet);
} // namespace ui

// A font owned by its holder and deleted with it.
class CFont {
public:
    HFONT m_hFont = nullptr;

    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont() { DeleteObject(); }

    HFONT CreateFontIndirect(const LOGFONTW* font) {
        DeleteObject();
        return m_hFont = CreateFontIndirectW(font);
    }
    BOOL DeleteObject() {
        BOOL ok = m_hFont ? ::DeleteObject(m_hFont) : FALSE;
        m_hFont = nullptr;
        return ok;
    }
    bool IsNull() const { return m_hFont == nullptr; }
    operator HFONT() const { return m_hFont; }
};
