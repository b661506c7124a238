#include "varnel/excel/dispatch/proxies.h"

namespace excel_dispatch {

void registerApplicationProxies();
void registerRangeProxies();
void registerCommandBarProxies();

void registerProxies() {
    registerApplicationProxies();
    registerRangeProxies();
    registerCommandBarProxies();
}

} // namespace excel_dispatch
