#pragma once

#include "engine/model/workbook.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// A register as a clerk leaves it after years of use: unit after unit added, each filled with its
// subscriptions before the next one came, every block ending with its blank entry row and followed by
// a separator row. The cells, formulas, drop-down lists, formats, outline levels and row heights are
// those the program's own commands leave behind.
namespace fullreg {

// What the program reads from its configuration.
struct Configuration {
    std::u16string kinds;    // "征订资料种类"
    std::u16string magazine; // "杂志"
};
Configuration readConfiguration(const std::filesystem::path& iniFile);

// One subscription as the clerk types it into an entry row (A, B, C, D and F).
struct Entry {
    int year = 0;
    std::u16string material;
    std::u16string quantity;
    std::u16string price;
    std::u16string receipt;
};

struct Unit {
    std::u16string name;
    std::vector<Entry> entries; // the filled entry rows; the blank one after them is not listed
};

// `count` units with distinct names and 24 to 33 subscriptions each, so that 2,000 of them fill a
// sheet to about 65,000 rows. Years, materials (chosen from the drop-down lists), quantities, prices
// and receipt numbers vary as they do in a real register; the same arguments give the same units.
std::vector<Unit> sampleUnits(int count, const Configuration& config, int year);

// Appends the units' blocks below the last used row of the register sheet "征订登记" of `book` (the
// bundled register holds only its heading row), with the lists of `year`.
void appendUnits(engine::Workbook& book, const std::vector<Unit>& units, const Configuration& config,
                 int year);

// The row (from 1) of each unit row appended by the last appendUnits on a fresh bundled register,
// and the last entry row of each block: a block's rows are its unit row, column-header row, entries
// and one blank entry row.
struct BlockRows {
    long unitRow;
    long lastEntryRow;
};
std::vector<BlockRows> blockRows(const std::vector<Unit>& units);

} // namespace fullreg
