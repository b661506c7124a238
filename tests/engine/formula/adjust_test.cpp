#include "engine/formula/adjust.h"
#include "engine/formula/parser.h"
#include "engine/formula/printer.h"
#include "engine/formula/program.h"

#include <gtest/gtest.h>

namespace engine::formula {
namespace {

StructuralEdit rows(bool insert, int at, int count) {
    return {0, true, insert, at, count, 0, kLastColumn};
}

// Row numbers below are Excel's (from 1); StructuralEdit counts from 0.
std::u16string adjusted(std::u16string_view text, const StructuralEdit& edit, SheetId host = 0) {
    SheetNames names{[](std::u16string_view n) -> std::optional<SheetId> {
                         return n == u"Other" ? std::optional<SheetId>(1) : std::optional<SheetId>(0);
                     },
                     [](SheetId id) -> std::optional<std::u16string> {
                         return id == 1 ? u"Other" : u"Main";
                     }};
    Program p = parse(text, names);
    Reach reach;
    adjustProgram(p, host, edit, reach);
    return print(p, names);
}

TEST(Adjust, InsertedRowsMoveReferencesAtAndBelowAndGrowSpanningRanges) {
    auto edit = rows(true, 4, 2); // two rows inserted above row 5
    EXPECT_EQ(adjusted(u"$E$4+E5+E$6", edit), u"$E$4+E7+E$8");
    EXPECT_EQ(adjusted(u"SUM($E$3:$E$6)", edit), u"SUM($E$3:$E$8)");
    EXPECT_EQ(adjusted(u"SUM($E$5:$E$6)", edit), u"SUM($E$7:$E$8)");
    EXPECT_EQ(adjusted(u"SUM($E$1:$E$4)", edit), u"SUM($E$1:$E$4)"); // ends just above: stays
    EXPECT_EQ(adjusted(u"SUM(B:B)", edit), u"SUM(B:B)");
    EXPECT_EQ(adjusted(u"SUM(4:5)", edit), u"SUM(4:7)");
}

TEST(Adjust, DeletedRowsShrinkRangesAndBreakLostReferences) {
    auto edit = rows(false, 4, 2); // rows 5 and 6 deleted
    EXPECT_EQ(adjusted(u"E5", edit), u"#REF!");
    EXPECT_EQ(adjusted(u"E7+E4", edit), u"E5+E4");
    EXPECT_EQ(adjusted(u"SUM(E3:E8)", edit), u"SUM(E3:E6)");
    EXPECT_EQ(adjusted(u"SUM(E5:E8)", edit), u"SUM(E5:E6)");
    EXPECT_EQ(adjusted(u"SUM(E2:E6)", edit), u"SUM(E2:E4)");
    EXPECT_EQ(adjusted(u"SUM(E5:E6)", edit), u"SUM(#REF!)");
}

TEST(Adjust, OnlyReferencesToTheEditedSheetMove) {
    auto edit = rows(true, 0, 1);
    EXPECT_EQ(adjusted(u"Other!A1+A1", edit), u"Other!A1+A2");
    EXPECT_EQ(adjusted(u"Other!A1+Main!A1", {1, true, true, 0, 1, 0, kLastColumn}), u"Other!A2+Main!A1");
    EXPECT_EQ(adjusted(u"A1", {1, true, true, 0, 1, 0, kLastColumn}, 1), u"A2");
}

TEST(Adjust, CellsShiftedInABandMoveOnlyReferencesInsideTheBand) {
    StructuralEdit down{0, true, true, 1, 1, 1, 2}; // B2:C2 inserted, cells shift down
    EXPECT_EQ(adjusted(u"B2+C5+D2+A2", down), u"B3+C6+D2+A2");
    EXPECT_EQ(adjusted(u"SUM(B1:C4)", down), u"SUM(B1:C5)");
    EXPECT_EQ(adjusted(u"SUM(A1:C4)", down), u"SUM(A1:C4)"); // partly outside the band: stays
    StructuralEdit left{0, false, false, 1, 1, 0, kLastRow}; // column B deleted
    EXPECT_EQ(adjusted(u"A1+B1+$C$1+SUM(A1:C1)", left), u"A1+#REF!+$B$1+SUM(A1:B1)");
}

TEST(Adjust, ReachCoversTheEditedSheetsReferencesAsTheyEndUp) {
    SheetNames names{[](std::u16string_view n) -> std::optional<SheetId> {
                         return n == u"Other" ? std::optional<SheetId>(1) : std::optional<SheetId>(0);
                     },
                     [](SheetId id) -> std::optional<std::u16string> {
                         return id == 1 ? u"Other" : u"Main";
                     }};
    Program p = parse(u"E5+SUM(B:B)+SUM(1:1)+Other!Z99+SUM(C2:D3)", names);
    Reach reach;
    adjustProgram(p, 0, rows(true, 2, 2), reach);
    // E5 is now E7; the whole column and the whole row do not count, nor the other sheet's Z99.
    EXPECT_EQ(reach, (Reach{6, 4}));
    EXPECT_FALSE(mayAffect(reach, rows(true, 7, 1)));
    EXPECT_TRUE(mayAffect(reach, rows(false, 6, 1)));
    EXPECT_TRUE(mayAffect(reach, {0, false, true, 4, 1, 0, kLastRow}));
    EXPECT_FALSE(mayAffect(Reach{}, rows(true, 0, 1)));

    Reach whole;
    extendReach(whole, parse(u"A:B", names)[0]);
    EXPECT_EQ(whole, (Reach{-1, 1}));
}

TEST(Adjust, PasteOffsetMovesOnlyRelativeParts) {
    SheetNames names{[](std::u16string_view n) -> std::optional<SheetId> {
                         return n == u"Other" ? std::optional<SheetId>(1) : std::nullopt;
                     },
                     [](SheetId id) -> std::optional<std::u16string> {
                         return id == 1 ? std::optional<std::u16string>(u"Other") : std::nullopt;
                     }};
    auto moved = [&](std::u16string_view text, int rows, int cols) {
        Program p = parse(text, names);
        moveRelative(p, rows, cols);
        return print(p, names);
    };
    EXPECT_EQ(moved(u"A1+$A1+A$1+$A$1+SUM(B:B)+SUM(2:2)", 2, 1), u"B3+$A3+B$1+$A$1+SUM(C:C)+SUM(4:4)");
    EXPECT_EQ(moved(u"SUM(B2:$C$9)+Other!B2", 3, 1), u"SUM(C5:$C$9)+Other!C5");
    EXPECT_EQ(moved(u"AND(ISERROR(A2*1),A2<>\"征订年度\")", 1, 0), u"AND(ISERROR(A3*1),A3<>\"征订年度\")");
    // Leaving the sheet gives #REF!, with the sheet the reference named.
    EXPECT_EQ(moved(u"A1+1", -1, 0), u"#REF!+1");
    EXPECT_EQ(moved(u"Other!B2+SUM(Other!A1:A3)", 0, -2), u"Other!#REF!+SUM(Other!#REF!)");
    EXPECT_EQ(moved(u"IV65536+$A$1", 0, 1), u"#REF!+$A$1");
    EXPECT_EQ(moved(u"SUM(A1:B2)", kLastRow, 0), u"SUM(#REF!)");
}

} // namespace
} // namespace engine::formula
