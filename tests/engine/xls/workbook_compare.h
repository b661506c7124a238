#pragma once

#include "engine/model/workbook.h"

namespace xls_testing {

// Expects two workbooks to hold the same sheets, cells (values, formula texts, formats), row and
// column properties, outline settings, selections, merged ranges and validations.
void expectSameWorkbook(const engine::Workbook& expected, const engine::Workbook& actual);

} // namespace xls_testing
