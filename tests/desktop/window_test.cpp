// A spreadsheet window over an instance of the engine, driven by keys and the mouse as a clerk drives it:
// the clipboard with other programs, the cell menu, find, the title and the status line, the warning
// before a save that loses what a file holds, a program's result fitted and counted, and keys typed right
// after a refused entry was retried.

#include "desktop/find_dialog.h"
#include "desktop/fonts.h"
#include "desktop/grid_view.h"
#include "desktop/print_preview.h"
#include "desktop/qt_backend.h"
#include "desktop/spreadsheet_window.h"
#include "engine/automation/application.h"
#include "engine/automation/shared_clipboard.h"
#include "engine/automation/user.h"
#include "engine/xls/xls.h"
#include "screen.h"
#include "session_driver.h"
#include "tests/engine/xls/macro_project.h"
#include "varnel/excel/excel.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace user = engine::automation::user;
using engine::automation::Application;

namespace {

// Keys typed right after a click, delivered while the program is still handling it, as the window system
// hands over keys that wait in its queue: each reaches whatever has the keyboard at that moment, and is
// lost when nothing has it.
void typeAhead(const QString& keys) {
    for (QChar c : keys) {
        QWidget* to = QApplication::focusWidget();
        if (!to)
            continue;
        if (c == QLatin1Char('\t'))
            QTest::keyClick(to, Qt::Key_Tab);
        else
            QTest::keyClick(to, c.toLatin1());
    }
}

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    desktop::QtBackend backend_;
    ComPtr<Application> app_;
    Excel::_WorksheetPtr sheet_;
    std::unique_ptr<desktop::SpreadsheetWindow> window_;
    QTemporaryDir folder_;

    Excel::RangePtr range(const char16_t* a1) { return sheet_->GetRange(Variant(a1)); }
    QString shown(const char16_t* a1) { return QString::fromStdU16String(user::cell(*app_, {}, a1).shown); }
    desktop::GridView& grid() { return window_->grid(); }
    void select(const char16_t* a1) {
        user::select(*app_, {}, a1);
        window_->refresh();
    }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(&grid(), Qt::Key(key), mods);
        window_->refresh();
    }
    // Shows the instance's workbook in a window with the keyboard in its grid.
    void show() {
        app_->PutVisible(VARIANT_TRUE);
        window_ = std::make_unique<desktop::SpreadsheetWindow>(app_, backend_);
        // Questions the window asks are shown over it.
        backend_.setOwnerLookup(
            [this](HWND h) -> QWidget* { return h == window_->handle() ? window_.get() : nullptr; });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->takeKeyboard();
        QTRY_VERIFY(window_->isActiveWindow());
    }

private slots:
    void initTestCase() {
        desktop::installFonts();
        ui::setBackend(&backend_);
        engine::automation::registerApplicationClass();
        CoInitialize(nullptr);
    }
    void cleanupTestCase() {
        CoUninitialize();
        ui::setBackend(nullptr);
    }
    void init() {
        Excel::_ApplicationPtr client;
        QCOMPARE(createInstance(client, u"Excel.Application"), S_OK);
        app_ = ComPtr<Application>(static_cast<Application*>(client.get()));
        sheet_ = client->GetWorkbooks()->Add()->GetWorksheets()->GetItem(Variant(1));
    }
    void cleanup() {
        backend_.setOwnerLookup(nullptr);
        window_.reset();
        sheet_ = nullptr;
        for (const auto& book : app_->books())
            book->markSaved();
        user::quit(*app_);
        app_ = nullptr;
        QGuiApplication::clipboard()->clear();
        engine::automation::clipboard().reset();
    }

    void cutCopyAndPasteGoThroughTheSpreadsheetAndTheDesktopsClipboard();
    void theCellMenuFollowsTheLockOfItsBar();
    void findSelectsTheCellAndSaysWhenNothingMatches();
    void theTitleMarksUnsavedChangesAndTheStatusLineSaysSavedAndSums();
    void theFirstSaveOverAFileWithWhatIsNotKeptWarnsNamingIt();
    void aResultHasItsColumnsWidenedToWhatTheyShowAndItsRowsCounted();
    void ctrlPPreviewsTheSheetOrTheSelectionAndGivesTheKeyboardBack();
    void keysTypedRightAfterARetryReachTheEditorAndACancelGivesTheGridTheKeyboard();
    void closingWhileACellIsEditedEntersItFirst();
    void aWindowTakenAwayWhileACellIsEditedLeavesTheSheetAsItWas();
};

