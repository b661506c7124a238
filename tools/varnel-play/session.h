#pragma once

#include "platform/ui/headless.h"
#include "tools/varnel-play/output.h"
#include "tools/varnel-play/script.h"

#include <filesystem>

// What the user of a session does, action by action, in the spreadsheet instances of the process.
// Instance 1 is the program's own; its workbook Ombrell.xls is the register. An action that cannot be
// done is reported as an error line naming the script line, and the session goes on.
namespace play {

class Session {
public:
    Session(Output& output, ui::HeadlessBackend& user) : output_(output), user_(user) {}

    void run(const Action& action);

    // Saves every workbook of every instance but the program's into `folder` as
    // "<instance>-<workbook>.xls"; false when one could not be saved (reported).
    bool saveOthers(const std::filesystem::path& folder);

private:
    void perform(const Action& action);
    Output& output_;
    ui::HeadlessBackend& user_;
};

} // namespace play
