#pragma once

#include "platform/com/guid.h"
#include "platform/com/types.h"

// The events the spreadsheet fires into advised sinks, by dispatch id. Each is an Invoke with
// DISPATCH_METHOD and its arguments last-first in DISPPARAMS, as listed here first-to-last. Objects
// come as VT_DISPATCH; a cancel flag comes as VT_BYREF|VT_BOOL, and setting it to VARIANT_TRUE
// cancels what the event announces.
namespace Excel {

// The application events, on the connection point DIID_AppEvents of _Application.
namespace AppEvents {

inline constexpr IID iid = DIID_AppEvents;

inline constexpr DISPID WindowResize = 0x612;           // (Workbook Wb, Window Wn)
inline constexpr DISPID WindowActivate = 0x614;         // (Workbook Wb, Window Wn)
inline constexpr DISPID WindowDeactivate = 0x615;       // (Workbook Wb, Window Wn)
inline constexpr DISPID SheetSelectionChange = 0x616;   // (Sheet Sh, Range Target)
inline constexpr DISPID SheetBeforeDoubleClick = 0x617; // (Sheet Sh, Range Target, cancel flag)
inline constexpr DISPID SheetBeforeRightClick = 0x618;  // (Sheet Sh, Range Target, cancel flag)
inline constexpr DISPID SheetActivate = 0x619;          // (Sheet Sh)
inline constexpr DISPID SheetDeactivate = 0x61A;        // (Sheet Sh)
inline constexpr DISPID SheetCalculate = 0x61B;         // (Sheet Sh)
inline constexpr DISPID SheetChange = 0x61C;            // (Sheet Sh, Range Target)
inline constexpr DISPID NewWorkbook = 0x61D;            // (Workbook Wb)
inline constexpr DISPID WorkbookOpen = 0x61F;           // (Workbook Wb)
inline constexpr DISPID WorkbookActivate = 0x620;       // (Workbook Wb)
inline constexpr DISPID WorkbookDeactivate = 0x621;     // (Workbook Wb)
inline constexpr DISPID WorkbookBeforeClose = 0x622;    // (Workbook Wb, cancel flag)
inline constexpr DISPID WorkbookBeforeSave = 0x623;     // (Workbook Wb, bool SaveAsUI, cancel flag)
inline constexpr DISPID WorkbookBeforePrint = 0x624;    // (Workbook Wb, cancel flag)
inline constexpr DISPID WorkbookNewSheet = 0x625;       // (Workbook Wb, Sheet Sh)
inline constexpr DISPID WorkbookAddinInstall = 0x626;   // (Workbook Wb)
inline constexpr DISPID WorkbookAddinUninstall = 0x627; // (Workbook Wb)
inline constexpr DISPID SheetFollowHyperlink = 0x73E;   // (Sheet Sh, Hyperlink Target)

} // namespace AppEvents

} // namespace Excel

namespace Office {

// The button events, on the connection point DIID__CommandBarButtonEvents of _CommandBarButton.
namespace CommandBarButtonEvents {

inline constexpr IID iid = DIID__CommandBarButtonEvents;

inline constexpr DISPID Click = 1; // (_CommandBarButton Ctrl, cancel-default flag)

} // namespace CommandBarButtonEvents

} // namespace Office
