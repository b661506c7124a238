// Cell comments through a save and a read: the text with its fonts, the author, whether the comment
// shows, its box; and what the reader makes of comment records other writers leave incomplete.
#include "engine/xls/bytes.h"
#include "engine/xls/record_types.h"
#include "engine/xls/record_writer.h"
#include "engine/xls/unicode_string.h"
#include "engine/xls/xls.h"
#include "platform/text/utf.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace engine;

namespace engine {

void PrintTo(const Comment& c, std::ostream* os) {
    *os << "comment at " << c.cell.row << "," << c.cell.col << " by " << ::text::toUtf8(c.author) << " ("
        << c.text.size() << " characters, " << c.runs.size() << " runs" << (c.shown ? ", shown" : "")
        << ") box " << c.box.left << "+" << c.box.leftOffset << "," << c.box.top << "+" << c.box.topOffset
        << " to " << c.box.right << "+" << c.box.rightOffset << "," << c.box.bottom << "+"
        << c.box.bottomOffset;
}

} // namespace engine

namespace {

Comment comment(int row, int col, std::u16string author, std::u16string text, bool shown = false) {
    Comment c;
    c.cell = {row, col};
    c.author = std::move(author);
    c.text = std::move(text);
    c.shown = shown;
    c.box = defaultCommentBox(c.cell);
    return c;
}

xls::ReadResult savedAndRead(const Workbook& book) {
    return xls::readWorkbook(xls::workbookBytes(book), "comments.xls");
}

} // namespace

TEST(Comments, TextAuthorFontsVisibilityAndBoxComeBackAsSaved) {
    Workbook book;
    Sheet& s = book.addSheet(u"征订登记");
    book.addSheet(u"Sheet2");
    Sheet& third = book.addSheet(u"汇总");
    Comment rich = comment(3, 1, u"王会计", u"第一行说明\nsecond line");
    rich.runs = {{0, Font{u"宋体", 9, true}}, {6, Font{u"Tahoma", 8}}};
    Comment shown = comment(0, 0, u"Li", u"shown", true);
    shown.box = {2, 100, 0, 20, 5, 512, 6, 200};
    // A long text, partly wide, runs on through several CONTINUE records, each with its own width.
    Comment longText = comment(65535, 255, u"", std::u16string(9000, u'x') + std::u16string(5000, u'订'));
    s.setComments({rich, shown});
    third.setComments({longText, comment(7, 2, u"赵", u"")});

    auto result = savedAndRead(book);
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    const Workbook& back = *result.workbook;
    EXPECT_EQ(back.sheet(0).comments(), (std::vector<Comment>{shown, rich}));
    EXPECT_TRUE(back.sheet(1).comments().empty());
    EXPECT_EQ(back.sheet(2).comments(), (std::vector<Comment>{comment(7, 2, u"赵", u""), longText}));
    EXPECT_EQ(xls::workbookBytes(back), xls::workbookBytes(book));
}

TEST(Comments, ASheetWithMoreCommentsThanOneIdentifierClusterHoldsKeepsThemAll) {
    Workbook book;
    Sheet& first = book.addSheet(u"征订登记");
    Sheet& second = book.addSheet(u"汇总");
    std::vector<Comment> many;
    for (int r = 0; r < 2500; ++r) {
        std::u16string text(1, u'第');
        text += char16_t(u'0' + r % 10);
        many.push_back(comment(r, 3, u"", text));
    }
    first.setComments(many);
    second.setComments({comment(0, 0, u"a", u"b")});
    auto result = savedAndRead(book);
    EXPECT_TRUE(result.dropped.empty()) << result.dropped.front();
    EXPECT_EQ(result.workbook->sheet(0).comments(), many);
    EXPECT_EQ(result.workbook->sheet(1).comments().size(), 1u);
}

TEST(Comments, TextsLongerThanACommentCanHoldAreRefusedOnSave) {
    Workbook book;
    book.addSheet(u"Sheet1").setComments({comment(0, 0, u"", std::u16string(32768, u'x'))});
    EXPECT_THROW(xls::workbookBytes(book), xls::XlsError);
}

namespace {

// A workbook stream of one sheet holding `records`, as other writers may leave them.
std::vector<uint8_t> sheetWith(const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& records) {
    std::vector<uint8_t> out;
    xls::RecordWriter w(out);
    auto bof = [&](uint16_t kind) {
        std::vector<uint8_t> b(16, 0);
        xls::patchU16(b, 0, xls::rec::Biff8Version);
        xls::patchU16(b, 2, kind);
        w.record(xls::rec::Bof, b);
    };
    bof(xls::rec::BofGlobals);
    std::vector<uint8_t> sheet(6, 0);
    xls::putUnicode8(sheet, u"Sheet1");
    const size_t at = out.size() + 4;
    w.record(xls::rec::BoundSheet, sheet);
    w.record(xls::rec::Eof, {});
    xls::patchU32(out, at, uint32_t(out.size()));
    bof(xls::rec::BofWorksheet);
    for (const auto& [type, body] : records)
        w.record(type, body);
    w.record(xls::rec::Eof, {});
    return out;
}

std::vector<uint8_t> note(uint16_t row, uint16_t col, uint16_t object, std::u16string_view author) {
    std::vector<uint8_t> b;
    for (uint16_t v : {row, col, uint16_t(0), object})
        xls::putU16(b, v);
    xls::putUnicode16(b, author);
    return b;
}

std::vector<uint8_t> commentObject(uint16_t id) {
    std::vector<uint8_t> b = {0x15, 0, 0x12, 0, 0x19, 0, uint8_t(id), uint8_t(id >> 8)};
    b.resize(4 + 18, 0);
    b.insert(b.end(), {0, 0, 0, 0});
    return b;
}

// TXO for a one-byte text of `length` characters with two runs, as its CONTINUE records follow it.
std::vector<uint8_t> textObject(uint16_t length) {
    return {0x12, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(length), 0, 16, 0, 0, 0, 0, 0};
}

} // namespace

TEST(Comments, IncompleteCommentRecordsKeepWhatTheyHoldAndListTheRest) {
    // A comment without an anchor or author, a note naming no object, a picture's object.
    std::vector<uint8_t> text = {0, 'p', 'l', 'a', 'i', 'n'};
    std::vector<uint8_t> runs = {0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> picture = {0x15, 0, 0x12, 0, 0x08, 0, 2, 0};
    picture.resize(26, 0);
    auto result = xls::readWorkbookStream(sheetWith({{xls::rec::Obj, commentObject(1)},
                                                     {xls::rec::Txo, textObject(5)},
                                                     {xls::rec::Continue, text},
                                                     {xls::rec::Continue, runs},
                                                     {xls::rec::Obj, picture},
                                                     {xls::rec::Note, {4, 0, 1, 0, 0, 0, 1, 0}},
                                                     {xls::rec::Note, note(9, 9, 7, u"nobody")}}),
                                          "foreign.xls");
    const std::vector<Comment>& found = result.workbook->sheet(0).comments();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].cell, (CellAddress{4, 1}));
    EXPECT_EQ(found[0].text, u"plain");
    EXPECT_EQ(found[0].author, u"");
    EXPECT_EQ(found[0].box, defaultCommentBox({4, 1}));
    EXPECT_EQ(result.dropped, (std::vector<std::string>{"comments", "drawings, pictures and charts"}));
}
