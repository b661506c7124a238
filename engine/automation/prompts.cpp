#include "engine/automation/prompts.h"

#include "platform/ui/prompts.h"

#include <cstdint>

namespace engine::automation {

namespace {

HWND windowOf(long owner) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(owner));
}

// The platform's user-interface services: a front end shows the questions, a headless session answers
// them from its script.
class UiPrompts final : public Prompts {
public:
    std::optional<std::u16string> inputBox(long owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override {
        return ui::inputBox(windowOf(owner), prompt, title, defaultText);
    }
    SaveAnswer askSave(long owner, std::u16string_view bookName) override {
        std::u16string text = u"是否保存对“" + std::u16string(bookName) + u"”的更改？";
        switch (ui::askToSave(windowOf(owner), text, kInstanceCaption)) {
        case ui::SaveAnswer::Save:
            return SaveAnswer::Save;
        case ui::SaveAnswer::DontSave:
            return SaveAnswer::DontSave;
        case ui::SaveAnswer::Cancel:
            break;
        }
        return SaveAnswer::Cancel;
    }
    bool confirmLoss(long owner, std::u16string_view bookName,
                     const std::vector<std::u16string>& items) override {
        return ui::askToSaveAnyway(windowOf(owner), lossWarningText(bookName), kInstanceCaption, items);
    }
    // There is no file dialog: a workbook that never had a file cannot be saved on closing.
    std::optional<std::filesystem::path> askSavePath(long, std::u16string_view) override {
        return std::nullopt;
    }
};

Prompts* selected = nullptr;

} // namespace

std::u16string lossWarningText(std::u16string_view bookName) {
    std::u16string text(u"“");
    text.append(bookName);
    text.append(u"”中有以下内容不能保留，保存后文件中将不再有这些内容。是否仍要保存？");
    return text;
}

void setPrompts(Prompts* prompts) {
    selected = prompts;
}

Prompts& prompts() {
    static UiPrompts platform;
    return selected ? *selected : platform;
}

} // namespace engine::automation
