#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an instance asks its user: the input box; when a workbook with unsaved changes closes, whether
// to save it; and before a save over a file that holds what the workbook does not keep, whether to lose
// it. A front end or a scripted user answers.
namespace engine::automation {

enum class SaveAnswer { Save, DontSave, Cancel };

// The caption of an instance's main window and of its questions.
inline constexpr const char16_t* kInstanceCaption = u"电子表格";

class Prompts {
public:
    virtual ~Prompts() = default;
    // The text confirmed, or nothing when the user cancels. `owner` is the instance's main window.
    virtual std::optional<std::u16string> inputBox(long owner, std::u16string_view prompt,
                                                   std::u16string_view title,
                                                   std::u16string_view defaultText) = 0;
    // Whether to save the changes of `bookName` before it closes.
    virtual SaveAnswer askSave(long owner, std::u16string_view bookName) = 0;
    // Whether to save `bookName` over its file all the same, losing `items` (what the file holds that
    // the workbook does not keep). False leaves the file as it is.
    virtual bool confirmLoss(long owner, std::u16string_view bookName,
                             const std::vector<std::u16string>& items) = 0;
    // The file to save a workbook that has none yet; nothing when the user cancels.
    virtual std::optional<std::filesystem::path> askSavePath(long owner, std::u16string_view bookName) = 0;
};

// The question above the items of confirmLoss.
std::u16string lossWarningText(std::u16string_view bookName);
// The items of confirmLoss (what the file reader lists as not kept) in the words the spreadsheet shows
// a user; an item it has no words for, as it is.
std::vector<std::u16string> lossItemTexts(const std::vector<std::u16string>& items);

// Selects who answers from now on; null goes back to the platform's user-interface services (the
// default). The caller keeps the object alive while it is selected.
void setPrompts(Prompts* prompts);
Prompts& prompts();

} // namespace engine::automation
