#include "tools/varnel-play/prompts.h"

#include "platform/ui/backend.h"
#include "platform/ui/user.h"

#include <cstdint>

namespace play {

namespace {
// The instance's window when the front end shows one of that handle.
HWND ownerWindow(long owner) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(owner));
    return IsWindow(window) ? window : nullptr;
}
} // namespace

std::optional<std::u16string> UiPrompts::inputBox(long owner, std::u16string_view prompt,
                                                  std::u16string_view title,
                                                  std::u16string_view defaultText) {
    return ui::inputBox(ownerWindow(owner), prompt, title, defaultText);
}

engine::automation::SaveAnswer UiPrompts::askSave(long owner, std::u16string_view bookName) {
    std::u16string text = u"是否保存对“" + std::u16string(bookName) + u"”的更改？";
    switch (MessageBoxW(ownerWindow(owner), text.c_str(), u"Excel", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return engine::automation::SaveAnswer::Save;
    case IDNO:
        return engine::automation::SaveAnswer::DontSave;
    default:
        return engine::automation::SaveAnswer::Cancel;
    }
}

// A headless user has no file dialog: a workbook never saved is not saved on closing.
std::optional<std::filesystem::path> UiPrompts::askSavePath(long, std::u16string_view) {
    return std::nullopt;
}

} // namespace play
