#pragma once

#include "engine/automation/book.h"
#include "engine/core/address.h"
#include "varnel/excel/range.h"
#include "varnel/excel/sheets.h"
#include "varnel/excel/workbook.h"
#include "varnel/excel/workbooks.h"
#include "varnel/excel/worksheet.h"
#include "varnel/excel/worksheet_function.h"

#include <memory>
#include <vector>

// The objects handed to clients. They are made on request and are cheap: each holds its instance, its
// workbook and where it is, and reads the model on every call.
namespace engine::automation {

class Application;

// What Count and Item count in a range: its cells, or (for Rows and Columns) its rows or columns.
enum class RangeUnit { Cells, Rows, Columns };

Excel::WorkbooksPtr workbooksObject(Application& app);
Excel::_WorkbookPtr workbookObject(const std::shared_ptr<Book>& book);
Excel::SheetsPtr sheetsObject(const std::shared_ptr<Book>& book);
Excel::_WorksheetPtr worksheetObject(const SheetRef& ref);
Excel::RangePtr rangeObject(const SheetRef& ref, std::vector<Area> areas, RangeUnit unit = RangeUnit::Cells);
Excel::WorksheetFunctionPtr worksheetFunctionObject(Application& app);

// The reference of a sheet of an open book by index.
SheetRef sheetRef(const std::shared_ptr<Book>& book, int index);

} // namespace engine::automation
