#pragma once

#include "engine/model/format.h"
#include "engine/xls/style_records.h"

#include <string>

namespace engine::xls {

// Cell formats to and from the XF, FONT and FORMAT records that hold them. `base` is the workbook's
// default font: the face and size a format leaves empty (Font) are its.
Font fontFromRecord(const FontRecord& record, const Font& base);
FontRecord recordFromFont(const Font& font, const Font& base);
// `numberFormat` is the code the XF's format index names.
Format formatFromXf(const XfRecord& xf, const FontRecord& font, const Font& base, std::u16string numberFormat);
XfRecord xfFromFormat(const Format& format, uint16_t fontIndex, uint16_t formatIndex);

// What an XF or its font holds that formatFromXf leaves out, in words for a user; nothing when it
// leaves out nothing that would change how the cell looks.
const char* xfLosesDetail(const XfRecord& xf, const FontRecord& font);

} // namespace engine::xls
