// The grid of a sheet: outline groups found from row levels as the spreadsheet finds them, a sheet of
// 65,000 rows shown by reading only the cells on the screen, and the keyboard and mouse of a spreadsheet
// (long moves, paging, editing at the end, a list's arrow, headers dragged and fitted).

#include "desktop/cell_delegate.h"
#include "desktop/grid_view.h"
#include "desktop/navigation.h"
#include "desktop/outline_gutter.h"
#include "desktop/sheet_model.h"
#include "engine/model/workbook.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

namespace {

// Counts the cells the view asks for.
class CountingModel : public desktop::SheetModel {
public:
    mutable int reads = 0;
    mutable int lastRow = 0;
    QVariant data(const QModelIndex& index, int role) const override {
        ++reads;
        lastRow = std::max(lastRow, index.row());
        return SheetModel::data(index, role);
    }
};

bool sameGroups(const std::vector<desktop::RowGroup>& a, const std::vector<desktop::RowGroup>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].level != b[i].level || a[i].first != b[i].first || a[i].last != b[i].last ||
            a[i].summary != b[i].summary || a[i].collapsed != b[i].collapsed)
            return false;
    return true;
}

// A cell as the delegate paints it into `rect` of a white image of `size`.
QImage painted(const desktop::CellDelegate& delegate, const QModelIndex& cell, QSize size, QRect rect) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = rect;
    option.palette = QApplication::palette();
    delegate.paint(&painter, option, cell);
    return image;
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

