// The real program on the screen (offscreen platform), driven as a clerk drives it: the toolbar's
// commands and their dialogs, typing into the register (a refused list value too), groups collapsed and
// expanded, result windows saved, the register closed with each answer to the save question, and a
// register whose file holds macros saved only once the warning is answered.

#include "desktop/grid_view.h"
#include "desktop/outline_gutter.h"
#include "desktop/run.h"
#include "engine/automation/application.h"
#include "engine/core/text.h"
#include "engine/xls/xls.h"
#include "platform/profile/profile.h"
#include "platform/profile/program_folder.h"
#include "screen.h"
#include "session_driver.h"
#include "tests/engine/xls/macro_project.h"
#include "varnel/app/winmain.h"
#include "varnel/res/resources.h"

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

using screen::modal;
using screen::modalText;
using screen::spreadsheet;

namespace {

const QString kRegister = QStringLiteral("Ombrell.xls");

std::u16string u(const QString& s) {
    return s.toStdU16String();
}

// The cell of a saved workbook's sheet as text.
QString savedCell(const std::filesystem::path& file, const char16_t* sheet, const char* address) {
    auto read = engine::xls::readWorkbook(file);
    const engine::Sheet* s = read.workbook->findSheet(sheet);
    auto at = engine::parseArea(text::toUtf16(address));
    if (!s || !at)
        return QStringLiteral("<missing>");
    engine::Value v = s->value(at->top, at->left);
    return v.isEmpty() ? QString() : QString::fromStdU16String(engine::toText(v));
}

bool hasModal(const QString& containing) {
    return modal() && modalText().contains(containing);
}

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    std::filesystem::path path(const char* name) const {
        return std::filesystem::path(folder_.filePath(name).toStdString());
    }

    // Runs the program as its executable does, on a fresh copy of the bundled files (then `prepare`d),
    // while a session driver plays the user. Returns the exit code.
    int runProgram(const std::function<void()>& prepare = {}) {
        for (const char* name : {"Ombrell.xls", "TessikConfig.ini"}) {
            std::filesystem::remove(path(name));
            std::filesystem::copy_file(std::filesystem::path(VARNEL_DATA_DIR) / name, path(name));
        }
        if (prepare)
            prepare();
        profile::setProgramFolder(text::toUtf16(folder_.path().toStdString() + "/"));
        int argc = 1;
        char name[] = "varnel";
        char* argv[] = {name, nullptr};
        int code = desktop::runOnScreen(argc, argv, [] {
            engine::automation::registerApplicationClass();
            return wWinMain(res::instance(), nullptr, nullptr, 0);
        });
        profile::setProgramFolder(u"");
        return code;
    }

private slots:
    void clerkKeepsTheRegister();
    void closingAsksToSave_data();
    void closingAsksToSave();
    void aRegisterWithMacrosIsSavedOnlyOnceTheWarningIsAnswered();
    void anEntryRowCopiedAndPastedIsAnEntryOfItsOwn();
};

