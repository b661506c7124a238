#pragma once

#include "engine/model/format.h"
#include "engine/xls/style_records.h"

namespace engine::xls {

// The parts of a cell format the engine keeps, to and from the XF and FONT records that hold them.
// `base` is the workbook's default font, which formats vary only in weight and colour.
Format formatFromXf(const XfRecord& xf, const FontRecord& font);
XfRecord xfFromFormat(const Format& format, uint16_t fontIndex);
FontRecord fontFromFormat(const Format& format, const FontRecord& base);

// Whether an XF or its font carries something formatFromXf leaves out (font sizes and styles,
// patterns, border colours), so that saving would lose it. Number formats are judged by the caller,
// which knows the FORMAT records.
bool xfLosesDetail(const XfRecord& xf, const FontRecord& font, const FontRecord& base);

} // namespace engine::xls
