#include "tools/varnel-play/output.h"

#include "engine/automation/application.h"
#include "tools/varnel-play/json.h"

#include <cstdio>

namespace play {

void Output::line(const std::string& json) {
    checkVisibility();
    write(json);
}

void Output::checkVisibility() {
    for (const auto& app : engine::automation::runningInstances()) {
        bool now = app->GetVisible() != VARIANT_FALSE;
        bool& was = visible_[app->number()];
        if (now && !was)
            write(JsonLine("visible").number("instance", app->number()).str());
        was = now;
    }
}

void Output::write(const std::string& json) {
    std::fputs(json.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace play
