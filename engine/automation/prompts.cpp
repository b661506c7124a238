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
        return ui::askToSaveAnyway(windowOf(owner), lossWarningText(bookName), kInstanceCaption,
                                   lossItemTexts(items));
    }
    // There is no file dialog: a workbook that never had a file cannot be saved on closing.
    std::optional<std::filesystem::path> askSavePath(long, std::u16string_view) override {
        return std::nullopt;
    }
};

std::u16string lossItemText(std::u16string_view item) {
    static constexpr std::pair<std::u16string_view, std::u16string_view> names[] = {
        {u"chart sheets and macro sheets", u"图表工作表和宏表"},
        {u"colours of a changed palette", u"修改过的调色板颜色"},
        {u"comments", u"批注"},
        {u"conditional formats", u"条件格式"},
        {u"data validations this program cannot read", u"本程序不能读取的数据有效性"},
        {u"defined names", u"名称"},
        {u"drawings, pictures and charts", u"图形、图片和图表"},
        {u"fill patterns", u"填充图案"},
        {u"filters", u"筛选"},
        {u"formulas this program cannot read (their last results are kept)",
         u"本程序不能读取的公式（保留其最后的结果）"},
        {u"hidden state of sheets", u"工作表的隐藏状态"},
        {u"hyperlinks", u"超链接"},
        {u"macros", u"宏"},
        {u"print areas and titles", u"打印区域和打印标题"},
        {u"superscript and subscript", u"上标和下标"},
    };
    for (auto [key, text] : names)
        if (key == item)
            return std::u16string(text);
    return std::u16string(item);
}

Prompts* selected = nullptr;

} // namespace

std::u16string lossWarningText(std::u16string_view bookName) {
    std::u16string text(u"“");
    text.append(bookName);
    text.append(u"”中有以下内容不能保留，保存后文件中将不再有这些内容。是否仍要保存？");
    return text;
}

std::vector<std::u16string> lossItemTexts(const std::vector<std::u16string>& items) {
    std::vector<std::u16string> texts;
    for (const std::u16string& item : items)
        texts.push_back(lossItemText(item));
    return texts;
}

void setPrompts(Prompts* prompts) {
    selected = prompts;
}

Prompts& prompts() {
    static UiPrompts platform;
    return selected ? *selected : platform;
}

} // namespace engine::automation
