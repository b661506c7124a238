// The grid of a sheet: outline groups found from row levels as the spreadsheet finds them, and a sheet of
// 65,000 rows shown by reading only the cells on the screen.

#include "desktop/cell_delegate.h"
#include "desktop/grid_view.h"
#include "desktop/outline_gutter.h"
#include "desktop/sheet_model.h"
#include "engine/model/workbook.h"

#include <QApplication>
#include <QImage>
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
        QCOMPARE(grid.rowAt(grid.viewport()->height() - 1), 65535);
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
        desktop::CellDelegate delegate(model, nullptr);
        auto draw = [&](int col) {
            QImage image(160, 30, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            QStyleOptionViewItem option;
            option.rect = QRect(0, 0, 150, 30);
            option.palette = QApplication::palette();
            delegate.paint(&painter, option, model.index(0, col));
            return image;
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
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    GridTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "grid_test.moc"
