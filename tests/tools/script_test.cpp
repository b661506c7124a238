#include "platform/text/utf.h"
#include "tools/varnel-play/actions.h"
#include "tools/varnel-play/json.h"
#include "tools/varnel-play/record_line.h"
#include "tools/varnel-play/script.h"

#include <gtest/gtest.h>

namespace {

using play::parseRef;

play::Script parseScript(std::string_view text) {
    return play::parseScript(text, play::actions());
}

TEST(ScriptRef, ReadsEveryFormOfAPlace) {
    auto r = parseRef(u"征订登记!C4");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->instance, 0);
    EXPECT_EQ(r->workbook, u"");
    EXPECT_EQ(r->sheet, u"征订登记");
    EXPECT_EQ(r->cells, u"C4");

    r = parseRef(u"A1:G4");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->sheet, u"");
    EXPECT_EQ(r->cells, u"A1:G4");

    r = parseRef(u"[Book1]Sheet1!$A$1");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->instance, 0);
    EXPECT_EQ(r->workbook, u"Book1");
    EXPECT_EQ(r->sheet, u"Sheet1");
    EXPECT_EQ(r->cells, u"$A$1");

    r = parseRef(u"2:[Book1]被查询单位征订情况!A1:G9");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->instance, 2);
    EXPECT_EQ(r->workbook, u"Book1");
    EXPECT_EQ(r->sheet, u"被查询单位征订情况");
    EXPECT_EQ(r->cells, u"A1:G9");

    // A sheet name may hold "!" itself: the cells follow the last one.
    r = parseRef(u"a!b!B2");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->sheet, u"a!b");

    for (std::u16string_view bad :
         {u"", u"!A1", u"征订登记!", u"[Book1]A1", u"[]Sheet1!A1", u"x:[Book1]Sheet1!A1",
          u"2[Book1]Sheet1!A1", u"0:[Book1]Sheet1!A1", u"C 4", u"征订登记!C4+1"})
        EXPECT_FALSE(parseRef(bad)) << text::toUtf8(bad);
}

TEST(Script, ReadsActionsAndSkipsBlankAndCommentLines) {
    auto script = parseScript("# a session\n"
                              "\n"
                              "answer  未知 单位 \r\n"
                              "answer-cancel\n"
                              "   click 增加征订单位\n"
                              "type 征订登记!C4 12 本\n"
                              "type C5\n"
                              "collapse 2\n"
                              "rows 征订登记!2:9\n"
                              "print 2:[Book1]Sheet1!A1:B2\n"
                              "close\n");
    ASSERT_FALSE(script.error) << script.error->message;
    const auto& a = script.actions;
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[0].verb->word, u"answer");
    EXPECT_EQ(a[0].text, u"未知 单位");
    EXPECT_EQ(a[0].line, 3);
    EXPECT_EQ(a[1].verb->word, u"answer-cancel");
    EXPECT_EQ(a[2].verb->word, u"click");
    EXPECT_EQ(a[2].text, u"增加征订单位");
    EXPECT_EQ(a[3].verb->word, u"type");
    EXPECT_EQ(a[3].ref.sheet, u"征订登记");
    EXPECT_EQ(a[3].ref.cells, u"C4");
    EXPECT_EQ(a[3].text, u"12 本");
    EXPECT_EQ(a[4].text, u""); // typing nothing empties the cell as the grid does
    EXPECT_EQ(a[5].row, 2);
    EXPECT_EQ(a[6].verb->word, u"rows");
    EXPECT_EQ(a[6].ref.sheet, u"征订登记");
    EXPECT_EQ(a[6].row, 2);
    EXPECT_EQ(a[6].lastRow, 9);
    EXPECT_EQ(a[7].ref.instance, 2);
    EXPECT_EQ(a[8].verb->word, u"close");
    EXPECT_EQ(a[8].line, 11);
}

TEST(Script, NamesTheFirstLineThatIsNoAction) {
    struct Case {
        const char* script;
        int line;
    } cases[] = {
        {"save\nsing\n", 2},
        {"click\n", 1},
        {"close now\n", 1},
        {"collapse 0\n", 1},
        {"expand 65537\n", 1},
        {"collapse two\n", 1},
        {"type\n", 1},
        {"rows 征订登记!9:2\n", 1},
        {"rows 征订登记!A1:B2\n", 1},
        {"print\n", 1},
        {"# fine\n\nselect A1\npaste [Book1]A1\n", 4},
    };
    for (const Case& c : cases) {
        auto script = parseScript(c.script);
        ASSERT_TRUE(script.error) << c.script;
        EXPECT_EQ(script.error->line, c.line) << c.script;
        EXPECT_FALSE(script.error->message.empty());
    }
}

