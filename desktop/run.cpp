#include "desktop/run.h"

#include "desktop/fonts.h"
#include "desktop/prompts.h"
#include "desktop/qt_backend.h"
#include "desktop/windows.h"
#include "engine/automation/application.h"

#include <QApplication>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace desktop {

namespace {

// Qt's own buttons and dialogs in Chinese, as the program's users read them.
void installTranslations() {
    static QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtbase);
}

} // namespace

int runOnScreen(int& argc, char** argv, const std::function<int()>& program) {
    std::unique_ptr<QApplication> made;
    if (!QCoreApplication::instance())
        made = std::make_unique<QApplication>(argc, argv);
    installTranslations();
    installFonts();
    QApplication::setQuitOnLastWindowClosed(false);

    QtBackend backend;
    ui::setBackend(&backend);
    ScreenPrompts prompts(backend, engine::automation::prompts());
    engine::automation::setPrompts(&prompts);

    int result = 0;
    {
        Windows windows(backend);
        result = program();
        // The program has ended; the spreadsheet windows it leaves behind stay until the user closes them.
        windows.update();
        if (!windows.all().empty()) {
            QEventLoop rest;
            windows.onAllClosed([&rest] { rest.quit(); });
            rest.exec();
        }
    }
    engine::automation::setPrompts(nullptr);
    ui::setBackend(nullptr);
    return result;
}

} // namespace desktop
