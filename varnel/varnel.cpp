// Varnel's executable: wires the program to the spreadsheet it drives and to the screen, and starts it.
// The spreadsheet engine registers "Excel.Application" in the class registry, as installing Excel does,
// so that the program creates it by its ProgID without knowing what serves it; the desktop shows every
// visible spreadsheet instance in a window and the program's dialogs and messages on the screen.

#include "desktop/run.h"
#include "engine/automation/application.h"
#include "varnel/app/winmain.h"
#include "varnel/res/resources.h"

int main(int argc, char** argv) {
    engine::automation::registerApplicationClass();
    return desktop::runOnScreen(argc, argv, [] { return wWinMain(res::instance(), nullptr, nullptr, 0); });
}