void WindowTest::cutCopyAndPasteGoThroughTheSpreadsheetAndTheDesktopsClipboard() {
    range(u"A4")->PutValue2(Variant(u"报纸"));
    range(u"C4")->PutValue2(Variant(3));
    range(u"D4")->PutValue2(Variant(12));
    range(u"E4")->PutFormula(Variant(u"=C4*D4"));
    show();
    select(u"A4:E4");
    press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("报纸\t\t3\t12\t36\r\n"));
    select(u"A6");
    press(Qt::Key_V, Qt::ControlModifier);
    // Within the spreadsheet the formula comes along, moved with the paste.
    QCOMPARE(user::cell(*app_, {}, u"E6").formula, u"=C6*D6");
    QCOMPARE(screen::cellText(*window_, "E6"), QStringLiteral("36"));

    // Text another program copied is what a paste takes then.
    QGuiApplication::clipboard()->setText(QStringLiteral("期刊\t\t2\t5\n"));
    select(u"A8");
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(u"A8"), QStringLiteral("期刊"));
    QCOMPARE(user::cell(*app_, {}, u"D8").value, engine::Value::number(5));

    // A cut moves the cells with the next paste, and only with that one.
    select(u"C6:D6");
    press(Qt::Key_X, Qt::ControlModifier);
    select(u"C10");
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(u"C6"), QString());
    QCOMPARE(shown(u"D10"), QStringLiteral("12"));
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    select(u"C12");
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(u"C12"), QString());
    QVERIFY(!screen::modal());
}

void WindowTest::theCellMenuFollowsTheLockOfItsBar() {
    range(u"B2")->PutValue2(Variant(7));
    show();
    select(u"B2");
    QMenu* menu = window_->cellMenu();
    QStringList items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            items << a->text().remove(QLatin1Char('&'));
    QCOMPARE(items, (QStringList{"剪切(T)", "复制(C)", "粘贴(P)", "清除内容(N)"}));
    QVERIFY(menu->actions()[0]->isEnabled());
    QVERIFY(!menu->actions()[2]->isEnabled()); // nothing to paste yet
    menu->actions()[1]->trigger();
    QVERIFY(window_->cellMenu()->actions()[2]->isEnabled());
    window_->cellMenu()->actions()[4]->trigger();
    QCOMPARE(shown(u"B2"), QString());
    // A program that locks the spreadsheet's bars locks the cell menu with them; the keys still work.
    app_->commandBars().find(u"Cell")->PutEnabled(VARIANT_FALSE);
    for (QAction* a : window_->cellMenu()->actions())
        QVERIFY(a->isSeparator() || !a->isEnabled());
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown(u"B2"), QStringLiteral("7"));
}

void WindowTest::findSelectsTheCellAndSaysWhenNothingMatches() {
    range(u"A2")->PutValue2(Variant(u"第一中学"));
    range(u"A40")->PutValue2(Variant(u"第二中学"));
    show();
    press(Qt::Key_F, Qt::ControlModifier);
    auto* dialog = window_->findChild<desktop::FindDialog*>();
    QVERIFY(dialog && dialog->isVisible());
    QTest::keyClicks(&dialog->field(), "");
    screen::typeText(&dialog->field(), QStringLiteral("第二"));
    screen::clickButton(dialog, QStringLiteral("查找下一个(F)"));
    QCOMPARE(grid().currentIndex().row(), 39);
    QVERIFY(grid().visualRect(grid().currentIndex()).intersects(grid().viewport()->rect()));
    dialog->field().selectAll();
    screen::typeText(&dialog->field(), QStringLiteral("第三"));
    screen::clickButton(dialog, QStringLiteral("查找下一个(F)"));
    QCOMPARE(dialog->message().text(), QStringLiteral("找不到正在搜索的数据。"));
    QCOMPARE(grid().currentIndex().row(), 39);
    screen::clickButton(dialog, QStringLiteral("关闭"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&grid()));
}