TEST(Script, TextsInDoubleQuotesKeepTheirBlanksAndTakeJsonEscapes) {
    auto script = parseScript("answer \" \"\n"
                              "type C4 \"求是 \"\n"
                              "click \"  增加征订单位\"\n"
                              "answer \"\\\"引\\\"\\\\\\u5b57\\t\"\n"
                              "answer \"\"\n"
                              "answer a \"b\"\n");
    ASSERT_FALSE(script.error) << script.error->message;
    const auto& a = script.actions;
    ASSERT_EQ(a.size(), 6u);
    EXPECT_EQ(a[0].text, u" ");
    EXPECT_EQ(a[1].text, u"求是 ");
    EXPECT_EQ(a[2].text, u"  增加征订单位");
    EXPECT_EQ(a[3].text, u"\"引\"\\字\t");
    EXPECT_EQ(a[4].text, u"");
    EXPECT_EQ(a[5].text, u"a \"b\""); // quotes inside a plain text are its own

    for (const char* bad : {"answer \"open\n", "answer \"a\"b\"\n", "type C4 \"\\x\"\n", "answer \"\\u12\"\n",
                            "click \"\"\n"}) {
        auto refused = parseScript(bad);
        EXPECT_TRUE(refused.error) << bad;
    }
}

TEST(Script, ALineThatIsNotUtf8IsRefusedByItsNumber) {
    for (const char* bad : {"answer \xB5\xA5\xCE\xBB\n", "answer \xE4\xB8\n", "# \xFF comment\n"}) {
        auto script = parseScript(std::string("save\n") + bad);
        ASSERT_TRUE(script.error) << bad;
        EXPECT_EQ(script.error->line, 2);
        EXPECT_EQ(script.error->message, "the line is not UTF-8");
    }
}

TEST(JsonLine, EscapesTextAndWritesNumbersAsJson) {
    play::JsonLine line("messagebox");
    line.text("caption", u"添加\"统计\"\\单位").text("text", u"a\nb\x01").number("n", 12).number("x", 0.5);
    line.boolean("b", false).null("v").raw("items", "[]");
    EXPECT_EQ(line.str(),
              "{\"event\":\"messagebox\",\"caption\":\"添加\\\"统计\\\"\\\\单位\",\"text\":\"a\\nb\\u0001\","
              "\"n\":12,\"x\":0.5,\"b\":false,\"v\":null,\"items\":[]}");
    EXPECT_EQ(play::JsonLine().number("big", 123456789012.0).number("third", 1.0 / 3).str(),
              "{\"big\":123456789012,\"third\":0.333333333333333}");
}

TEST(RecordLine, WritesEachKindOfQuestionInTheRunnersFormat) {
    using Kind = ui::Record::Kind;
    auto record = [](Kind kind, std::u16string caption, std::u16string text) {
        ui::Record r;
        r.kind = kind;
        r.caption = std::move(caption);
        r.text = std::move(text);
        return r;
    };
    EXPECT_EQ(play::recordLine(record(Kind::MessageBox, u"添加征订资料错误", u"line \"one\"\nline two")),
              R"({"event":"messagebox","caption":"添加征订资料错误","text":"line \"one\"\nline two"})");
    ui::Record input = record(Kind::InputBox, u"添加统计单位", u"请输入单位名称：");
    input.defaultText = u"未知单位";
    EXPECT_EQ(
        play::recordLine(input),
        R"({"event":"inputbox","prompt":"请输入单位名称：","title":"添加统计单位","default":"未知单位"})");
    ui::Record dialog = record(Kind::Dialog, u"查询指定资料征订情况", u"");
    dialog.items = {u"9份", u"报纸"};
    EXPECT_EQ(play::recordLine(dialog),
              R"({"event":"dialog","caption":"查询指定资料征订情况","items":["9份","报纸"]})");
    EXPECT_EQ(play::recordLine(record(Kind::Error, u"", u"no answer")),
              R"({"event":"error","text":"no answer"})");
}

} // namespace
