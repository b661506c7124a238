#pragma once

#include "platform/com/com_ptr.h"

// The spreadsheet's interfaces and their smart pointers, named as a type-library import names them.
namespace Excel {

struct _Application;
struct Workbooks;
struct _Workbook;
struct Sheets;
struct _Worksheet;
struct Range;
struct Font;
struct Interior;
struct Borders;
struct Validation;
struct WorksheetFunction;

using _ApplicationPtr = ComPtr<_Application>;
using WorkbooksPtr = ComPtr<Workbooks>;
using _WorkbookPtr = ComPtr<_Workbook>;
using SheetsPtr = ComPtr<Sheets>;
using _WorksheetPtr = ComPtr<_Worksheet>;
using RangePtr = ComPtr<Range>;
using FontPtr = ComPtr<Font>;
using InteriorPtr = ComPtr<Interior>;
using BordersPtr = ComPtr<Borders>;
using ValidationPtr = ComPtr<Validation>;
using WorksheetFunctionPtr = ComPtr<WorksheetFunction>;

} // namespace Excel

namespace Office {

struct _CommandBars;
struct CommandBar;
struct CommandBarControls;
struct CommandBarControl;
struct _CommandBarButton;

using _CommandBarsPtr = ComPtr<_CommandBars>;
using CommandBarPtr = ComPtr<CommandBar>;
using CommandBarControlsPtr = ComPtr<CommandBarControls>;
using CommandBarControlPtr = ComPtr<CommandBarControl>;
using _CommandBarButtonPtr = ComPtr<_CommandBarButton>;

} // namespace Office
