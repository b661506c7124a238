#include "tools/varnel-play/session.h"

#include "engine/automation/application.h"
#include "engine/automation/files.h"
#include "platform/text/utf.h"
#include "tools/varnel-play/json.h"

#include <stdexcept>

namespace play {

void refuse(std::u16string_view why) {
    throw std::runtime_error(text::toUtf8(why));
}

void Session::run(const Action& action) {
    try {
        action.verb->perform(*this, action);
    } catch (const ComError& e) {
        output_.line(JsonLine("error").number("line", action.line).text("text", e.description()).str());
    } catch (const std::exception& e) { // refusals among them
        output_.line(
            JsonLine("error").number("line", action.line).text("text", std::string_view(e.what())).str());
    }
    output_.checkVisibility();
}

bool Session::saveOthers(const std::filesystem::path& folder) {
    bool allSaved = true;
    for (const auto& app : engine::automation::runningInstances()) {
        if (app->number() == 1)
            continue;
        for (const auto& book : app->books()) {
            std::filesystem::path file =
                folder / (std::to_string(app->number()) + "-" + text::toUtf8(book->name) + ".xls");
            try {
                engine::automation::writeWorkbookFile(*book->model, file);
            } catch (const ComError& e) {
                allSaved = false;
                output_.line(JsonLine("error").text("text", e.description()).str());
            }
        }
    }
    return allSaved;
}

} // namespace play
