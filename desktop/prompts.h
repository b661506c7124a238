#pragma once

#include "engine/automation/prompts.h"

// The spreadsheet's own questions on the screen: the input box, the save question and the warning
// before a save that loses what a file holds as the platform's services ask them, and, what those cannot
// ask, where to save a workbook that has no file yet.
namespace desktop {

class QtBackend;

class ScreenPrompts : public engine::automation::Prompts {
public:
    ScreenPrompts(QtBackend& backend, engine::automation::Prompts& platform)
        : backend_(backend), platform_(platform) {}

    std::optional<std::u16string> inputBox(long owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    engine::automation::SaveAnswer askSave(long owner, std::u16string_view bookName) override;
    bool confirmLoss(long owner, std::u16string_view bookName,
                     const std::vector<std::u16string>& items) override;
    std::optional<std::filesystem::path> askSavePath(long owner, std::u16string_view bookName) override;

private:
    QtBackend& backend_;
    engine::automation::Prompts& platform_;
};

} // namespace desktop
