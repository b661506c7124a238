// Records of saved files read straight from the file with libgsf and the published BIFF8 layout (a
// record is a 16-bit type, a 16-bit length and its body), not by our reader, which ignores them; other
// spreadsheets rely on them.
//
// GUTS (0x0080) holds the gutter widths, then the number of row and of column outline levels the
// gutter shows: the deepest ROW outline level + 1, or 0 when nothing is grouped. Other spreadsheets
// draw their outline buttons from it.
//
// ROW (0x0208) begins with the row, its first column and the column after its last one. FORMULA
// (0x0006) holds the last result after row, column and format: a text result is the byte 0 followed
// by a STRING record (0x0207) with the text, the empty text the byte 3 and no STRING; either ends in
// 0xFFFF.
//
// EXTSST (0x00FF) indexes the shared strings: the number of strings per bucket, then per bucket the
// stream position of its first string and that string's offset from the start of the SST or CONTINUE
// record holding it. Excel finds strings through it. SST itself starts with the number of cells that
// refer to it and the number of strings it holds.
#include "engine/xls/xls.h"
#include "platform/text/utf.h"
#include "tests/engine/xls/sample_register.h"

#include <algorithm>
#include <cstdint>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gtest/gtest.h>
#include <span>
#include <string>
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

struct Record {
    int type;
    size_t at; // stream position of its header
    std::span<const uint8_t> body;
};

std::vector<Record> records(const std::vector<uint8_t>& stream) {
    std::vector<Record> found;
    for (size_t at = 0; at + 4 <= stream.size();) {
        const int type = stream[at] | stream[at + 1] << 8;
        const size_t length = size_t(stream[at + 2] | stream[at + 3] << 8);
        if (at + 4 + length > stream.size())
            break;
        found.push_back({type, at, std::span(stream).subspan(at + 4, length)});
        at += 4 + length;
    }
    return found;
}

