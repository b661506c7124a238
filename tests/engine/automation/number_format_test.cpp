// Range.NumberFormat and Range.Text: the code cells carry, and the text they show through it.

#include "tests/engine/automation/fixture.h"

namespace engine::automation::testing {
namespace {

using NumberFormats = InstanceTest;

TEST_F(NumberFormats, CellsShowTheirValuesThroughTheCodeSetOnThem) {
    range(u"B2")->PutValue2(Variant(12.5));
    EXPECT_EQ(text(range(u"B2")->GetNumberFormat()), u"General");
    EXPECT_EQ(text(range(u"B2")->GetText()), u"12.5");
    range(u"B2")->PutNumberFormat(Variant(u"0.00"));
    EXPECT_EQ(text(range(u"B2")->GetNumberFormat()), u"0.00");
    EXPECT_EQ(text(range(u"B2")->GetText()), u"12.50");
    // The value itself is unchanged.
    EXPECT_EQ(range(u"B2")->GetValue2(), Variant(12.5));

    range(u"C2")->PutValue2(Variant(45000.75));
    range(u"C2")->PutNumberFormat(Variant(u"yyyy-mm-dd hh:mm"));
    EXPECT_EQ(text(range(u"C2")->GetText()), u"2023-03-15 18:00");
    range(u"D2")->PutValue2(Variant(u"kg"));
    range(u"D2")->PutNumberFormat(Variant(u"0.00;-0.00;0;\"(\"@\")\""));
    EXPECT_EQ(text(range(u"D2")->GetText()), u"(kg)");
    // General in any spelling is General.
    range(u"B2")->PutNumberFormat(Variant(u"general"));
    EXPECT_EQ(text(range(u"B2")->GetNumberFormat()), u"General");
    EXPECT_EQ(text(range(u"B2")->GetText()), u"12.5");
}

TEST_F(NumberFormats, SeveralCellsGiveOneAnswerOnlyWhenTheyAgree) {
    range(u"A1:A3")->PutValue2(Variant(1.0));
    range(u"A1:A3")->PutNumberFormat(Variant(u"0%"));
    EXPECT_EQ(text(range(u"A1:A3")->GetNumberFormat()), u"0%");
    EXPECT_EQ(text(range(u"A1:A3")->GetText()), u"100%");
    range(u"A2")->PutValue2(Variant(0.5));
    EXPECT_EQ(range(u"A1:A3")->GetText().vt(), VT_NULL);
    range(u"A3")->PutNumberFormat(Variant(u"0.0%"));
    EXPECT_EQ(range(u"A1:A3")->GetNumberFormat().vt(), VT_NULL);
    // A cell that holds nothing shows nothing, unlike its neighbour.
    EXPECT_EQ(range(u"A1:A4")->GetText().vt(), VT_NULL);
    EXPECT_EQ(text(range(u"F1:F9")->GetText()), u"");
}

TEST_F(NumberFormats, AWholeColumnsCodeReachesCellsWrittenLater) {
    range(u"E:E")->PutNumberFormat(Variant(u"#,##0.00"));
    EXPECT_EQ(text(range(u"E:E")->GetNumberFormat()), u"#,##0.00");
    range(u"E40000")->PutValue2(Variant(1234567.0));
    EXPECT_EQ(text(range(u"E40000")->GetText()), u"1,234,567.00");
    EXPECT_EQ(text(range(u"E:E")->GetNumberFormat()), u"#,##0.00");
    // A row's own format covers the cells it crosses.
    range(u"7:7")->PutNumberFormat(Variant(u"0"));
    EXPECT_EQ(range(u"E:E")->GetNumberFormat().vt(), VT_NULL);
    EXPECT_EQ(text(range(u"E7")->GetNumberFormat()), u"0");
}

TEST_F(NumberFormats, ACodeThatIsNoFormatIsRefusedAndChangesNothing) {
    range(u"B2")->PutNumberFormat(Variant(u"0.00"));
    for (const char16_t* code : {u"0.00\"", u"[Purple]0", u"0;0;0;@;0"})
        EXPECT_THROW(range(u"B2")->PutNumberFormat(Variant(code)), ComError);
    EXPECT_THROW(range(u"B2")->PutNumberFormat(Variant(std::u16string(256, u'0'))), ComError);
    EXPECT_EQ(text(range(u"B2")->GetNumberFormat()), u"0.00");
}

} // namespace
} // namespace engine::automation::testing
