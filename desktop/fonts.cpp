#include "desktop/fonts.h"

#include "platform/ui/user.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <algorithm>

namespace desktop {

namespace {

// Faces that always draw Chinese letterforms, best first.
const char* const cjkFaces[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                "Source Han Sans SC",  "AR PL UMing CN",   "Droid Sans Fallback"};

// The Windows faces the program and its templates name.
const char* const windowsFaces[] = {"宋体",           "SimSun",        "新宋体", "MS Shell Dlg",
                                    "MS Shell Dlg 2", "MS Sans Serif", "Tahoma", "Arial"};

QString chosen;

} // namespace

void installFonts() {
    const QStringList installed = QFontDatabase::families();
    for (const char* face : cjkFaces)
        if (installed.contains(QString::fromUtf8(face))) {
            chosen = QString::fromUtf8(face);
            break;
        }
    if (chosen.isEmpty())
        return;
    for (const char* face : windowsFaces)
        if (!installed.contains(QString::fromUtf8(face)))
            QFont::insertSubstitution(QString::fromUtf8(face), chosen);
    // Set explicitly: with several CJK faces installed Qt may otherwise pick a Japanese one.
    QFont app = QApplication::font();
    app.setFamily(chosen);
    QApplication::setFont(app);
}

QString cjkFamily() {
    return chosen;
}

QFont dialogFont(std::u16string_view face, int pointSize, int weight) {
    QFont f(QString::fromStdU16String(std::u16string(face)));
    if (!chosen.isEmpty() && !QFontDatabase::families().contains(f.family()))
        f.setFamily(chosen);
    // A Windows point is 96/72 pixels whatever the screen says.
    f.setPixelSize(MulDiv(pointSize, 96, 72));
    f.setWeight(weight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    return f;
}

QFont fontFrom(const LOGFONTW& lf) {
    QFont f = dialogFont(std::u16string_view(lf.lfFaceName), 9, int(lf.lfWeight));
    if (lf.lfHeight < 0)
        f.setPixelSize(int(-lf.lfHeight));
    else if (lf.lfHeight > 0)
        f.setPixelSize(std::max(1, int(lf.lfHeight) * 7 / 8)); // the cell height includes the leading
    f.setItalic(lf.lfItalic != 0);
    return f;
}

SIZE baseUnits(const QFont& font) {
    QFontMetrics m(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = m.horizontalAdvance(letters);
    return {(width / 26 + 1) / 2, m.height()};
}

} // namespace desktop
