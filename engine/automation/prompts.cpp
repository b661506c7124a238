#include "engine/automation/prompts.h"

namespace engine::automation {

namespace {

// Without a user interface nobody answers: input is cancelled, changes are not saved.
class NoPrompts final : public Prompts {
public:
    std::optional<std::u16string> inputBox(long, std::u16string_view, std::u16string_view,
                                           std::u16string_view) override {
        return std::nullopt;
    }
    SaveAnswer askSave(long, std::u16string_view) override { return SaveAnswer::DontSave; }
    std::optional<std::filesystem::path> askSavePath(long, std::u16string_view) override {
        return std::nullopt;
    }
};

Prompts* selected = nullptr;

} // namespace

void setPrompts(Prompts* prompts) {
    selected = prompts;
}

Prompts& prompts() {
    static NoPrompts none;
    return selected ? *selected : none;
}

} // namespace engine::automation
