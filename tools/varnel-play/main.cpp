// varnel-play [--out DIR] FOLDER [SCRIPT]: runs Varnel headless with FOLDER as its program folder and a
// scripted user (the script from SCRIPT or standard input), writing what the program shows as JSON
// lines. The exit code is the program's, or one of the runner's own below.

#include "engine/automation/application.h"
#include "platform/profile/program_folder.h"
#include "platform/text/utf.h"
#include "platform/ui/headless.h"
#include "tools/varnel-play/actions.h"
#include "tools/varnel-play/json.h"
#include "tools/varnel-play/output.h"
#include "tools/varnel-play/record_line.h"
#include "tools/varnel-play/script.h"
#include "tools/varnel-play/session.h"
#include "varnel/app/error_report.h"
#include "varnel/app/winmain.h"
#include "varnel/res/resources.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// The runner's own exit codes, apart from the program's (0 to 7).
constexpr int kRegisterLeftOpen = 8; // the script ended while the register was still open
constexpr int kOutNotSaved = 9;      // --out could not save every workbook
constexpr int kUsage = 64;           // bad command line or script

int usage(const char* why) {
    std::fprintf(stderr, "varnel-play: %s\nusage: varnel-play [--out DIR] FOLDER [SCRIPT]\n", why);
    return kUsage;
}

std::string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    // Made before the spreadsheet's instances, so that they outlive the ones still running at exit,
    // whose windows go with them.
    static ui::HeadlessBackend user;
    static play::Output output;

    std::string out, folder, scriptPath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--out") {
            if (++i == argc)
                return usage("--out needs a folder");
            out = argv[i];
        } else if (folder.empty()) {
            folder = arg;
        } else if (scriptPath.empty()) {
            scriptPath = arg;
        } else {
            return usage("too many arguments");
        }
    }
    if (folder.empty())
        return usage("no program folder given");
    if (!std::filesystem::is_directory(folder))
        return usage("the program folder is no folder");
    if (!out.empty() && !std::filesystem::is_directory(out))
        return usage("the --out folder is no folder");

    std::stringstream text;
    if (scriptPath.empty()) {
        text << std::cin.rdbuf();
    } else {
        std::ifstream file(scriptPath, std::ios::binary);
        if (!file)
            return usage("cannot read the script");
        text << file.rdbuf();
    }
    play::Script script = play::parseScript(text.str(), play::actions());
    if (script.error) {
        std::fprintf(stderr, "varnel-play: line %d: %s\n", script.error->line, script.error->message.c_str());
        return kUsage;
    }

    profile::setProgramFolder(text::toUtf16(std::filesystem::absolute(folder).string()));
    engine::automation::registerApplicationClass();
    ui::setBackend(&user);
    user.onRecord([&](const ui::Record& record) { output.line(play::recordLine(record)); });
    app::setErrorListener([&](const app::ErrorReport& report) {
        output.line(play::JsonLine("error")
                        .text("caption", report.caption)
                        .text("code", hex(report.error))
                        .text("description", report.description)
                        .str());
    });

    // The actions run inside the program's modal loop, as a user's would; what is left when the
    // program has ended runs after it, in the spreadsheet that stays.
    play::Session session(output, user);
    size_t next = 0;
    bool leftOpen = false;
    user.setUser([&] {
        if (next == script.actions.size()) {
            leftOpen = true;
            return false;
        }
        session.run(script.actions[next++]);
        return true;
    });

    int code = wWinMain(res::instance(), nullptr, nullptr, 0);
    while (next < script.actions.size())
        session.run(script.actions[next++]);

    if (leftOpen) {
        std::fprintf(stderr, "varnel-play: the script ended while the register was still open\n");
        code = kRegisterLeftOpen;
    }
    if (!out.empty() && !session.saveOthers(out) && code == 0)
        code = kOutNotSaved;
    output.line(play::JsonLine("exit").number("code", code).str());
    return code;
}
