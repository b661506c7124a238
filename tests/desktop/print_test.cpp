// Printing a sheet: where pages break (never inside a unit block that fits on a page), the header and
// footer codes, and the register exported to PDF as the print preview exports it, read back with
// poppler's pdfinfo and pdftotext.

#include "desktop/fonts.h"
#include "desktop/page_setup.h"
#include "desktop/print_layout.h"
#include "desktop/print_preview.h"
#include "engine/model/workbook.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

using desktop::PrintLine;

// Lines of ten pixels each, with the groups given (-1 for none).
std::vector<PrintLine> lines(const std::vector<int>& groups) {
    std::vector<PrintLine> made;
    for (std::size_t i = 0; i < groups.size(); ++i)
        made.push_back({int(i), 10, groups[i]});
    return made;
}

// Runs a poppler tool on a file; its standard output.
QString poppler(const QString& tool, QStringList arguments) {
    QProcess run;
    run.start(tool, arguments);
    if (!run.waitForFinished(30000) || run.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(tool, QString::fromLocal8Bit(run.readAllStandardError()));
    return QString::fromUtf8(run.readAllStandardOutput());
}

QString pageText(const QString& pdf, int page) {
    const QString n = QString::number(page);
    return poppler(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"), n,
                                                 QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The register as the program leaves it: a title row, then blocks of a unit row, its entries (one outline
// level deeper) and a separator row. Every row 17 pixels high (12.75 points).
void fillRegister(engine::Sheet& sheet, int blocks, int entries) {
    const char16_t* titles[] = {u"征订年度", u"资料名称", u"征订数量", u"单价",
                                u"金额",     u"票据号",   u"征订单位"};
    for (int c = 0; c < 7; ++c)
        sheet.setValue(0, c, engine::Value::text(titles[c]));
    int row = 1;
    for (int b = 1; b <= blocks; ++b) {
        sheet.setValue(row, 0, engine::Value::text(u"单位" + std::u16string(1, char16_t(u'0' + b))));
        for (int e = 1; e <= entries; ++e)
            sheet.setValue(row + e, 2, engine::Value::number(e));
        sheet.groupRows(row + 1, row + entries);
        row += entries + 2;
    }
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { desktop::installFonts(); }

    void pagesBreakBetweenBlocks() {
        using desktop::breakLines;
        using Pages = std::vector<std::vector<int>>;
        // Room for five lines a page.
        // A block that would be split starts the next page; lines outside blocks fill pages as they come.
        QCOMPARE(breakLines(lines({-1, -1, 0, 0, 0, 1, 1}), 50, false), (Pages{{0, 1, 2, 3, 4}, {5, 6}}));
        QCOMPARE(breakLines(lines({-1, -1, -1, 0, 0, 0}), 50, false), (Pages{{0, 1, 2}, {3, 4, 5}}));
        QCOMPARE(breakLines(lines({-1, -1, -1, -1, -1, -1, -1}), 50, false),
                 (Pages{{0, 1, 2, 3, 4}, {5, 6}}));
        // A block longer than a page is split where the page ends, as it must be.
        QCOMPARE(breakLines(lines({-1, 0, 0, 0, 0, 0, 0, 0}), 50, false),
                 (Pages{{0, 1, 2, 3, 4}, {5, 6, 7}}));
        // One block a page on request; what comes before the first block shares its page.
        QCOMPARE(breakLines(lines({-1, 0, 0, 1, 1}), 50, true), (Pages{{0, 1, 2}, {3, 4}}));
        // A line taller than a page has a page of its own.
        std::vector<PrintLine> tall{{0, 10, -1}, {1, 80, -1}, {2, 10, -1}};
        QCOMPARE(breakLines(tall, 50, false), (Pages{{0}, {1}, {2}}));
        QVERIFY(breakLines({}, 50, false).empty());
    }

    void aBlockIsItsUnitRowEntriesAndWhatSummarisesThem() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"征订登记");
        // Title; unit, 2 entries, separator; unit, 2 entries; the next unit follows at once; 1 entry.
        sheet.groupRows(2, 3);
        sheet.groupRows(6, 7);
        sheet.groupRows(9, 9);
        QCOMPARE(desktop::rowGroups(sheet, 0, 10), (std::vector<int>{-1, 0, 0, 0, 0, 1, 1, 1, 2, 2, 2}));
        // With summary rows above their detail, the row after a block belongs to none.
        sheet.setOutline({false, true});
        QCOMPARE(desktop::rowGroups(sheet, 0, 10), (std::vector<int>{-1, 0, 0, 0, -1, 1, 1, 1, 2, 2, -1}));
        // Printing from the middle of a block: its rows above the area are not there to keep.
        QCOMPARE(desktop::rowGroups(sheet, 3, 6), (std::vector<int>{0, -1, 1, 1}));
    }

    void headerAndFooterCodes() {
        desktop::HeaderContext at{QStringLiteral("征订登记"), QStringLiteral("Ombrell.xls"), 2, 7,
                                  QDateTime(QDate(2026, 3, 5), QTime(9, 7))};
        auto parts = desktop::expandHeader(QStringLiteral("&L&F&C第 &P 页，共 &N 页&R&D &T"), at);
        QCOMPARE(parts.left, QStringLiteral("Ombrell.xls"));
        QCOMPARE(parts.center, QStringLiteral("第 2 页，共 7 页"));
        QCOMPARE(parts.right, QStringLiteral("2026/3/5 9:07"));
        // Fonts, sizes and styles print no text of their own; "&&" is an ampersand; text before any
        // section is centred.
        parts = desktop::expandHeader(QStringLiteral("&\"宋体,加粗\"&14&B&A && 副本"), at);
        QCOMPARE(parts.center, QStringLiteral("征订登记 & 副本"));
        QVERIFY(parts.left.isEmpty() && parts.right.isEmpty());
    }

    void aSheetPrintsWithItsOwnPageSetup() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"征订登记");
        // Nobody chose one: the spreadsheet's defaults, its header and footer included.
        QCOMPARE(desktop::pageSetupOf(sheet).headerText, desktop::PageSetup{}.headerText);
        engine::PageSetup own;
        own.paperSize = 8;
        own.landscape = true;
        own.leftMargin = 0.4;
        own.footerMargin = 0.2;
        own.header = u"&L登记";
        own.fitToPages = true;
        own.fitHeight = 0;
        own.printGridlines = true;
        sheet.setPageSetup(own);
        desktop::PageSetup setup = desktop::pageSetupOf(sheet);
        QCOMPARE(setup.paper, QPageSize::A3);
        QCOMPARE(setup.orientation, QPageLayout::Landscape);
        QCOMPARE(setup.left, 0.4);
        QCOMPARE(setup.footer, 0.2);
        QCOMPARE(setup.headerText, QStringLiteral("&L登记"));
        QVERIFY(setup.footerText.isEmpty());
        QVERIFY(setup.fitToWidth && setup.gridlines);
    }

    void theRegisterExportsToPdf() {
        engine::Workbook book;
        engine::Sheet& sheet = book.addSheet(u"征订登记");
        // Blocks of 30 rows. An A4 page in portrait holds 54 rows of 17 pixels between margins of an
        // inch (11.69 in less 2, at 96 pixels to the inch): the title and one block, as a second block
        // would be split.
        fillRegister(sheet, 3, 28);
        QTemporaryDir folder;
        const QString pdf = folder.filePath(QStringLiteral("征订登记.pdf"));
        desktop::PrintPreview preview(nullptr, sheet, std::nullopt, QStringLiteral("Ombrell.xls"));
        QVERIFY(preview.exportPdf(pdf.toStdString()));

        const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(
                     QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts"))),
                 qPrintable(info));
        const QString first = pageText(pdf, 1), second = pageText(pdf, 2);
        // The default header names the sheet, the footer counts the pages.
        QVERIFY2(first.trimmed().startsWith(QStringLiteral("征订登记")), qPrintable(first));
        QVERIFY2(first.contains(QStringLiteral("第 1 页，共 3 页")), qPrintable(first));
        QVERIFY(first.contains(QStringLiteral("征订单位")) && first.contains(QStringLiteral("单位1")));
        QVERIFY(!first.contains(QStringLiteral("单位2")));
        QVERIFY2(second.contains(QStringLiteral("单位2")) && !second.contains(QStringLiteral("单位3")),
                 qPrintable(second));

        // In landscape, one block a page, the title with the first, although blocks of ten rows would go
        // three to a page; exported over the first file.
        engine::Sheet& small = book.addSheet(u"征订登记2");
        fillRegister(small, 4, 8);
        desktop::PrintPreview wide(nullptr, small, std::nullopt, QStringLiteral("Ombrell.xls"));
        wide.setup().orientation = QPageLayout::Landscape;
        wide.setup().groupPerPage = true;
        QVERIFY(wide.exportPdf(pdf.toStdString()));
        const QString wideInfo = poppler(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(wideInfo.contains(QRegularExpression(
                     QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts"))),
                 qPrintable(wideInfo));
        QVERIFY2(wideInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+4\\n"))),
                 qPrintable(wideInfo));
        QVERIFY(pageText(pdf, 1).contains(QStringLiteral("征订年度")));
        QVERIFY(pageText(pdf, 4).contains(QStringLiteral("单位4")));

        // An export that cannot be written says so.
        QVERIFY(!wide.exportPdf("/nonexistent-folder/out.pdf"));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "print_test.moc"
