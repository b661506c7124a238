#include "platform/ui/prompts.h"

#include "platform/ui/backend.h"
#include "platform/ui/trace.h"
#include "platform/ui/user.h"

namespace ui {

std::optional<std::u16string> inputBox(HWND owner, std::u16string_view prompt, std::u16string_view title,
                                       std::u16string_view defaultText) {
    if (owner && !IsWindow(owner)) {
        ATLTRACE("inputBox: the owner %p is not a window\n", static_cast<void*>(owner));
        return std::nullopt;
    }
    return backend().inputBox(owner, prompt, title, defaultText);
}

SaveAnswer askToSave(HWND owner, std::u16string_view text, std::u16string_view caption) {
    std::u16string t(text), c(caption);
    switch (MessageBoxW(owner, t.c_str(), c.c_str(), MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return SaveAnswer::Save;
    case IDNO:
        return SaveAnswer::DontSave;
    default:
        return SaveAnswer::Cancel;
    }
}

bool askToSaveAnyway(HWND owner, std::u16string_view text, std::u16string_view caption,
                     const std::vector<std::u16string>& items) {
    if (owner && !IsWindow(owner)) {
        ATLTRACE("askToSaveAnyway: the owner %p is not a window\n", static_cast<void*>(owner));
        return false;
    }
    return backend().saveAnyway(owner, text, caption, items);
}

} // namespace ui
