// Varnel's executable: wires the program to the spreadsheet it drives and starts it. The spreadsheet
// engine registers "Excel.Application" in the class registry, as installing Excel does, so that the
// program creates it by its ProgID without knowing what serves it.

#include "engine/automation/application.h"
#include "varnel/app/winmain.h"
#include "varnel/res/resources.h"

int main() {
    engine::automation::registerApplicationClass();
    return wWinMain(res::instance(), nullptr, nullptr, 0);
}
