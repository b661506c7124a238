#pragma once

#include "engine/core/address.h"
#include "engine/core/value.h"
#include "engine/formula/program.h"
#include "engine/model/format.h"

#include <optional>
#include <vector>

namespace engine {

class Sheet;

// A copy of a range, independent of the workbook it came from (formats by value, formulas in their
// compiled form, still referring to the cells they referred to in their source position, with the
// names of the source workbook's sheets as they were).
struct Snapshot {
    struct Item {
        int row = 0; // relative to the snapshot's top left cell
        int col = 0;
        Value value;               // for a formula, its result when the snapshot was taken
        formula::Program formula;  // empty for a value
        std::vector<TextRun> runs; // of a rich text
        Format format;
    };
    Area source;             // where it was taken (its sheet is not kept)
    std::vector<Item> items; // stored cells only, row by row
    // The source workbook's sheets by id, for finding the sheets the formulas name where they are pasted.
    std::vector<std::pair<formula::SheetId, std::u16string>> sheets;
    // Row heights (nothing where the row had its default height) and row formats when whole rows were
    // taken.
    std::vector<std::optional<double>> rowHeights;
    std::vector<Format> rowFormats;
    // Column widths and formats likewise when whole columns were taken.
    std::vector<std::optional<double>> columnWidths;
    std::vector<Format> columnFormats;

    int rowCount() const { return source.rowCount(); }
    int columnCount() const { return source.columnCount(); }
};

Snapshot takeSnapshot(const Sheet& sheet, const Area& area);

enum class PasteMode {
    Formulas,         // formulas with their relative references moved by the paste offset
    ValuesAndFormats, // formulas become their values
    // The cells were cut and move: a formula keeps its references, but those that lie wholly inside
    // the moved area move with it, as a cut and paste does within one workbook.
    Moved,
};

// Writes `snapshot` with its top left cell at `at`, replacing what the cells held (cells of the target
// area that the snapshot leaves empty are emptied). Returns the area written. Throws EngineError (and
// changes nothing) when the snapshot does not fit on the sheet there.
Area paste(Sheet& sheet, CellAddress at, const Snapshot& snapshot, PasteMode mode);

} // namespace engine
