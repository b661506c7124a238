// Varnel's Windows executable: the program drives the spreadsheet that the machine registers as
// "Excel.Application", through COM (calling Excel's objects by name), and shows its dialogs and messages as
// the system's own windows.

#include "platform/ui/system_backend.h"
#include "varnel/app/winmain.h"
#include "varnel/excel/dispatch/proxies.h"
#include "varnel/res/resources.h"

int main() {
    excel_dispatch::registerProxies();
    ui::SystemBackend screen;
    ui::setBackend(&screen);
    return wWinMain(res::instance(), nullptr, nullptr, 0);
}
