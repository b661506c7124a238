// How much memory Varnel needs at most while it holds a register open: the program is started on a
// folder holding the register, every formula result is brought up to date as a window showing the
// sheet would, and the process's peak resident size is printed in megabytes ("peak_resident_MB 41.2").
//
// Usage: resident_register FOLDER   (a program folder: Ombrell.xls and TessikConfig.ini)
#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "platform/profile/program_folder.h"
#include "platform/text/utf.h"
#include "platform/ui/headless.h"
#include "varnel/app/winmain.h"
#include "varnel/res/resources.h"

#include <cstdio>
#include <filesystem>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: resident_register FOLDER\n");
        return 2;
    }
    static ui::HeadlessBackend headless;
    profile::setProgramFolder(text::toUtf16(std::filesystem::absolute(argv[1]).string()));
    engine::automation::registerApplicationClass();
    ui::setBackend(&headless);

    double peakMegabytes = 0;
    headless.setUser([&] {
        engine::automation::Application& program = *engine::automation::runningInstances().at(0);
        program.findBook(u"Ombrell.xls")->model->calculateAll();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        peakMegabytes = double(usage.ru_maxrss) / 1024; // kilobytes on Linux
        engine::automation::user::close(program, u"Ombrell.xls");
        return false;
    });
    if (wWinMain(res::instance(), nullptr, nullptr, 0) != 0 || peakMegabytes == 0) {
        std::fprintf(stderr, "resident_register: the program did not start on the register\n");
        return 1;
    }
    std::printf("peak_resident_MB %.1f\n", peakMegabytes);
    return 0;
}
