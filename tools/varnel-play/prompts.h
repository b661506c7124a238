#pragma once

#include "engine/automation/prompts.h"

// The spreadsheet's questions put to the user through the user-interface services: the input box as
// such, the save prompt as a message box with 是, 否 and 取消.
namespace play {

class UiPrompts final : public engine::automation::Prompts {
public:
    std::optional<std::u16string> inputBox(long owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    engine::automation::SaveAnswer askSave(long owner, std::u16string_view bookName) override;
    std::optional<std::filesystem::path> askSavePath(long owner, std::u16string_view bookName) override;
};

} // namespace play
