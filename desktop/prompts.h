#pragma once

#include "engine/automation/prompts.h"

// The spreadsheet's own questions (its input box, whether to save a workbook that closes, where to save a
// new one) asked on the screen, owned by the asking instance's window.
namespace desktop {

class QtBackend;

class ScreenPrompts : public engine::automation::Prompts {
public:
    explicit ScreenPrompts(QtBackend& backend) : backend_(backend) {}

    std::optional<std::u16string> inputBox(long owner, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;
    engine::automation::SaveAnswer askSave(long owner, std::u16string_view bookName) override;
    std::optional<std::filesystem::path> askSavePath(long owner, std::u16string_view bookName) override;

private:
    QtBackend& backend_;
};

} // namespace desktop