void WindowTest::theTitleMarksUnsavedChangesAndTheStatusLineSaysSavedAndSums() {
    const std::filesystem::path file = folder_.filePath("book.xls").toStdString();
    user::save(*app_, {}, file);
    show();
    QCOMPARE(window_->windowTitle(), QStringLiteral("book.xls[*]"));
    QVERIFY(!window_->isWindowModified());
    screen::typeIntoCell(*window_, "B1", QStringLiteral("1"));
    screen::typeIntoCell(*window_, "B2", QStringLiteral("2.5"));
    screen::typeIntoCell(*window_, "B3", QStringLiteral("note"));
    window_->refresh();
    QVERIFY(window_->isWindowModified());
    press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!window_->isWindowModified());
    QVERIFY(window_->statusText().startsWith(QStringLiteral("已保存")));
    select(u"B1:B4");
    QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("statusTotals"))->text(),
             QStringLiteral("平均值: 1.75    计数: 3    求和: 3.5"));
    QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("statusRows"))->text(), QStringLiteral("共 3 行"));
    // The next change ends "已保存".
    screen::typeIntoCell(*window_, "C1", QStringLiteral("x"));
    window_->refresh();
    QVERIFY(window_->isWindowModified());
    QVERIFY(window_->statusText().startsWith(QStringLiteral("就绪")));
}

void WindowTest::theFirstSaveOverAFileWithWhatIsNotKeptWarnsNamingIt() {
    const std::filesystem::path plain = folder_.filePath("plain.xls").toStdString();
    const std::filesystem::path withMacros = folder_.filePath("Ombrell.xls").toStdString();
    range(u"A1")->PutValue2(Variant(u"征订单位"));
    QVERIFY(user::save(*app_, {}, plain).done);
    std::filesystem::copy_file(plain, withMacros);
    engine::xls::testing::addMacroProjectName(withMacros);
    const std::string original = bytesOf(withMacros);

    // Every warning is answered with `answer` (Enter when empty) and noted with what it says; any other
    // box is noted too.
    QString answer;
    QStringList warnings, others;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(screen::modal());
        if (!box)
            return;
        if (box->objectName() == QStringLiteral("saveWarning")) {
            warnings << box->text() + QLatin1Char('\n') + box->informativeText();
            if (answer.isEmpty())
                QTest::keyClick(box, Qt::Key_Return);
            else
                screen::clickButton(box, answer);
        } else {
            others << box->text();
            box->done(0);
        }
    });
    watch.start(10);

    show();
    screen::typeIntoCell(*window_, "B1", QStringLiteral("1"));
    press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!window_->isWindowModified());
    QVERIFY2(warnings.isEmpty(), "a file that loses nothing is saved without a warning");

    app_->GetWorkbooks()->Open(withMacros.u16string());
    window_->refresh();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Ombrell.xls[*]"));
    screen::typeIntoCell(*window_, "B1", QStringLiteral("2"));
    press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(QStringLiteral("Ombrell.xls")) &&
                 warnings[0].contains(QStringLiteral("宏")),
             qPrintable(warnings[0]));
    // Enter keeps the file: the file as it was, the change still to save, and nothing more said.
    QCOMPARE(bytesOf(withMacros), original);
    QVERIFY(window_->isWindowModified());
    QVERIFY2(others.isEmpty(), qPrintable(others.join(QLatin1Char('|'))));

    // Keys typed as a question closes reach the window once it is back in its event loop.
    answer = QStringLiteral("是");
    press(Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(warnings.size(), 2);
    QTRY_VERIFY(!window_->isWindowModified());
    QVERIFY(engine::xls::readWorkbook(withMacros).dropped.empty());
    screen::typeIntoCell(*window_, "B2", QStringLiteral("3"));
    QTRY_VERIFY(window_->isWindowModified());
    press(Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(!window_->isWindowModified());
    QCOMPARE(warnings.size(), 2);
    QVERIFY(others.isEmpty());
}

void WindowTest::aResultHasItsColumnsWidenedToWhatTheyShowAndItsRowsCounted() {
    // As a program hands over a result: a new workbook, its widths set, then made visible.
    range(u"A1")->PutValue2(Variant(u"被查询资料名称"));
    range(u"A2")->PutValue2(Variant(u"2026年度杂志"));
    range(u"A3")->PutValue2(Variant(u"报纸"));
    range(u"B1")->PutValue2(Variant(u"数量"));
    range(u"B:B")->PutColumnWidth(Variant(30));
    show();
    double a = user::sheet(*app_).column(0).width;
    QVERIFY2(a > 14 && a < 16, qPrintable(QString::number(a))); // seven wide characters, and a margin
    QCOMPARE(user::sheet(*app_).column(1).width, 30.0);         // never narrower than it was made
    QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("statusRows"))->text(), QStringLiteral("共 3 行"));
}

