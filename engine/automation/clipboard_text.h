#pragma once

#include "engine/model/clipboard.h"

#include <string>
#include <string_view>
#include <vector>

// Cells as plain text, as spreadsheets exchange them with other programs through the desktop's clipboard:
// a line per row, ended by "\r\n", the cells of a row separated by tabs, each cell as it shows. A cell
// whose text holds a tab, a line break or a double quote is written in double quotes, its quotes doubled.
namespace engine::automation {

// The snapshot's rows and columns up to its last stored cell; empty when it holds no cell.
std::u16string tabSeparatedText(const Snapshot& snapshot);

// The rows of such text, each a list of cells. Lines may end with "\r\n", "\n" or "\r"; the break after
// the last line starts no row of its own.
std::vector<std::vector<std::u16string>> parseTabSeparated(std::u16string_view text);

} // namespace engine::automation