void SessionTest::clerkKeepsTheRegister() {
    const QString year = QString::number(QDate::currentDate().year());
    desktop::SpreadsheetWindow* reg = nullptr;
    desktop::SpreadsheetWindow* result = nullptr;
    SessionDriver user;
    auto registerShown = [&] {
        return (reg = spreadsheet(kRegister)) != nullptr;
    };
    auto noModal = [] {
        return modal() == nullptr;
    };

    user.then("the register window", registerShown,
              [&] {
                  // The program has locked the spreadsheet's own bars and hidden its formula bar.
                  QVERIFY(!reg->menuBar()->isEnabled());
                  QVERIFY(!reg->findChild<QWidget*>(QStringLiteral("formulaBar"))->isVisible());
                  QVERIFY(!screen::clickTool(reg, QStringLiteral("保存")));
                  QVERIFY(screen::clickTool(reg, QStringLiteral("增加征订单位")));
              })
        .then(
            "the unit name input box", [] { return hasModal(QStringLiteral("请输入单位名称")); },
            [] {
                screen::enterText(modal(), QStringLiteral("第一中学"));
                screen::clickButton(modal(), QStringLiteral("确定"));
            })
        .then(
            "the first unit block",
            [&] { return noModal() && screen::cellText(*reg, "A2") == QStringLiteral("第一中学"); },
            [&] { QVERIFY(screen::clickTool(reg, QStringLiteral("增加征订单位"))); })
        .then(
            "the input box again", [] { return hasModal(QStringLiteral("请输入单位名称")); },
            [] {
                screen::enterText(modal(), QStringLiteral("第二中学"));
                screen::clickButton(modal(), QStringLiteral("确定"));
            })
        .then(
            "the second unit block",
            [&] { return noModal() && screen::cellText(*reg, "A6") == QStringLiteral("第二中学"); },
            [&] {
                QCOMPARE(screen::cellText(*reg, "B7"), QStringLiteral("资料名称"));
                // A material outside the entry row's list is refused with the stop message.
                screen::typeIntoCell(*reg, "B4", QStringLiteral("不存在的资料"));
            })
        .then(
            "the stop message", [] { return hasModal(QStringLiteral("输入值非法")); },
            [] { screen::clickButton(modal(), QStringLiteral("取消")); })
        .then("the refused value dropped", noModal,
              [&] {
                  QCOMPARE(screen::cellText(*reg, "B4"), QString());
                  screen::typeIntoCell(*reg, "B4", QStringLiteral("不存在的资料"));
              })
        .then(
            "the stop message again", [] { return hasModal(QStringLiteral("输入值非法")); },
            [] { screen::clickButton(modal(), QStringLiteral("重试")); })
        .then(
            "the editor open again", [&] { return noModal() && reg->grid().editing(); },
            [&] { screen::typeIntoCell(*reg, "B4", QStringLiteral("报纸")); })
        .then(
            "the entry accepted", [&] { return screen::cellText(*reg, "B4") == QStringLiteral("报纸"); },
            [&] {
                // The program's change handler ran: the unit's name in G, and the separator row below taken
                // into the group as a fresh entry row.
                QCOMPARE(screen::cellText(*reg, "G4"), QStringLiteral("第一中学"));
                QCOMPARE(reg->gutter().groups().front().last, 4);
                QCOMPARE(screen::cellText(*reg, "A6"), QStringLiteral("第二中学"));
                screen::typeIntoCell(*reg, "A4", year);
                screen::typeIntoCell(*reg, "C4", QStringLiteral("3"));
                screen::typeIntoCell(*reg, "D4", QStringLiteral("12"));
            })
        .then(
            "the amount", [&] { return screen::cellText(*reg, "E4") == QStringLiteral("36"); },
            [&] {
                QCOMPARE(screen::cellText(*reg, "A4"), year);
                QCOMPARE(screen::cellText(*reg, "C2"), QStringLiteral("36"));
                // Collapse the first unit's group with its button, then open it again.
                const auto& groups = reg->gutter().groups();
                QVERIFY(!groups.empty());
                QTest::mouseClick(&reg->gutter(), Qt::LeftButton, {},
                                  reg->gutter().groupButton(groups.front()).center());
            })
        .then(
            "the group collapsed", [&] { return reg->grid().isRowHidden(3); },
            [&] {
                QVERIFY(reg->grid().isRowHidden(2));
                QVERIFY(!reg->grid().isRowHidden(1));
                QTest::mouseClick(&reg->gutter(), Qt::LeftButton, {},
                                  reg->gutter().groupButton(reg->gutter().groups().front()).center());
            })
        .then(
            "the group expanded", [&] { return !reg->grid().isRowHidden(3); },
            [&] { QVERIFY(screen::clickTool(reg, QStringLiteral("添加资料名称"))); })
        .then(
            "the material name dialog", [] { return hasModal(QStringLiteral("请输入要添加的资料名称")); },
            [] {
                screen::enterText(modal(), QStringLiteral("  期刊 "));
                screen::clickButton(modal(), QStringLiteral("确定"));
            })
        .then("the name stored", noModal,
              [&] {
                  std::u16string kinds = profile::readString(u"征订资料", u"征订资料种类", u"",
                                                             u(folder_.filePath("TessikConfig.ini")));
                  QVERIFY(kinds.ends_with(u",期刊"));
                  QVERIFY(screen::clickTool(reg, QStringLiteral("查找指定资料")));
              })
        .then(
            "the query dialog", [] { return hasModal(QStringLiteral("查询指定资料征订情况")); },
            [] {
                screen::enterText(modal(), QStringLiteral("报纸"));
                screen::clickButton(modal(), QStringLiteral("确定"));
            })
        .then(
            "the query's result window",
            [&] { return noModal() && (result = spreadsheet(QStringLiteral("Book1"))); },
            [&] {
                QCOMPARE(screen::cellText(*result, "B1"), QStringLiteral("被查询资料名称"));
                QCOMPARE(screen::cellText(*result, "B2"), QStringLiteral("报纸"));
                QCOMPARE(screen::cellText(*result, "G2"), QStringLiteral("第一中学"));
                // A result is the user's own workbook: its bars work, and it can be saved as .xls.
                screen::selectCell(*result, "B2");
                QVERIFY(screen::clickTool(result, QStringLiteral("复制")));
                screen::selectCell(*result, "B5");
                QVERIFY(screen::clickTool(result, QStringLiteral("粘贴")));
                QCOMPARE(screen::cellText(*result, "B5"), QStringLiteral("报纸"));
                QVERIFY(screen::clickTool(result, QStringLiteral("另存为")));
            })
        .then(
            "the save-as dialog", [] { return dynamic_cast<QFileDialog*>(modal()) != nullptr; },
            [&] {
                auto* dialog = dynamic_cast<QFileDialog*>(modal());
                dialog->setDirectory(folder_.path());
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QVERIFY(name);
                name->setText(QStringLiteral("result.xls"));
                QMetaObject::invokeMethod(dialog, "accept");
            })
        .then(
            "the result saved", [&] { return noModal() && spreadsheet(QStringLiteral("result.xls")); },
            [&] {
                QCOMPARE(savedCell(path("result.xls"), u"Sheet1", "B5"), QStringLiteral("报纸"));
                // Saved, so closing asks nothing.
                QVERIFY(screen::clickTool(spreadsheet(QStringLiteral("result.xls")), QStringLiteral("关闭")));
            })
        .then(
            "the result window closed", [] { return screen::spreadsheetCount() == 1; },
            [&] { QVERIFY(screen::clickTool(reg, QStringLiteral("输出征订情况"))); })
        .then(
            "the unit dialog", [] { return hasModal(QStringLiteral("查询指定资料征订情况")); },
            [] {
                screen::enterText(modal(), QStringLiteral("第一中学"));
                screen::clickButton(modal(), QStringLiteral("确定"));
            })
        .then(
            "the status window", [&] { return noModal() && (result = spreadsheet(QStringLiteral("Book1"))); },
            [&] {
                QCOMPARE(screen::cellText(*result, "A1"), QStringLiteral("第一中学"));
                result->close();
            })
        .then(
            "the save question of the result", [] { return hasModal(QStringLiteral("Book1")); },
            [] { screen::clickButton(modal(), QStringLiteral("否")); })
        .then(
            "the status window closed", [&] { return noModal() && screen::spreadsheetCount() == 1; }, [] {})
        .then(
            // Closing the result gives the register's grid the keyboard, and the keys of the spreadsheet
            // work there while the program keeps its bars locked.
            "the register's grid with the keyboard",
            [&] { return reg->isActiveWindow() && QApplication::focusWidget() == &reg->grid(); },
            [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier); })
        .then(
            "the register saved",
            [&] { return savedCell(path("Ombrell.xls"), u"征订登记", "A6") == QStringLiteral("第二中学"); },
            [&] { reg->close(); });

    QCOMPARE(runProgram(), 0);
    QVERIFY(user.finished());
    const auto saved = path("Ombrell.xls");
    QCOMPARE(savedCell(saved, u"征订登记", "A2"), QStringLiteral("第一中学"));
    QCOMPARE(savedCell(saved, u"征订登记", "B4"), QStringLiteral("报纸"));
    QCOMPARE(savedCell(saved, u"征订登记", "E4"), QStringLiteral("36"));
}

