#include "desktop/page_setup.h"

namespace desktop {

PageSetup pageSetupOf(const engine::Sheet&) {
    return {};
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
