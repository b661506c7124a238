#pragma once

#include "engine/model/sheet_extras.h"
#include "engine/xls/formula_tokens.h"
#include "engine/xls/record_writer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace engine::xls {

// HORIZONTALPAGEBREAKS and VERTICALPAGEBREAKS: the breaks, within the sheet.
std::vector<PageBreak> readPageBreaks(std::span<const uint8_t> body, bool rows);
void putPageBreaks(RecordWriter& w, const std::vector<PageBreak>& breaks, bool rows);

// HLINK: its cells and the rest as stored. Nothing when its cells lie outside the sheet.
std::optional<Hyperlink> readHyperlink(std::span<const uint8_t> body);
// QUICKTIP, which follows its HLINK: the tooltip's text.
std::u16string readTooltip(std::span<const uint8_t> body);
void putHyperlink(RecordWriter& w, const Hyperlink& link);

// CONDFMT: the areas the rules that follow it apply to; nothing when one lies outside the sheet.
std::optional<std::vector<Area>> readConditionalAreas(std::span<const uint8_t> body);
// CF: one rule, its formulas compiled as if in `base`, the top-left cell of its format's areas. Raises
// UnsupportedFormula for a formula the engine cannot hold and FormatError for a damaged record.
ConditionalRule readConditionalRule(std::span<const uint8_t> body, const TokenContext& context,
                                    CellAddress base);
// CONDFMT and its CF records; `id` numbers the format within the sheet.
void putConditionalFormat(RecordWriter& w, const ConditionalFormat& format, uint16_t id,
                          const FormulaEncoder& encoder);

} // namespace engine::xls