int u16(std::span<const uint8_t> b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

uint32_t u32(std::span<const uint8_t> b, size_t at) {
    return uint32_t(u16(b, at)) | uint32_t(u16(b, at + 2)) << 16;
}

struct Gutter {
    int rowWidth = -1, rowLevels = -1, columnLevels = -1;
};

// The GUTS record of each worksheet substream (a BOF of type 0x0010 opens one), in sheet order.
std::vector<Gutter> gutters(const std::vector<uint8_t>& stream) {
    std::vector<Gutter> found;
    for (const Record& r : records(stream)) {
        if (r.type == 0x0809 && r.body.size() >= 4 && u16(r.body, 2) == 0x0010)
            found.emplace_back();
        if (r.type == 0x0080 && r.body.size() >= 8 && !found.empty())
            found.back() = {u16(r.body, 0), u16(r.body, 4), u16(r.body, 6)};
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
    // The gutter widths LibreOffice writes for one, two and three levels of grouped rows.
    const int widths[] = {0, 29, 41, 53};
    for (int deepest : {0, 1, 2, 3}) {
        SCOPED_TRACE("deepest row level " + std::to_string(deepest));
        const std::vector<Gutter> sheets = savedRegister(deepest);
        ASSERT_EQ(sheets.size(), 2u);
        EXPECT_EQ(sheets[0].rowLevels, deepest == 0 ? 0 : deepest + 1);
        EXPECT_EQ(sheets[0].rowWidth, widths[deepest]);
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

TEST(SavedCells, RowsSpanTheirCellsAndTextResultsAreStoredAsTheTextOrTheEmptyText) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"征订登记");
    sheet.setValue(2, 1, Value::number(5));
    sheet.setValue(2, 3, Value::text(u"x"));
    sheet.setFormula(4, 0, u"=IF(1>0,\"\",1)");
    sheet.setFormula(5, 0, u"=\"订\"&\"单\"");
    const std::vector<uint8_t> stream = workbookStreamOf(xls::workbookBytes(book));
    const std::vector<Record> all = records(stream);

    const Record* row = nullptr;
    for (const Record& r : all)
        if (r.type == 0x0208 && r.body.size() >= 6 && u16(r.body, 0) == 2)
            row = &r;
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(u16(row->body, 2), 1);
    EXPECT_EQ(u16(row->body, 4), 4);

    struct Result {
        int kind = -1, end = 0, next = 0;
    };
    Result empty, text;
    for (size_t i = 0; i + 1 < all.size(); ++i)
        if (all[i].type == 0x0006 && all[i].body.size() >= 14) {
            Result& found = u16(all[i].body, 0) == 4 ? empty : text;
            found = {all[i].body[6], u16(all[i].body, 12), all[i + 1].type};
        }
    EXPECT_EQ(empty.kind, 3);
    EXPECT_EQ(empty.end, 0xFFFF);
    EXPECT_NE(empty.next, 0x0207);
    EXPECT_EQ(text.kind, 0);
    EXPECT_EQ(text.end, 0xFFFF);
    EXPECT_EQ(text.next, 0x0207);
}

namespace {

// Where each shared string starts: its stream position and the record (SST or CONTINUE) holding it.
// Characters run on into the next CONTINUE after one flag byte that says their width there.
struct StringStart {
    size_t at, record;
    std::u16string text;
};

std::vector<StringStart> sharedStrings(const std::vector<Record>& all, size_t sst) {
    std::vector<StringStart> starts;
    size_t r = sst, pos = 8;
    const uint32_t count = u32(all[sst].body, 4);
    for (uint32_t i = 0; i < count; ++i) {
        if (pos == all[r].body.size()) {
            ++r;
            pos = 0;
        }
        StringStart start{all[r].at + 4 + pos, r, {}};
        const int length = u16(all[r].body, pos);
        bool wide = all[r].body[pos + 2] & 0x01;
        pos += 3;
        while (int(start.text.size()) < length) {
            if (pos == all[r].body.size()) {
                ++r;
                wide = all[r].body[0] & 0x01;
                pos = 1;
            }
            start.text += char16_t(wide ? u16(all[r].body, pos) : all[r].body[pos]);
            pos += wide ? 2 : 1;
        }
        starts.push_back(std::move(start));
    }
    return starts;
}

} // namespace

TEST(SavedSharedStrings, EveryIndexBucketPointsAtItsFirstString) {
    Workbook book;
    Sheet& sheet = book.addSheet(u"征订登记");
    // Enough texts of both widths and of many lengths that the strings fill several CONTINUE records.
    for (int r = 0; r < 2000; ++r)
        sheet.setValue(r, 0,
                       Value::text(std::u16string(size_t(1 + r % 37), r % 3 ? u'x' : u'订') +
                                   text::toUtf16(std::to_string(r))));
    const std::vector<uint8_t> stream = workbookStreamOf(xls::workbookBytes(book));
    const std::vector<Record> all = records(stream);
    size_t sst = 0, ext = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].type == 0x00FC)
            sst = i;
        if (all[i].type == 0x00FF)
            ext = i;
    }
    ASSERT_GT(sst, 0u);
    ASSERT_GT(ext, sst + 2); // the strings run on into CONTINUE records
    const std::vector<StringStart> strings = sharedStrings(all, sst);
    ASSERT_EQ(strings.size(), 2000u);

    const std::span<const uint8_t> index = all[ext].body;
    const size_t perBucket = size_t(u16(index, 0));
    ASSERT_GE(perBucket, 8u);
    const size_t buckets = (index.size() - 2) / 8;
    EXPECT_EQ(buckets, (strings.size() + perBucket - 1) / perBucket);
    for (size_t k = 0; k < buckets && k * perBucket < strings.size(); ++k) {
        SCOPED_TRACE("bucket " + std::to_string(k));
        const StringStart& first = strings[k * perBucket];
        EXPECT_EQ(u32(index, 2 + 8 * k), first.at);
        EXPECT_EQ(size_t(u16(index, 6 + 8 * k)), first.at - all[first.record].at);
    }
}

TEST(SavedSharedStrings, EachTextIsStoredOnceAndEveryCellCounted) {
    Workbook book;
    Sheet& first = book.addSheet(u"征订登记");
    Sheet& second = book.addSheet(u"汇总");
    first.setValue(0, 0, Value::text(u"甲"));
    first.setValue(1, 0, Value::text(u"乙"));
    first.setValue(2, 0, Value::text(u"甲"));
    second.setValue(0, 0, Value::text(u"甲"));
    second.setFormula(1, 0, u"=\"甲\""); // a formula's text result goes in a STRING record
    const std::vector<uint8_t> stream = workbookStreamOf(xls::workbookBytes(book));
    const std::vector<Record> all = records(stream);
    size_t sst = 0;
    std::vector<uint32_t> cellIndexes; // LABELSST (0x00FD): row, column, format, then the index
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].type == 0x00FC)
            sst = i;
        if (all[i].type == 0x00FD)
            cellIndexes.push_back(u32(all[i].body, 6));
    }
    ASSERT_GT(sst, 0u);
    // SST: the number of cells referring to the table, then the number of strings in it.
    EXPECT_EQ(u32(all[sst].body, 0), 4u);
    EXPECT_EQ(u32(all[sst].body, 4), 2u);
    const std::vector<StringStart> strings = sharedStrings(all, sst);
    ASSERT_EQ(strings.size(), 2u);
    std::vector<std::u16string> texts;
    for (uint32_t index : cellIndexes)
        texts.push_back(index < strings.size() ? strings[index].text : u"(out of range)");
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"甲", u"乙", u"甲", u"甲"}));
}

