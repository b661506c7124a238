#pragma once

#include "platform/ui/headless.h"
#include "tools/varnel-play/output.h"
#include "tools/varnel-play/script.h"

#include <filesystem>
#include <string_view>

// What the user of a session does, action by action, in the spreadsheet instances of the process.
// Instance 1 is the program's own; its workbook Ombrell.xls is the register. An action that cannot be
// done is reported as an error line naming the script line, and the session goes on.
namespace play {

// Refuses an action that cannot be carried out, with what the user should know.
[[noreturn]] void refuse(std::u16string_view why);

class Session {
public:
    Session(Output& output, ui::HeadlessBackend& user) : output_(output), user_(user) {}

    // Does what the action's verb does, reporting what cannot be done.
    void run(const Action& action);

    Output& output() { return output_; }
    ui::HeadlessBackend& user() { return user_; }

    // Saves every workbook of every instance but the program's into `folder` as
    // "<instance>-<workbook>.xls"; false when one could not be saved (reported).
    bool saveOthers(const std::filesystem::path& folder);

private:
    Output& output_;
    ui::HeadlessBackend& user_;
};

} // namespace play
