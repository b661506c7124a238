#pragma once

#include "platform/ui/wintypes.h"

#include <span>
#include <string_view>

// What a module's resource section holds: dialog templates, icons, strings and the manifest. A module is a
// table of these, handed around as its instance handle (HINSTANCE), as Windows hands a module's handle to
// FindResource. The dialog units, styles and fonts are those of a DIALOGEX template.
namespace ui {

struct DialogItemTemplate {
    int id;
    std::u16string_view windowClass; // u"BUTTON", u"EDIT", u"COMBOBOX", u"STATIC"
    std::u16string_view text;
    short x, y, cx, cy; // dialog units
    DWORD style;        // WS_CHILD | WS_VISIBLE are implied, as the resource compiler adds them
    DWORD exStyle = 0;
    int imageResource = 0; // an SS_ICON static names its icon by resource id instead of a text
};

struct DialogTemplate {
    int id;
    WORD language;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy; // dialog units
    std::u16string_view caption;
    std::u16string_view fontFace;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charSet;
    std::span<const DialogItemTemplate> items;
};

// One image of an icon, as the rows of an XPM picture (header, colours, then one string per pixel row).
struct IconImage {
    int width, height;
    std::span<const char* const> xpm;
};

struct IconResource {
    int id;
    std::span<const IconImage> images; // largest first
};

struct StringResource {
    int id;
    std::u16string_view text;
};

struct ResourceModule {
    std::span<const DialogTemplate> dialogs;
    std::span<const IconResource> icons;
    std::span<const StringResource> strings;
    std::string_view manifest;

    const DialogTemplate* dialog(int id) const;
    const IconResource* icon(int id) const;
    const StringResource* string(int id) const;
};

} // namespace ui

// Copies string id into buffer, cut to max - 1 units and terminated; returns the units copied, 0 when the
// string is missing.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max);
