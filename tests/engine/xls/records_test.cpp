#include "engine/xls/bytes.h"
#include "engine/xls/record_reader.h"
#include "engine/xls/record_types.h"
#include "engine/xls/record_writer.h"
#include "engine/xls/sst.h"

#include <gtest/gtest.h>

using namespace engine::xls;

namespace {

std::vector<std::u16string> texts(const std::vector<SstString>& table) {
    std::vector<std::u16string> all;
    for (const SstString& s : table)
        all.push_back(s.text);
    return all;
}

std::vector<SstString> sstRoundTrip(const std::vector<std::u16string>& strings, std::vector<uint8_t>& stream,
                                    const std::unordered_map<uint32_t, SstRuns>& runs = {}) {
    RecordWriter w(stream);
    writeSst(w, std::vector<std::u16string_view>(strings.begin(), strings.end()), runs, uint32_t(strings.size()));
    RecordReader r(stream);
    EXPECT_TRUE(r.next());
    EXPECT_EQ(r.type(), rec::Sst);
    return readSst(r.segments());
}

} // namespace

TEST(Records, LongBodyIsSplitIntoContinueRecordsAndJoinedOnRead) {
    std::vector<uint8_t> stream;
    RecordWriter w(stream);
    std::vector<uint8_t> body(20000);
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = uint8_t(i * 7);
    w.record(rec::Formula, body);
    w.record(rec::Eof, {});

    RecordReader r(stream);
    ASSERT_TRUE(r.next());
    EXPECT_EQ(r.segments().size(), 3u);
    for (auto s : r.segments())
        EXPECT_LE(s.size(), rec::MaxBody);
    auto joined = r.body();
    EXPECT_EQ(std::vector<uint8_t>(joined.begin(), joined.end()), body);
    ASSERT_TRUE(r.next());
    EXPECT_EQ(r.type(), rec::Eof);
    EXPECT_FALSE(r.next());
}

TEST(Records, LengthsBeyondTheStreamAreRefused) {
    std::vector<uint8_t> stream = {0x09, 0x08, 0x10, 0x00, 1, 2, 3};
    RecordReader r(stream);
    EXPECT_THROW(r.next(), FormatError);
    std::vector<uint8_t> header = {0x09, 0x08, 0x00};
    RecordReader h(header);
    EXPECT_THROW(h.next(), FormatError);
}

TEST(SharedStrings, StringsSplitAcrossContinueRecordsSurviveInBothEncodings) {
    std::vector<std::u16string> strings;
    // Long enough that pieces break inside strings, in one-byte and two-byte form alike.
    for (int i = 0; i < 300; ++i) {
        std::u16string s(size_t(40 + i % 97), char16_t(u'a' + i % 26));
        if (i % 3 == 0)
            s += u"征订登记资料名称";
        strings.push_back(s);
    }
    strings.push_back(std::u16string(9000, u'x'));
    strings.push_back(std::u16string(9000, u'杂'));
    strings.push_back(u"");
    std::vector<uint8_t> stream;
    EXPECT_EQ(texts(sstRoundTrip(strings, stream)), strings);

    // Every piece stays within the limit and never splits a two-byte character.
    RecordReader r(stream);
    size_t pieces = 0;
    while (r.next() && r.type() == rec::Sst)
        for (auto s : r.segments()) {
            EXPECT_LE(s.size(), rec::MaxBody);
            ++pieces;
        }
    EXPECT_GT(pieces, 5u);
    EXPECT_EQ(r.type(), rec::ExtSst);
}

TEST(SharedStrings, EncodingMaySwitchAtAContinueBoundary) {
    // Hand-made: one string of 5 characters, "ab" in one-byte form, then "征订资" in two-byte form.
    std::vector<uint8_t> stream;
    RecordWriter w(stream);
    std::vector<uint8_t> sst;
    putU32(sst, 1);
    putU32(sst, 1);
    putU16(sst, 5);
    putU8(sst, 0);
    sst.push_back('a');
    sst.push_back('b');
    w.record(rec::Sst, sst);
    std::vector<uint8_t> cont = {1};
    for (char16_t c : std::u16string(u"征订资"))
        putU16(cont, c);
    w.record(rec::Continue, cont);
    RecordReader r(stream);
    ASSERT_TRUE(r.next());
    EXPECT_EQ(texts(readSst(r.segments())), std::vector<std::u16string>{u"ab征订资"});
}

TEST(SharedStrings, LyingCountsAreRefusedWithoutHugeAllocations) {
    std::vector<uint8_t> sst;
    putU32(sst, 0xFFFFFFFF);
    putU32(sst, 0xFFFFFFFF);
    putU16(sst, 0xFFFF);
    putU8(sst, 1);
    std::vector<std::span<const uint8_t>> segments{sst};
    EXPECT_THROW(readSst(segments), FormatError);
}

TEST(SharedStrings, RichTextRunsSurviveRecordBoundaries) {
    // Enough rich texts that some fall at the end of a record, and one with more runs than a record
    // holds after its characters.
    std::vector<std::u16string> strings;
    std::unordered_map<uint32_t, SstRuns> runs;
    for (uint32_t i = 0; i < 600; ++i) {
        strings.push_back(u"普通粗体红色" + std::u16string(size_t(i % 50), u'x'));
        if (i % 2 == 0)
            runs[i] = {{0, 5}, {2, uint16_t(6 + i % 3)}, {4, 5}};
    }
    strings.push_back(std::u16string(4000, u'杂'));
    SstRuns many;
    for (uint16_t k = 0; k < 1000; ++k)
        many.emplace_back(uint16_t(k * 3), uint16_t(5 + k % 4));
    runs[uint32_t(strings.size() - 1)] = many;
    std::vector<uint8_t> stream;
    auto back = sstRoundTrip(strings, stream, runs);
    ASSERT_EQ(texts(back), strings);
    for (uint32_t i = 0; i < back.size(); ++i) {
        auto it = runs.find(i);
        EXPECT_EQ(back[i].runs, it == runs.end() ? SstRuns{} : it->second) << i;
    }
}

TEST(SharedStrings, ATableThatClaimsMoreTextsThanItHoldsGivesThoseItHolds) {
    std::vector<uint8_t> sst;
    putU32(sst, 10);
    putU32(sst, 10);
    for (char c : {'a', 'b'}) {
        putU16(sst, 1);
        putU8(sst, 0);
        putU8(sst, uint8_t(c));
    }
    std::vector<std::span<const uint8_t>> segments{sst};
    EXPECT_EQ(texts(readSst(segments)), (std::vector<std::u16string>{u"a", u"b"}));
}