void WindowTest::ctrlPPreviewsTheSheetOrTheSelectionAndGivesTheKeyboardBack() {
    // Two pages in portrait: 70 rows of 17 pixels, 54 to a page.
    for (int r = 1; r <= 70; ++r)
        range(QStringLiteral("A%1").arg(r).toStdU16String().c_str())->PutValue2(Variant(r));
    show();
    select(u"A1:A10");
    int wholeSheet = 0, selection = 0;
    QString lastPage;
    SessionDriver user;
    user.then(
        "the print preview", [] { return dynamic_cast<desktop::PrintPreview*>(screen::modal()) != nullptr; },
        [&] {
            auto* preview = dynamic_cast<desktop::PrintPreview*>(screen::modal());
            wholeSheet = preview->pageCount();
            // PageDown turns to the last page and stays there, typed where the pages are shown.
            auto* pages = preview->findChild<QWidget*>(QStringLiteral("pages"));
            pages->setFocus();
            QTest::keyClick(pages, Qt::Key_PageDown);
            QTest::keyClick(pages, Qt::Key_PageDown);
            lastPage = preview->findChild<QLabel*>(QStringLiteral("pageLabel"))->text();
            preview->setSelectionOnly(true);
            selection = preview->pageCount();
            screen::clickTool(preview, QStringLiteral("关闭"));
        });
    press(Qt::Key_P, Qt::ControlModifier);
    QTRY_VERIFY(user.finished() && !screen::modal());
    QCOMPARE(wholeSheet, 2);
    QCOMPARE(lastPage, QStringLiteral("第 2 页，共 2 页"));
    QCOMPARE(selection, 1);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&grid()));
}

