#pragma once

// The spreadsheet's interfaces over a real Excel in the Windows build: registers, for every interface
// of varnel/excel, the proxy that calls Excel's object by name (see platform/com/dispatch_proxy.h).
namespace excel_dispatch {

void registerProxies();

} // namespace excel_dispatch
