#pragma once

#include "platform/ui/record.h"

#include <string>

namespace play {

// The runner's line for one thing the program showed:
//   {"event":"messagebox","caption":…,"text":…}
//   {"event":"inputbox","prompt":…,"title":…,"default":…}
//   {"event":"dialog","caption":…,"items":[…]}
//   {"event":"error","text":…}
std::string recordLine(const ui::Record& record);

} // namespace play