void SessionTest::closingAsksToSave_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("kept");
    QTest::newRow("是 saves") << QStringList{QStringLiteral("是")} << true;
    QTest::newRow("否 discards") << QStringList{QStringLiteral("否")} << false;
    // Cancelled, the workbook stays open after the program has let go of it, until closed again.
    QTest::newRow("取消 keeps it open") << QStringList{QStringLiteral("取消"), QStringLiteral("否")} << false;
}

void SessionTest::closingAsksToSave() {
    QFETCH(QStringList, answers);
    QFETCH(bool, kept);
    desktop::SpreadsheetWindow* reg = nullptr;
    SessionDriver user;
    user.then(
            "the register window", [&] { return (reg = spreadsheet(kRegister)) != nullptr; },
            [&] { screen::typeIntoCell(*reg, "H2", QStringLiteral("note")); })
        .then(
            "the typed note", [&] { return screen::cellText(*reg, "H2") == QStringLiteral("note"); },
            [&] { reg->close(); });
    for (int i = 0; i < answers.size(); ++i) {
        QString answer = answers[i];
        user.then(
            "the save question", [] { return hasModal(kRegister); },
            [answer] { screen::clickButton(modal(), answer); });
        if (i + 1 < answers.size())
            user.then(
                "the register still open", [] { return !modal() && spreadsheet(kRegister); },
                [] { spreadsheet(kRegister)->close(); });
    }

    QCOMPARE(runProgram(), 0);
    QVERIFY(user.finished());
    QCOMPARE(savedCell(path("Ombrell.xls"), u"征订登记", "H2"), kept ? QStringLiteral("note") : QString());
}

