#pragma once

// The program's view of the spreadsheet: every interface, enumeration and event id.
#include "varnel/excel/application.h"
#include "varnel/excel/command_bars.h"
#include "varnel/excel/constants.h"
#include "varnel/excel/events.h"
#include "varnel/excel/formats.h"
#include "varnel/excel/forward.h"
#include "varnel/excel/range.h"
#include "varnel/excel/sheets.h"
#include "varnel/excel/validation.h"
#include "varnel/excel/workbook.h"
#include "varnel/excel/workbooks.h"
#include "varnel/excel/worksheet.h"
#include "varnel/excel/worksheet_function.h"
