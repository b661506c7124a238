#include "tools/varnel-play/record_line.h"

#include "tools/varnel-play/json.h"

namespace play {

namespace {

std::string itemsOf(const ui::Record& r) {
    std::vector<std::string> items;
    for (const std::u16string& item : r.items)
        items.push_back(quoted(item));
    return jsonArray(items);
}

} // namespace

std::string recordLine(const ui::Record& r) {
    switch (r.kind) {
    case ui::Record::Kind::MessageBox:
        return JsonLine("messagebox").text("caption", r.caption).text("text", r.text).str();
    case ui::Record::Kind::InputBox:
        return JsonLine("inputbox")
            .text("prompt", r.text)
            .text("title", r.caption)
            .text("default", r.defaultText)
            .str();
    case ui::Record::Kind::Dialog:
        return JsonLine("dialog").text("caption", r.caption).raw("items", itemsOf(r)).str();
    case ui::Record::Kind::SaveWarning:
        return JsonLine("savewarning")
            .text("caption", r.caption)
            .text("text", r.text)
            .raw("items", itemsOf(r))
            .str();
    case ui::Record::Kind::Error:
        break;
    }
    return JsonLine("error").text("text", r.text).str();
}

} // namespace play
