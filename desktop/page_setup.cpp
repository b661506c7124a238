#include "desktop/page_setup.h"

#include <algorithm>

namespace desktop {

namespace {

// Excel's paper numbers for the sizes a register is printed on.
QPageSize::PageSizeId paperOf(std::uint16_t excelPaper) {
    switch (excelPaper) {
    case 1:
        return QPageSize::Letter;
    case 5:
        return QPageSize::Legal;
    case 8:
        return QPageSize::A3;
    case 11:
        return QPageSize::A5;
    case 12:
        return QPageSize::JisB4;
    case 13:
        return QPageSize::JisB5;
    default:
        return QPageSize::A4;
    }
}

} // namespace

PageSetup pageSetupOf(const engine::Sheet& sheet) {
    const engine::PageSetup& own = sheet.pageSetup();
    PageSetup setup;
    // A sheet whose page setup nobody chose prints with the spreadsheet's own header and footer.
    if (own == engine::PageSetup{})
        return setup;
    setup.paper = paperOf(own.paperSize);
    setup.orientation = own.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    setup.left = own.leftMargin;
    setup.right = own.rightMargin;
    setup.top = own.topMargin;
    setup.bottom = own.bottomMargin;
    setup.header = own.headerMargin;
    setup.footer = own.footerMargin;
    setup.headerText = QString::fromStdU16String(own.header);
    setup.footerText = QString::fromStdU16String(own.footer);
    setup.gridlines = own.printGridlines;
    setup.scale = own.fitToPages ? 100 : std::clamp<int>(own.scale, 10, 400);
    setup.fitToWidth = own.fitToPages && own.fitWidth == 1;
    return setup;
}

HeaderParts expandHeader(const QString& codes, const HeaderContext& context) {
    HeaderParts parts;
    QString* part = &parts.center; // text before any section code is centred
    for (qsizetype i = 0; i < codes.size(); ++i) {
        QChar c = codes[i];
        if (c != QLatin1Char('&') || i + 1 == codes.size()) {
            *part += c;
            continue;
        }
        QChar code = codes[++i].toUpper();
        switch (code.unicode()) {
        case 'L':
            part = &parts.left;
            break;
        case 'C':
            part = &parts.center;
            break;
        case 'R':
            part = &parts.right;
            break;
        case 'A':
            *part += context.sheet;
            break;
        case 'F':
            *part += context.file;
            break;
        case 'P':
            *part += QString::number(context.page);
            break;
        case 'N':
            *part += QString::number(context.pages);
            break;
        case 'D':
            *part += context.when.date().toString(QStringLiteral("yyyy/M/d"));
            break;
        case 'T':
            *part += context.when.time().toString(QStringLiteral("H:mm"));
            break;
        case '&':
            *part += QLatin1Char('&');
            break;
        case '"':
            // A font name runs to its closing quote; fonts are not printed differently here.
            while (i + 1 < codes.size() && codes[++i] != QLatin1Char('"')) {
            }
            break;
        default:
            // A font size (digits) or a style (&B, &I, &U, &S ...): no text of its own.
            while (code.isDigit() && i + 1 < codes.size() && codes[i + 1].isDigit())
                ++i;
            break;
        }
    }
    return parts;
}

} // namespace desktop