void SessionTest::aRegisterWithMacrosIsSavedOnlyOnceTheWarningIsAnswered() {
    std::string original;
    auto withMacros = [&] {
        engine::xls::testing::addMacroProjectName(path("Ombrell.xls"));
        std::ifstream in(path("Ombrell.xls"), std::ios::binary);
        original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    auto onDisk = [&] {
        std::ifstream in(path("Ombrell.xls"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    auto warning = [] {
        auto* box = qobject_cast<QMessageBox*>(modal());
        return box && box->objectName() == QStringLiteral("saveWarning") && box->windowTitle() == kRegister &&
               box->informativeText().contains(QStringLiteral("宏"));
    };
    desktop::SpreadsheetWindow* reg = nullptr;
    SessionDriver user;
    user.then(
            "the register window", [&] { return (reg = spreadsheet(kRegister)) != nullptr; },
            [&] { screen::typeIntoCell(*reg, "H2", QStringLiteral("note")); })
        .then(
            "the typed note", [&] { return screen::cellText(*reg, "H2") == QStringLiteral("note"); },
            [&] { QTest::keyClick(&reg->grid(), Qt::Key_S, Qt::ControlModifier); })
        .then("the warning of Ctrl+S", warning, [] { screen::clickButton(modal(), QStringLiteral("否")); })
        .then(
            "the register unsaved", [&] { return !modal(); },
            [&] {
                QCOMPARE(onDisk(), original);
                QVERIFY(reg->isWindowModified());
                reg->close();
            })
        // The program's own question as the register closes, then the same warning for its save.
        .then(
            "the save question", [] { return hasModal(QStringLiteral("是否保存")); },
            [] { screen::clickButton(modal(), QStringLiteral("是")); })
        .then("the warning of the close", warning,
              [] { screen::clickButton(modal(), QStringLiteral("是")); });

    QCOMPARE(runProgram(withMacros), 0);
    QVERIFY(user.finished());
    auto saved = engine::xls::readWorkbook(path("Ombrell.xls"));
    QVERIFY(saved.dropped.empty());
    QCOMPARE(savedCell(path("Ombrell.xls"), u"征订登记", "H2"), QStringLiteral("note"));
}

// Ctrl+C and Ctrl+V of a whole entry row into the block's blank last row, as a clerk enters a second
// subscription like the first: the pasted row computes its own amount, and the block gets its next row.
void SessionTest::anEntryRowCopiedAndPastedIsAnEntryOfItsOwn() {
    desktop::SpreadsheetWindow* reg = nullptr;
    SessionDriver user;
    auto press = [&](Qt::Key key) {
        QTest::keyClick(&reg->grid(), key, Qt::ControlModifier);
    };
    user.then(
            "the register window", [&] { return (reg = spreadsheet(kRegister)) != nullptr; },
            [&] { QVERIFY(screen::clickTool(reg, QStringLiteral("增加征订单位"))); })
        .then(
            "the unit name input box", [] { return hasModal(QStringLiteral("请输入单位名称")); },
            [] {
                screen::enterText(modal(), QStringLiteral("第一中学"));
                screen::clickButton(modal(), QStringLiteral("确定"));
            })
        .then(
            "the unit block",
            [&] { return !modal() && screen::cellText(*reg, "A2") == QStringLiteral("第一中学"); },
            [&] {
                screen::typeIntoCell(*reg, "B4", QStringLiteral("报纸"));
                screen::typeIntoCell(*reg, "C4", QStringLiteral("3"));
                screen::typeIntoCell(*reg, "D4", QStringLiteral("12"));
            })
        .then(
            "the first entry", [&] { return screen::cellText(*reg, "E4") == QStringLiteral("36"); },
            [&] {
                reg->grid().selectRow(3);
                press(Qt::Key_C);
                screen::selectCell(*reg, "A5");
                press(Qt::Key_V);
            })
        .then(
            "the pasted entry", [&] { return screen::cellText(*reg, "B5") == QStringLiteral("报纸"); },
            [&] {
                QCOMPARE(reg->gutter().groups().front().last, 5);
                QCOMPARE(screen::cellText(*reg, "G5"), QStringLiteral("第一中学"));
                screen::typeIntoCell(*reg, "C5", QStringLiteral("5"));
            })
        .then(
            "the second amount", [&] { return screen::cellText(*reg, "C5") == QStringLiteral("5"); },
            [&] {
                QCOMPARE(screen::cellText(*reg, "E5"), QStringLiteral("60"));
                QCOMPARE(screen::cellText(*reg, "C2"), QStringLiteral("96"));
                reg->close();
            })
        .then(
            "the save question", [] { return hasModal(kRegister); },
            [] { screen::clickButton(modal(), QStringLiteral("否")); });

    QCOMPARE(runProgram(), 0);
    QVERIFY2(user.finished(), qPrintable(user.stuckAt()));
}

int main(int argc, char** argv) {
    // Tests run without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SessionTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "session_test.moc"
