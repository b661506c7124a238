#pragma once

#include <string_view>

namespace ui {

// The order of a sorted list: digits by their numeric value, then Latin letters, then Chinese by pinyin,
// without regard to case. Returns <0, 0 or >0. Close to what a sorted combo box shows on a Chinese Windows.
int compareListText(std::u16string_view a, std::u16string_view b);

} // namespace ui
