// The outline gutter of a saved sheet, read straight from the file with libgsf and the published BIFF8
// record layout (a record is a 16-bit type, a 16-bit length and its body), not by our reader, which
// ignores it. GUTS (0x0080) holds the gutter widths, then the number of row and of column outline levels
// the gutter shows: the deepest ROW outline level + 1, or 0 when nothing is grouped. Other spreadsheets
// draw their outline buttons from it.
#include "engine/xls/xls.h"
#include "tests/engine/xls/sample_register.h"

#include <cstdint>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gtest/gtest.h>
#include <vector>

using namespace engine;

namespace {

std::vector<uint8_t> workbookStreamOf(const std::vector<uint8_t>& file) {
    GsfInput* input = gsf_input_memory_new(file.data(), gsf_off_t(file.size()), FALSE);
    GsfInfile* ole = gsf_infile_msole_new(input, nullptr);
    g_object_unref(input);
    EXPECT_NE(ole, nullptr);
    if (!ole)
        return {};
    GsfInput* stream = gsf_infile_child_by_name(ole, "Workbook");
    std::vector<uint8_t> bytes;
    if (stream) {
        bytes.resize(size_t(gsf_input_size(stream)));
        EXPECT_NE(gsf_input_read(stream, bytes.size(), bytes.data()), nullptr);
        g_object_unref(stream);
    }
    g_object_unref(ole);
    return bytes;
}

struct Gutter {
    int rowLevels = -1, columnLevels = -1;
};

// The GUTS record of each worksheet substream (a BOF of type 0x0010 opens one), in sheet order.
std::vector<Gutter> gutters(const std::vector<uint8_t>& stream) {
    auto u16 = [&](size_t at) {
        return int(stream[at] | stream[at + 1] << 8);
    };
    std::vector<Gutter> found;
    for (size_t at = 0; at + 4 <= stream.size();) {
        const int type = u16(at), length = u16(at + 2);
        const size_t body = at + 4;
        if (body + size_t(length) > stream.size())
            break;
        if (type == 0x0809 && length >= 4 && u16(body + 2) == 0x0010)
            found.emplace_back();
        if (type == 0x0080 && length >= 8 && !found.empty())
            found.back() = {u16(body + 4), u16(body + 6)};
        at = body + size_t(length);
    }
    return found;
}

// A register whose deepest rows lie `deepest` outline levels down (0: nothing grouped), saved.
std::vector<Gutter> savedRegister(int deepest) {
    Workbook book;
    xls_testing::buildRegister(book, 3, 4, false);
    Sheet& sheet = book.sheet(0);
    for (int r = 0; r <= sheet.usedArea()->bottom; ++r)
        if (sheet.row(r).outlineLevel > 0)
            sheet.editRow(r).outlineLevel = uint8_t(deepest == 0 ? 0 : 1);
    // Deeper groups inside the second block's entry rows, one inside the other.
    for (int level = 2; level <= deepest; ++level)
        for (int r = 9 + level; r <= 13; ++r)
            sheet.editRow(r).outlineLevel = uint8_t(level);
    return gutters(workbookStreamOf(xls::workbookBytes(book)));
}

} // namespace

TEST(SavedOutline, GutterShowsOneLevelMoreThanTheDeepestGroup) {
    for (int deepest : {0, 1, 2, 3}) {
        SCOPED_TRACE("deepest row level " + std::to_string(deepest));
        const std::vector<Gutter> sheets = savedRegister(deepest);
        ASSERT_EQ(sheets.size(), 2u);
        EXPECT_EQ(sheets[0].rowLevels, deepest == 0 ? 0 : deepest + 1);
        EXPECT_EQ(sheets[0].columnLevels, 0);
        // The scratch sheet has no outline.
        EXPECT_EQ(sheets[1].rowLevels, 0);
    }
}

TEST(SavedOutline, GroupedColumnsWidenTheColumnGutter) {
    Workbook book;
    xls_testing::buildRegister(book, 1, 2, false);
    book.sheet(0).editColumn(3).outlineLevel = 1;
    book.sheet(0).editColumn(4).outlineLevel = 2;
    const std::vector<Gutter> sheets = gutters(workbookStreamOf(xls::workbookBytes(book)));
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].rowLevels, 2);
    EXPECT_EQ(sheets[0].columnLevels, 3);
}
