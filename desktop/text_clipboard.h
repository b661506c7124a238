#pragma once

#include <QString>
#include <optional>

// The desktop's clipboard beside the spreadsheet's own: what the spreadsheet copies goes there too, as
// tab-separated text for other programs, and text another program put there is what a paste takes.
namespace desktop {

// Puts the spreadsheet's copy on the desktop's clipboard, in place of what was there.
void offerText(const QString& text);
// The desktop clipboard's text when another program put it there since the spreadsheet's last copy.
std::optional<QString> foreignText();
// The spreadsheet's clipboard was emptied (a cut was pasted): its text goes from the desktop's too.
void withdrawText();

} // namespace desktop
