#include "platform/ui/gdi.h"

#include "platform/ui/user.h"

#include <algorithm>
#include <map>

namespace {
std::map<HFONT, LOGFONTW>& fonts() {
    static std::map<HFONT, LOGFONTW> all;
    return all;
}
std::uintptr_t nextFont = 0x0A010000;
} // namespace

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (!font)
        return nullptr;
    nextFont += 4;
    HFONT handle = reinterpret_cast<HFONT>(nextFont);
    LOGFONTW copy = *font;
    copy.lfFaceName[LF_FACESIZE - 1] = 0;
    fonts().emplace(handle, copy);
    return handle;
}

BOOL DeleteObject(HGDIOBJ object) {
    return fonts().erase(static_cast<HFONT>(object)) ? TRUE : FALSE;
}

namespace ui {

const LOGFONTW* fontInfo(HFONT font) {
    auto it = fonts().find(font);
    return it == fonts().end() ? nullptr : &it->second;
}

LOGFONTW dialogFont(std::u16string_view face, int pointSize, int weight, bool italic, int charSet) {
    LOGFONTW lf = {};
    lf.lfHeight = -MulDiv(pointSize, 96, 72);
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfCharSet = BYTE(charSet);
    std::copy_n(face.data(), std::min(face.size(), size_t(LF_FACESIZE - 1)), lf.lfFaceName);
    return lf;
}

} // namespace ui