namespace {

// The records of an OfficeArt stream ([MS-ODRAW]: a 16-bit version and instance, a 16-bit type, a
// 32-bit length; version 0xF a container holding the records that follow), read flat.
struct DrawingRecord {
    int type, instance;
    std::span<const uint8_t> body;
};

std::vector<DrawingRecord> drawingRecords(std::span<const uint8_t> data) {
    std::vector<DrawingRecord> found;
    for (size_t at = 0; at + 8 <= data.size();) {
        const int versionAndInstance = u16(data, at), type = u16(data, at + 2);
        const size_t length = u32(data, at + 4);
        at += 8;
        if ((versionAndInstance & 0xF) == 0xF)
            continue;
        found.push_back(
            {type, versionAndInstance >> 4, data.subspan(at, std::min(length, data.size() - at))});
        at += length;
    }
    return found;
}

} // namespace

// Each sheet's drawing numbers its shapes from identifier clusters of 1,024 that the workbook's
// drawing group hands out: a shape identifier is unique in the workbook and lies in a cluster of its
// own drawing, below the group's highest, and the group counts the drawings, shapes and clusters.
TEST(SavedDrawings, ShapeIdentifiersComeFromTheirDrawingsClusters) {
    Workbook book;
    Sheet& first = book.addSheet(u"征订登记");
    book.addSheet(u"Sheet2");
    Sheet& third = book.addSheet(u"汇总");
    std::vector<Comment> many;
    for (int r = 0; r < 1500; ++r)
        many.push_back({{r, 0}, u"", u"x", {}, false, defaultCommentBox({r, 0})});
    first.setComments(many);
    third.setComments({{{0, 0}, u"", u"y", {}, false, defaultCommentBox({0, 0})}});
    const std::vector<uint8_t> stream = workbookStreamOf(xls::workbookBytes(book));

    std::vector<std::pair<uint32_t, uint32_t>> clusters; // drawing, identifiers used
    uint32_t spidMax = 0, shapesSaved = 0, drawingsSaved = 0;
    std::vector<std::pair<uint32_t, std::vector<uint32_t>>> drawings; // drawing number, shape ids
    for (const Record& r : records(stream)) {
        if (r.type == 0x00EB)
            for (const DrawingRecord& d : drawingRecords(r.body))
                if (d.type == 0xF006) {
                    spidMax = u32(d.body, 0);
                    shapesSaved = u32(d.body, 8);
                    drawingsSaved = u32(d.body, 12);
                    ASSERT_EQ(u32(d.body, 4), (d.body.size() - 16) / 8 + 1);
                    for (size_t at = 16; at + 8 <= d.body.size(); at += 8)
                        clusters.emplace_back(u32(d.body, at), u32(d.body, at + 4));
                }
        if (r.type == 0x00EC)
            for (const DrawingRecord& d : drawingRecords(r.body)) {
                if (d.type == 0xF008)
                    drawings.push_back({uint32_t(d.instance), {}});
                if (d.type == 0xF00A && !drawings.empty())
                    drawings.back().second.push_back(u32(d.body, 0));
            }
    }
    ASSERT_EQ(drawings.size(), 2u);
    EXPECT_EQ(drawingsSaved, 2u);
    EXPECT_EQ(drawings[0].second.size(), 1501u); // the drawing's group and a box per comment
    EXPECT_EQ(drawings[1].second.size(), 2u);
    EXPECT_EQ(shapesSaved, 1503u);
    std::vector<uint32_t> all;
    for (const auto& [drawing, ids] : drawings)
        for (uint32_t id : ids) {
            all.push_back(id);
            EXPECT_LT(id, spidMax);
            // Cluster k holds identifiers 1024k to 1024k + 1023, from cluster 1 on.
            const size_t cluster = id / 1024;
            ASSERT_GE(cluster, 1u);
            ASSERT_LE(cluster, clusters.size());
            EXPECT_EQ(clusters[cluster - 1].first, drawing) << "shape " << id;
            EXPECT_LT(id % 1024, clusters[cluster - 1].second) << "shape " << id;
        }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}
