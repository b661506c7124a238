#pragma once

#include "platform/ui/wintypes.h"

#include <QFont>
#include <QString>
#include <string_view>

// Fonts of the Windows dialogs on this system. The faces the templates and the program name ("宋体",
// "MS Shell Dlg") are rarely installed here; a CJK face stands in for them so that Chinese text renders.
namespace desktop {

// Registers the stand-ins for the Windows faces and makes a CJK face the application's font. Call once,
// after the QApplication exists.
void installFonts();

// The installed CJK face chosen as the stand-in (empty when none is installed).
QString cjkFamily();

// The font of a dialog template: face and points.
QFont dialogFont(std::u16string_view face, int pointSize, int weight = FW_NORMAL);

// The font a LOGFONTW describes: a negative height is the character height in pixels, a positive one the
// cell height.
QFont fontFrom(const LOGFONTW& font);

// Dialog base units of a font, as Windows measures them: the average width of the Latin letters and the
// font's height, in pixels.
SIZE baseUnits(const QFont& font);

} // namespace desktop