void WindowTest::keysTypedRightAfterARetryReachTheEditorAndACancelGivesTheGridTheKeyboard() {
    range(u"A4")->GetValidation()->Add(Excel::xlValidateList, Variant(1), Variant(1), Variant(u"2025,2026"));
    show();
    SessionDriver user;
    user.then(
        "the stop message", [] { return screen::modalText().contains(QStringLiteral("输入值非法")); },
        [&] {
            screen::clickButton(screen::modal(), QStringLiteral("重试"));
            typeAhead(QStringLiteral("2025\t3\t"));
        });
    screen::selectCell(*window_, "A4");
    QTest::keyClick(&grid(), Qt::Key_2);
    QTest::keyClicks(QApplication::focusWidget(), "024");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(shown(u"B4"), QStringLiteral("3"));
    QCOMPARE(shown(u"A4"), QStringLiteral("2025"));
    // Nothing of the refused entry is left over to land in the next cell.
    QVERIFY(!grid().editing());
    QCOMPARE(grid().currentIndex(), grid().model()->index(3, 2));
    QCOMPARE(shown(u"C4"), QString());
    QVERIFY(user.finished());

    // Given up, the entry is dropped and the keyboard is the grid's again.
    SessionDriver cancel;
    cancel.then(
        "the stop message again", [] { return screen::modalText().contains(QStringLiteral("输入值非法")); },
        [] { screen::clickButton(screen::modal(), QStringLiteral("取消")); });
    screen::selectCell(*window_, "A4");
    QTest::keyClick(&grid(), Qt::Key_9);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(cancel.finished() && !screen::modal());
    QCOMPARE(shown(u"A4"), QStringLiteral("2025"));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&grid()));
}

// An entry still being typed when the window is closed goes in first, as the spreadsheet enters it:
// the close then asks about saving it, and a refused entry keeps the window open.
void WindowTest::closingWhileACellIsEditedEntersItFirst() {
    range(u"A4")->GetValidation()->Add(Excel::xlValidateList, Variant(1), Variant(1), Variant(u"2025,2026"));
    for (const auto& book : app_->books())
        book->markSaved();
    show();
    screen::selectCell(*window_, "B1");
    QTest::keyClick(&grid(), Qt::Key_7);
    QVERIFY(grid().editing());
    SessionDriver keep;
    keep.then(
        "the save question", [] { return screen::modalText().contains(QStringLiteral("是否保存")); },
        [&] {
            QCOMPARE(shown(u"B1"), QStringLiteral("7"));
            screen::clickButton(screen::modal(), QStringLiteral("取消"));
        });
    window_->close();
    QTRY_VERIFY(keep.finished() && !screen::modal());
    QVERIFY(window_->isVisible());
    QVERIFY(app_->running());

    // A refused entry: 取消 drops it and the close goes on, with nothing more to save than before.
    screen::selectCell(*window_, "A4");
    QTest::keyClick(&grid(), Qt::Key_9);
    QTRY_VERIFY(grid().editing());
    // 重试 gives the entry back to be typed again, and the window stays.
    SessionDriver retry;
    retry.then(
        "the stop message", [] { return screen::modalText().contains(QStringLiteral("输入值非法")); },
        [] { screen::clickButton(screen::modal(), QStringLiteral("重试")); });
    window_->close();
    QTRY_VERIFY(retry.finished() && !screen::modal());
    QTRY_VERIFY(grid().editing());
    QVERIFY(window_->isVisible());
    QVERIFY(app_->running());
    SessionDriver refuse;
    refuse
        .then(
            "the stop message", [] { return screen::modalText().contains(QStringLiteral("输入值非法")); },
            [] { screen::clickButton(screen::modal(), QStringLiteral("取消")); })
        .then(
            "the save question", [] { return screen::modalText().contains(QStringLiteral("是否保存")); },
            [&] {
                QCOMPARE(shown(u"A4"), QString());
                screen::clickButton(screen::modal(), QStringLiteral("否"));
            });
    window_->close();
    QTRY_VERIFY(refuse.finished() && !screen::modal());
    QVERIFY(!app_->running());
}

// The window can go without a close of its own (the instance is quit or hidden under it): the editor
// then has nothing to enter into, and the entry is dropped without a word.
void WindowTest::aWindowTakenAwayWhileACellIsEditedLeavesTheSheetAsItWas() {
    show();
    screen::selectCell(*window_, "B1");
    QTest::keyClick(&grid(), Qt::Key_7);
    QVERIFY(grid().editing());
    window_.reset();
    QCoreApplication::processEvents();
    QVERIFY(!screen::modal());
    QCOMPARE(shown(u"B1"), QString());
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