private slots:
    void outlineGroups() {
        using desktop::rowGroups;
        // Two register blocks: unit row, header and entries at level 1, a separator between them.
        std::vector<int> levels{0, 0, 1, 1, 0, 0, 1, 1, 1};
        std::vector<bool> shown(9, false);
        QVERIFY(sameGroups(rowGroups(levels, shown, false), {{1, 2, 3, 1, false}, {1, 6, 8, 5, false}}));
        // With summary rows below, the row after a group summarises it, also past the rows in use.
        QVERIFY(sameGroups(rowGroups(levels, shown, true), {{1, 2, 3, 4, false}, {1, 6, 8, 9, false}}));
        // A collapsed group has all its rows hidden; nested levels make groups of their own.
        std::vector<int> nested{0, 1, 2, 2, 1};
        std::vector<bool> hidden{false, false, true, true, false};
        QVERIFY(sameGroups(rowGroups(nested, hidden, false), {{1, 1, 4, 0, false}, {2, 2, 3, 1, true}}));
        // A group that starts at the first row has no summary row above it.
        QVERIFY(sameGroups(rowGroups({1, 1, 0}, {false, false, false}, false), {{1, 0, 1, -1, false}}));
    }

    void aLongSheetIsReadOnlyWhereShown() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        for (int r = 0; r < 65000; ++r) {
            sheet.setValue(r, 0, engine::Value::number(r));
            std::u16string label(u"第");
            label.push_back(char16_t(u'0' + r % 10));
            label.push_back(u'行');
            sheet.setValue(r, 1, engine::Value::text(label));
        }
        sheet.groupRows(10, 64000);
        CountingModel model;
        model.setSheet(&sheet);
        desktop::GridView grid(model, nullptr);
        grid.resize(1000, 700);
        grid.show();
        grid.syncLayout();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        model.reads = 0;
        grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
        grid.grab();
        // The grid ends a hundred rows past the last one used.
        QCOMPARE(grid.rowAt(grid.viewport()->height() - 1), 65099);
        QVERIFY(model.lastRow >= 64990);
        // A screenful is some forty rows of a dozen columns: far from the sheet's 16 million cells.
        QVERIFY2(model.reads < 20000, qPrintable(QString::number(model.reads)));

        // Hidden rows are hidden, and only the rows that differ from the default are looked at again.
        engine::Sheet& edited = sheet;
        edited.editRow(20).hidden = true;
        grid.syncLayout();
        QVERIFY(grid.isRowHidden(20));
        QVERIFY(!grid.isRowHidden(21));
    }

    void collapsingAndExpandingKeepTheTopRowOrItsSummaryInView() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        engine::OutlineSettings outline = sheet.outline();
        outline.summaryRowsBelow = false;
        sheet.setOutline(outline);
        // Blocks of a unit row, thirty entries and a separator, as the register keeps them.
        constexpr int kBlocks = 300, kRows = 32;
        for (int b = 0; b < kBlocks; ++b) {
            sheet.setValue(1 + b * kRows, 0, engine::Value::text(u"单位"));
            sheet.groupRows(2 + b * kRows, 31 + b * kRows);
        }
        desktop::SheetModel model;
        model.setSheet(&sheet);
        desktop::GridView grid(model, nullptr);
        grid.resize(800, 600);
        grid.show();
        grid.syncLayout();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const int unit = 1 + 200 * kRows;
        grid.scrollTo(model.index(unit + 10, 0), QAbstractItemView::PositionAtTop);
        QCOMPARE(grid.rowAt(0), unit + 10);

        auto detail = [&](bool show) {
            for (int b = 0; b < kBlocks; ++b)
                sheet.showDetail(1 + b * kRows, show);
            grid.syncLayout();
        };
        detail(false);
        QCOMPARE(grid.rowAt(0), unit);
        detail(true);
        QCOMPARE(grid.rowAt(0), unit);
        // Rows hidden below the top move nothing.
        grid.scrollTo(model.index(unit + 5, 0), QAbstractItemView::PositionAtTop);
        sheet.showDetail(unit + kRows, false);
        grid.syncLayout();
        QCOMPARE(grid.rowAt(0), unit + 5);
    }

    void ctrlArrowsGoToTheEdgeOfTheData() {
        using desktop::dataEdge;
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        for (int r : {0, 1, 2, 6, 7, 9})
            sheet.setValue(r, 0, engine::Value::number(r));
        sheet.editRow(9).hidden = true;
        struct Case {
            int from;
            int rows;
            int to;
        };
        // Down column A: along a run to its end, over a gap to the next filled cell, past the last one to
        // the sheet's bottom; a hidden row counts as not there. Up likewise, to the top.
        const Case cases[] = {{0, 1, 2},
                              {2, 1, 6},
                              {3, 1, 6},
                              {6, 1, 7},
                              {7, 1, engine::kLastRow},
                              {engine::kLastRow, 1, engine::kLastRow},
                              {7, -1, 6},
                              {6, -1, 2},
                              {4, -1, 2},
                              {1, -1, 0},
                              {0, -1, 0}};
        for (const Case& c : cases)
            QCOMPARE(dataEdge(sheet, {c.from, 0}, c.rows, 0).row, c.to);
        // Along a row the same, to column IV past the last filled cell.
        sheet.setValue(0, 3, engine::Value::number(1));
        QCOMPARE(dataEdge(sheet, {0, 0}, 0, 1).col, 3);
        QCOMPARE(dataEdge(sheet, {0, 3}, 0, 1).col, engine::kLastColumn);
        QCOMPARE(dataEdge(sheet, {0, 3}, 0, -1).col, 0);
        QCOMPARE(desktop::lastUsedCell(sheet), (engine::CellAddress{9, 3}));
        QCOMPARE(desktop::lastUsedCell(book.addSheet(u"Sheet2")), (engine::CellAddress{0, 0}));
    }

    void keysMoveAsInASpreadsheetAndTheGridGrowsWhereTheUserGoes() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        for (int r = 0; r < 300; ++r)
            sheet.setValue(r, 1, engine::Value::number(r));
        desktop::SheetModel model;
        model.setSheet(&sheet);
        desktop::GridView grid(model, nullptr);
        std::vector<engine::Area> selected;
        desktop::GridHandlers handlers;
        handlers.select = [&](const engine::Area& a, engine::CellAddress) {
            selected.push_back(a);
        };
        grid.setHandlers(handlers);
        grid.resize(800, 500);
        grid.show();
        grid.syncLayout();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(model.rowCount(), 400);
        auto at = [&] {
            return engine::CellAddress{grid.currentIndex().row(), grid.currentIndex().column()};
        };

        grid.setCurrentCell({0, 1});
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(at(), (engine::CellAddress{299, 1}));
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(at(), (engine::CellAddress{engine::kLastRow, 1}));
        QCOMPARE(model.rowCount(), engine::kRowCount);
        QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(at(), (engine::CellAddress{0, 0}));
        QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(at(), (engine::CellAddress{299, 1}));
        // Ctrl+Shift+Up selects from there to the top of the run.
        QTest::keyClick(&grid, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(grid.selectedArea(), (engine::Area{0, 1, 299, 1}));
        QCOMPARE(selected.back(), (engine::Area{0, 1, 299, 1}));

        // PageDown moves the view by the rows it shows, and the cursor with it.
        grid.setCurrentCell({5, 1});
        grid.scrollToTop();
        int shown = 0;
        while (grid.rowViewportPosition(shown) + grid.rowHeight(shown) <= grid.viewport()->height())
            ++shown;
        QTest::keyClick(&grid, Qt::Key_PageDown);
        QCOMPARE(at(), (engine::CellAddress{5 + shown, 1}));
        QCOMPARE(grid.rowAt(0), shown);
        QTest::keyClick(&grid, Qt::Key_PageUp);
        QCOMPARE(at(), (engine::CellAddress{5, 1}));
        QCOMPARE(grid.rowAt(0), 0);
        // Rows hidden in a group are passed over.
        sheet.editRow(6).hidden = true;
        grid.syncLayout();
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(at(), (engine::CellAddress{7, 1}));
    }

    void f2EditsAtTheEndOfTheTextAndATypedKeyReplacesIt() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        sheet.setValue(0, 0, engine::Value::text(u"报纸"));
        desktop::SheetModel model;
        model.setSheet(&sheet);
        std::vector<std::u16string> committed;
        model.setCommit([&](int, int, const std::u16string& text) {
            committed.push_back(text);
            return true;
        });
        desktop::GridView grid(model, nullptr);
        grid.resize(600, 400);
        grid.show();
        grid.syncLayout();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
        grid.setCurrentCell({0, 0});
        QTest::keyClick(&grid, Qt::Key_F2);
        auto* edit = dynamic_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(edit);
        QTest::keyClicks(edit, "2026");
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(committed, std::vector<std::u16string>{u"报纸2026"});
        grid.setCurrentCell({0, 0});
        QTest::keyClick(&grid, Qt::Key_7);
        edit = dynamic_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(edit);
        QCOMPARE(edit->text(), QStringLiteral("7"));
    }

    void aListCellShowsItsArrowAndAltDownOpensTheList() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        engine::ValidationRule rule;
        rule.formula1 = u"2025,2026";
        sheet.addValidation(engine::Area::cell(3, 0), rule);
        desktop::SheetModel model;
        model.setSheet(&sheet);
        desktop::GridView grid(model, nullptr);
        grid.resize(600, 400);
        grid.show();
        grid.syncLayout();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
        grid.setCurrentCell({2, 0});
        QVERIFY(grid.listButton().isEmpty());
        grid.setCurrentCell({3, 0});
        QRect arrow = grid.listButton();
        QVERIFY(!arrow.isEmpty());
        QCOMPARE(arrow.left(), grid.visualRect(model.index(3, 0)).right() + 1);
        QTest::keyClick(&grid, Qt::Key_Down, Qt::AltModifier);
        auto* combo = grid.viewport()->findChild<QComboBox*>();
        QVERIFY(combo && combo->view()->isVisible());
        QCOMPARE(combo->count(), 2);
        combo->hidePopup();
        QTest::keyClick(combo, Qt::Key_Escape);
        QVERIFY(!grid.editing());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Clicking the arrow opens it too.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.listButton().center());
        combo = grid.viewport()->findChild<QComboBox*>();
        QVERIFY(combo && combo->view()->isVisible());
        combo->hidePopup();
    }

    void headersAreDraggedAndFittedAtTheirBorders() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        desktop::SheetModel model;
        model.setSheet(&sheet);
        desktop::GridView grid(model, nullptr);
        std::vector<std::tuple<int, int, double>> widths, heights;
        std::vector<std::pair<int, int>> fitted;
        desktop::GridHandlers handlers;
        handlers.resizeColumns = [&](int f, int l, double w) {
            widths.emplace_back(f, l, w);
        };
        handlers.resizeRows = [&](int f, int l, double h) {
            heights.emplace_back(f, l, h);
        };
        handlers.fitColumns = [&](int f, int l) {
            fitted.emplace_back(f, l);
        };
        grid.setHandlers(handlers);
        grid.resize(800, 500);
        grid.show();
        grid.syncLayout();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QHeaderView* top = grid.horizontalHeader();
        // The border after column B, dragged 70 pixels to the right: ten characters wider.
        int border = top->sectionViewportPosition(1) + top->sectionSize(1) - 1;
        int y = top->height() / 2;
        QTest::mousePress(top->viewport(), Qt::LeftButton, {}, {border, y});
        QTest::mouseMove(top->viewport(), {border + 35, y});
        QTest::mouseMove(top->viewport(), {border + 70, y});
        QTest::mouseRelease(top->viewport(), Qt::LeftButton, {}, {border + 70, y});
        QCoreApplication::processEvents();
        QCOMPARE(widths.size(), size_t(1));
        QCOMPARE(std::get<0>(widths[0]), 1);
        QCOMPARE(std::get<1>(widths[0]), 1);
        QCOMPARE(std::get<2>(widths[0]), 8.43 + 10);
        QVERIFY(heights.empty());
        // With columns B to D selected, fitting one of them fits them all.
        grid.selectionModel()->select(QItemSelection(model.index(0, 1), model.index(model.rowCount() - 1, 3)),
                                      QItemSelectionModel::ClearAndSelect);
        border = top->sectionViewportPosition(2) + top->sectionSize(2) - 1;
        QTest::mouseDClick(top->viewport(), Qt::LeftButton, {}, {border, y});
        QCOMPARE(fitted, (std::vector<std::pair<int, int>>{{1, 3}}));
        QVERIFY(widths.size() == 1);
        // A row's border: its height in points.
        QHeaderView* side = grid.verticalHeader();
        border = side->sectionViewportPosition(3) + side->sectionSize(3) - 1;
        int x = side->width() / 2;
        QTest::mousePress(side->viewport(), Qt::LeftButton, {}, {x, border});
        QTest::mouseMove(side->viewport(), {x, border + 10});
        QTest::mouseMove(side->viewport(), {x, border + 20});
        QTest::mouseRelease(side->viewport(), Qt::LeftButton, {}, {x, border + 20});
        QCoreApplication::processEvents();
        QCOMPARE(heights.size(), size_t(1));
        QCOMPARE(std::get<0>(heights[0]), 3);
        QCOMPARE(std::get<2>(heights[0]), 27.75); // 17 + 20 pixels
    }

    void cellShowsFormatsAndEditsTheFormulaText() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        sheet.setValue(0, 2, engine::Value::number(3));
        sheet.setFormula(0, 4, u"=C1*12");
        sheet.modifyFormat(engine::Area::cell(0, 4), [](engine::Format& f) {
            f.font.bold = true;
            f.fillColorIndex = 34;
            f.font.colorIndex = 5;
        });
        desktop::SheetModel model;
        model.setSheet(&sheet);
        model.setExtent(1, 5);
        QModelIndex e1 = model.index(0, 4);
        QCOMPARE(e1.data(Qt::DisplayRole).toString(), QStringLiteral("36"));
        QCOMPARE(e1.data(Qt::EditRole).toString(), QStringLiteral("=C1*12"));
        QCOMPARE(e1.data(Qt::BackgroundRole).value<QColor>(), QColor(0xCC, 0xFF, 0xFF));
        QCOMPARE(e1.data(Qt::ForegroundRole).value<QColor>(), QColor(0x00, 0x00, 0xFF));
        QVERIFY(e1.data(Qt::FontRole).value<QFont>().bold());
        QCOMPARE(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("E"));
        QCOMPARE(model.headerData(4, Qt::Vertical, Qt::DisplayRole).toInt(), 5);
    }

    void cellsShowTheirNumberFormatButEditTheValue() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        auto put = [&](int col, double x, std::u16string code) {
            sheet.setValue(0, col, engine::Value::number(x));
            sheet.modifyFormat(engine::Area::cell(0, col), [&](engine::Format& f) {
                f.numberFormat = code;
                f.font.colorIndex = 5;
            });
        };
        put(0, 12.5, u"0.00");
        put(1, -3, u"0.0;[Red]-0.0");
        put(2, 45000, u"yyyy-mm-dd");
        desktop::SheetModel model;
        model.setSheet(&sheet);
        model.setExtent(1, 3);
        QCOMPARE(model.index(0, 0).data(Qt::DisplayRole).toString(), QStringLiteral("12.50"));
        QCOMPARE(model.index(0, 0).data(Qt::EditRole).toString(), QStringLiteral("12.5"));
        QCOMPARE(model.index(0, 2).data(Qt::DisplayRole).toString(), QStringLiteral("2023-03-15"));
        QCOMPARE(model.index(0, 2).data(Qt::EditRole).toString(), QStringLiteral("45000"));
        // The section's colour goes before the font's.
        QCOMPARE(model.index(0, 1).data(Qt::DisplayRole).toString(), QStringLiteral("-3.0"));
        QCOMPARE(model.index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0xFF, 0, 0));
        QCOMPARE(model.index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0xFF));
    }

    void fontsFollowTheWorkbooksDefaultWhereTheFormatHasNone() {
        engine::Workbook book;
        book.setDefaultFont({u"Courier New", 12});
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        sheet.modifyFormat(engine::Area::cell(0, 1), [](engine::Format& f) {
            f.font = {u"Times New Roman", 14, false, true, true, engine::Underline::Double, 0};
        });
        desktop::SheetModel model;
        model.setSheet(&sheet);
        model.setExtent(1, 2);
        QFont plain = model.index(0, 0).data(Qt::FontRole).value<QFont>();
        QCOMPARE(plain.family(), QStringLiteral("Courier New"));
        QCOMPARE(plain.pixelSize(), 16); // 12 points at 96 pixels an inch
        QVERIFY(!plain.bold() && !plain.italic() && !plain.underline());
        QFont own = model.index(0, 1).data(Qt::FontRole).value<QFont>();
        QCOMPARE(own.family(), QStringLiteral("Times New Roman"));
        QCOMPARE(own.pixelSize(), 19);
        QVERIFY(own.italic() && own.strikeOut() && own.underline());
    }

    void richTextRunsAndBorderColoursAreDrawn() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        engine::Font red;
        red.colorIndex = 3;
        red.bold = true;
        sheet.setRichText(0, 0, u"██████", {{3, red}});
        sheet.setValue(0, 1, engine::Value::text(u"██████"));
        sheet.modifyFormat(engine::Area::cell(0, 1), [](engine::Format& f) {
            f.border(engine::Edge::Left) = {engine::LineStyle::Continuous, engine::BorderWeight::Thick, 10};
        });
        desktop::SheetModel model;
        model.setSheet(&sheet);
        model.setExtent(1, 2);
        desktop::CellDelegate delegate(model, nullptr);
        auto draw = [&](int col) {
            return painted(delegate, model.index(0, col), {160, 30}, {0, 0, 150, 30});
        };
        auto redIn = [](const QImage& image, int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = 0; y < image.height(); ++y) {
                    QColor c = image.pixelColor(x, y);
                    if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                        return true;
                }
            return false;
        };
        QImage rich = draw(0);
        int half = 2 + QFontMetrics(model.font(0, 0)).horizontalAdvance(QStringLiteral("███"));
        QVERIFY2(!redIn(rich, 0, half - 1), "the text before the run keeps the cell's colour");
        QVERIFY2(redIn(rich, half + 1, 150), "the run is red");
        QImage bordered = draw(1);
        QCOMPARE(bordered.pixelColor(0, 15), QColor(0, 0x80, 0)); // colour 10, a dark green
        QVERIFY(!redIn(bordered, 0, 150));
    }

    void aCommentedCellHasARedCornerAndShowsItsCommentUnderThePointer() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"Sheet1");
        sheet.setComments({{{0, 1}, u"王会计", u"含邮费", {}, false, engine::defaultCommentBox({0, 1})},
                           {{0, 2}, u"", u"无署名", {}, false, engine::defaultCommentBox({0, 2})}});
        desktop::SheetModel model;
        model.setSheet(&sheet);
        model.setExtent(1, 3);
        desktop::CellDelegate delegate(model, nullptr);
        auto cornerIsRed = [&](int col) {
            const QImage image = painted(delegate, model.index(0, col), {60, 20}, {0, 0, 50, 18});
            const QColor corner = image.pixelColor(49, 1), below = image.pixelColor(49, 10);
            return corner.red() > 200 && corner.green() < 80 && below == QColor(Qt::white);
        };
        QVERIFY(!cornerIsRed(0));
        QVERIFY(cornerIsRed(1));
        QVERIFY(model.data(model.index(0, 0), Qt::ToolTipRole).isNull());
        QCOMPARE(model.data(model.index(0, 1), Qt::ToolTipRole).toString(),
                 QStringLiteral("王会计:\n含邮费"));
        QCOMPARE(model.data(model.index(0, 2), Qt::ToolTipRole).toString(), QStringLiteral("无署名"));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    GridTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "grid_test.moc"
