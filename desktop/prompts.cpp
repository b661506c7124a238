#include "desktop/prompts.h"

#include "desktop/qt_backend.h"
#include "desktop/save_dialog.h"

#include <cstdint>

namespace desktop {

namespace {
HWND windowHandle(long owner) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(owner));
}
} // namespace

std::optional<std::u16string> ScreenPrompts::inputBox(long owner, std::u16string_view prompt,
                                                      std::u16string_view title,
                                                      std::u16string_view defaultText) {
    return backend_.inputBox(windowHandle(owner), prompt, title, defaultText);
}

engine::automation::SaveAnswer ScreenPrompts::askSave(long owner, std::u16string_view bookName) {
    std::u16string text = u"是否保存对“" + std::u16string(bookName) + u"”的更改？";
    switch (backend_.messageBox(windowHandle(owner), text, bookName, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return engine::automation::SaveAnswer::Save;
    case IDNO:
        return engine::automation::SaveAnswer::DontSave;
    default:
        return engine::automation::SaveAnswer::Cancel;
    }
}

bool ScreenPrompts::confirmLoss(long owner, std::u16string_view bookName,
                                const std::vector<std::u16string>& items) {
    return backend_.saveAnyway(windowHandle(owner), engine::automation::lossWarningText(bookName), bookName,
                               engine::automation::lossItemTexts(items));
}

std::optional<std::filesystem::path> ScreenPrompts::askSavePath(long owner, std::u16string_view bookName) {
    return desktop::askSavePath(backend_.ownerWidget(windowHandle(owner)),
                                QString::fromStdU16String(std::u16string(bookName)), {});
}

} // namespace desktop
