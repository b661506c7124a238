#pragma once

#include "engine/model/workbook.h"

#include <memory>

namespace bench {

// Where one unit block lies: its unit row and its last entry row (0-based rows).
struct Block {
    int unitRow;
    int lastRow;
};

// A register sheet as the program keeps it, built straight in the model: a heading row, then `blocks`
// unit blocks of 25 to 34 entry rows with their formulas, formats, outline levels and drop-down lists,
// each followed by a separator row.
struct Register {
    std::unique_ptr<engine::Workbook> book;
    engine::Sheet* sheet = nullptr;
    std::vector<Block> blocks;
};

Register buildRegister(int blocks);

} // namespace bench
