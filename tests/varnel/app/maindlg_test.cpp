#include "engine/automation/application.h"
#include "engine/automation/user.h"
#include "platform/profile/profile.h"
#include "platform/profile/program_folder.h"
#include "platform/ui/headless.h"
#include "platform/ui/module.h"
#include "platform/ui/userinput.h"
#include "platform/ui/window.h"
#include "varnel/app/error_report.h"
#include "varnel/app/maindlg.h"
#include "varnel/app/winmain.h"
#include "varnel/res/resources.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using engine::automation::Application;

constexpr const char16_t* kCaptions[] = {u"增加征订单位", u"添加资料名称", u"查找指定资料", u"输出征订情况"};

// A program folder with a configuration file and a register, and a spreadsheet class whose new instances
// already hold the register open (as if read from the file), so that the start-up finds it there.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("varnel-maindlg-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        folderText = text::toUtf16(folder.string()) + u"/";
        profile::setProgramFolder(folderText);
        writeConfig(u"报纸,杂志,图书", u"读者");
        std::ofstream(folder / "Ombrell.xls") << "register";

        registerSpreadsheet();
        ui::setBackend(&user);
        user.onRecord([this](const ui::Record& r) { shown.push_back(r); });
        ui::setTraceHandler([this](const std::string& line) { traces += line; });
        module.Init(nullptr, res::instance());
    }

    void TearDown() override {
        for (auto& app : engine::automation::runningInstances())
            app->quit();
        module.Term();
        ui::setTraceHandler(nullptr);
        ui::setBackend(nullptr);
        profile::setProgramFolder(u"");
        fs::remove_all(folder);
    }

    void writeConfig(std::u16string kinds, std::u16string magazine) {
        std::u16string path = folderText + u"TessikConfig.ini";
        ASSERT_TRUE(WritePrivateProfileStringW(u"征订资料", u"征订资料种类", kinds.c_str(), path.c_str()));
        ASSERT_TRUE(WritePrivateProfileStringW(u"征订资料", u"杂志", magazine.c_str(), path.c_str()));
    }

    void registerSpreadsheet() {
        registerClass(u"Excel.Application", engine::automation::CLSID_Application, [this] {
            ComPtr<Application> app = Application::create();
            if (disableBeforeStart >= 0)
                app->commandBars().bars()[disableBeforeStart]->PutEnabled(VARIANT_FALSE);
            auto model = std::make_unique<engine::Workbook>();
            for (const char16_t* name : registerSheets)
                model->addSheet(name);
            app->addBook(std::move(model), u"Ombrell.xls", fs::path(folderText + u"Ombrell.xls"),
                         Excel::AppEvents::WorkbookOpen);
            return ComPtr<IUnknown>(static_cast<IUnknown*>(static_cast<Excel::_Application*>(app.get())));
        });
    }

    // Runs the main dialog; `whileRunning` acts as the user once the start-up is done. A dialog still
    // open afterwards is ended as an unanswered one (Enter: OK).
    INT_PTR run(const std::function<void(CMainDlg&)>& whileRunning = {}) {
        CMainDlg dlg;
        user.setUser([&] {
            if (whileRunning)
                whileRunning(dlg);
            return false;
        });
        INT_PTR result = dlg.DoModal(nullptr);
        user.setUser(nullptr);
        return result;
    }

    static Application& program() { return *engine::automation::runningInstances().at(0); }

    static std::vector<std::u16string> disabledBars(Application& app) {
        std::vector<std::u16string> names;
        for (const auto& bar : app.commandBars().bars())
            if (!bar->enabled())
                names.push_back(bar->name());
        return names;
    }

    static std::vector<bool> connected(CMainDlg& dlg) {
        return {dlg.AppSink<1>::isConnected(),    dlg.AppSink<2>::isConnected(),
                dlg.ButtonSink<3>::isConnected(), dlg.ButtonSink<4>::isConnected(),
                dlg.ButtonSink<5>::isConnected(), dlg.ButtonSink<6>::isConnected()};
    }

    std::vector<const ui::Record*> messageBoxes() const {
        std::vector<const ui::Record*> boxes;
        for (const ui::Record& r : shown)
            if (r.kind == ui::Record::Kind::MessageBox)
                boxes.push_back(&r);
        return boxes;
    }

    fs::path folder;
    std::u16string folderText;
    std::vector<const char16_t*> registerSheets{u"征订登记", u"Sheet2"};
    int disableBeforeStart = -1;
    CAppModule module;
    ui::HeadlessBackend user;
    std::vector<ui::Record> shown;
    std::string traces;
};

TEST_F(ProgramTest, StartUpHidesTheDialogLocksTheBarsAndConnectsSixSinks) {
    run([&](CMainDlg& dlg) {
        const ui::Window* window = ui::findWindow(dlg.m_hWnd);
        ASSERT_TRUE(window);
        EXPECT_EQ(window->rect.width(), 0);
        EXPECT_EQ(window->rect.height(), 0);
        EXPECT_TRUE(window->exStyle & WS_EX_TOOLWINDOW);
        EXPECT_FALSE(window->exStyle & WS_EX_APPWINDOW);
        EXPECT_TRUE(window->bigIcon);
        EXPECT_TRUE(window->smallIcon);

        Application& app = program();
        EXPECT_EQ(app.GetVisible(), VARIANT_TRUE);
        EXPECT_EQ(app.GetDisplayFormulaBar(), VARIANT_FALSE);
        EXPECT_EQ(dlg._epBook->GetName(), u"Ombrell.xls");
        EXPECT_EQ(dlg._epSheet->GetName(), u"征订登记");
        EXPECT_EQ(dlg.configPath, folderText + u"TessikConfig.ini");
        EXPECT_EQ(dlg.materialKinds, u"报纸,杂志,图书");
        EXPECT_EQ(dlg.magazineName, u"读者");

        const auto& bars = app.commandBars().bars();
        ASSERT_GE(bars.size(), 2u);
        for (size_t i = 0; i + 1 < bars.size(); ++i)
            EXPECT_FALSE(bars[i]->enabled()) << text::toUtf8(bars[i]->name());
        const auto& toolbar = *bars.back();
        EXPECT_EQ(toolbar.name(), u"Kestrova");
        EXPECT_TRUE(toolbar.enabled());
        EXPECT_TRUE(toolbar.visible());
        EXPECT_TRUE(toolbar.temporary());
        ASSERT_EQ(toolbar.buttons().size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(toolbar.buttons()[i]->GetCaption(), kCaptions[i]);
            EXPECT_EQ(toolbar.buttons()[i]->GetStyle(), Office::msoButtonCaption);
            EXPECT_TRUE(toolbar.buttons()[i]->temporary());
        }
        EXPECT_EQ(dlg._epAddUnitButton.get(), toolbar.buttons()[0].get());
        EXPECT_EQ(dlg._epAddMaterialButton.get(), toolbar.buttons()[1].get());
        EXPECT_EQ(dlg._epFindButton.get(), toolbar.buttons()[2].get());
        EXPECT_EQ(dlg._epOutputButton.get(), toolbar.buttons()[3].get());
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true));
    });
    EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(ProgramTest, OnlyTheRegistersCloseEndsTheLinkAndGivesEverythingBack) {
    disableBeforeStart = 1; // a bar the user had switched off
    INT_PTR result = run([&](CMainDlg& dlg) {
        Application& app = program();
        auto other = app.GetWorkbooks()->Add();
        other->Close(Variant(false));
        EXPECT_EQ(app.GetDisplayFormulaBar(), VARIANT_FALSE);
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true));
        EXPECT_TRUE(dlg._epBook);

        Excel::_WorkbookPtr book = dlg._epBook; // the close-down lets go of the program's own reference
        book->Close(Variant(false));
        EXPECT_EQ(app.GetDisplayFormulaBar(), VARIANT_TRUE);
        EXPECT_TRUE(disabledBars(app).empty());
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, false));
        EXPECT_FALSE(dlg._epApp || dlg._epBook || dlg._epSheet || dlg._epCmdBars);

        // The toolbar stays until the instance ends; its buttons reach nothing now.
        auto& toolbar = *app.commandBars().bars().back();
        for (const auto& button : toolbar.buttons())
            EXPECT_TRUE(button->click());
        EXPECT_TRUE(app.GetVisible());
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(messageBoxes().empty());
    EXPECT_EQ(engine::automation::runningInstances().size(), 1u) << "the spreadsheet keeps running";
}

TEST_F(ProgramTest, UnsavedChangesAreSettledBeforeTheCloseDownAndCancellingKeepsItRunning) {
    engine::automation::registerApplicationClass();
    fs::copy_file(VARNEL_DATA_DIR "/Ombrell.xls", folder / "Ombrell.xls",
                  fs::copy_options::overwrite_existing);
    auto bytes = [&] {
        std::ifstream in(folder / "Ombrell.xls", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string original = bytes();
    auto change = [](CMainDlg& dlg) {
        Excel::RangePtr(dlg._epSheet->GetRange(Variant(u"F1")))->PutValue2(Variant(u"备注"));
    };
    // The spreadsheet of an earlier run keeps running: the program's is the latest.
    auto closeRegister = [] {
        return engine::automation::user::close(*engine::automation::runningInstances().back(),
                                               u"Ombrell.xls");
    };
    auto questions = [&] {
        std::vector<std::u16string> asked;
        for (const ui::Record* box : messageBoxes())
            asked.push_back(box->caption + u"|" + box->text);
        shown.clear();
        return asked;
    };
    const std::u16string question = u"Varnel|是否保存对“Ombrell.xls”的更改？";

    // 取消: the register stays open and the program goes on as before; 否 then closes it unsaved.
    EXPECT_EQ(run([&](CMainDlg& dlg) {
                  change(dlg);
                  user.queue(ui::Answer::withText(u"取消"));
                  EXPECT_FALSE(closeRegister());
                  EXPECT_EQ(questions(), (std::vector{question}));
                  EXPECT_EQ(connected(dlg), std::vector<bool>(6, true));
                  EXPECT_EQ(program().GetDisplayFormulaBar(), VARIANT_FALSE);
                  EXPECT_TRUE(dlg._epBook);

                  user.queue(ui::Answer::withText(u"否"));
                  EXPECT_TRUE(closeRegister());
                  EXPECT_EQ(questions(), (std::vector{question})) << "the spreadsheet asks nothing more";
                  EXPECT_EQ(connected(dlg), std::vector<bool>(6, false));
              }),
              0);
    EXPECT_EQ(bytes(), original);

    // A save that fails keeps it open too; 是 that succeeds saves, then closes.
    fs::permissions(folder / "Ombrell.xls", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(run([&](CMainDlg& dlg) {
                  change(dlg);
                  user.queue(ui::Answer::withText(u"是"));
                  EXPECT_FALSE(closeRegister());
                  const auto asked = questions();
                  ASSERT_EQ(asked.size(), 2u);
                  EXPECT_NE(asked[1].find(u"无法保存“Ombrell.xls”"), std::u16string::npos);
                  EXPECT_EQ(connected(dlg), std::vector<bool>(6, true));

                  fs::permissions(folder / "Ombrell.xls", fs::perms::owner_write, fs::perm_options::add);
                  user.queue(ui::Answer::withText(u"是"));
                  EXPECT_TRUE(closeRegister());
                  EXPECT_EQ(questions(), (std::vector{question}));
              }),
              0);
    EXPECT_NE(bytes(), original);

    // Nothing to keep: nothing is asked.
    EXPECT_EQ(run([&](CMainDlg&) { EXPECT_TRUE(closeRegister()); }), 0);
    EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(ProgramTest, EndingTheDialogItselfAlsoGivesTheSpreadsheetBack) {
    for (int id : {IDOK, IDCANCEL}) {
        INT_PTR result = run([&](CMainDlg& dlg) { ui::userClicks(dlg.m_hWnd, id); });
        EXPECT_EQ(result, id);
        Application& app = *engine::automation::runningInstances().back();
        EXPECT_EQ(app.GetDisplayFormulaBar(), VARIANT_TRUE);
        EXPECT_TRUE(disabledBars(app).empty());
        EXPECT_TRUE(app.GetVisible());
    }
    // Enter reaches OK, as the Enter key does on the hidden dialog.
    EXPECT_EQ(run(), IDOK);
}

TEST_F(ProgramTest, TheAboutBoxComesAndGoesWhileTheProgramRuns) {
    INT_PTR result = run([&](CMainDlg& dlg) {
        ui::userClicks(dlg.m_hWnd, ID_APP_ABOUT);
        EXPECT_EQ(ui::modalDialogs().back(), dlg.m_hWnd) << "the About box is closed again";
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true));
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, ui::Record::Kind::Dialog);
    EXPECT_EQ(shown[0].dialogId, IDD_ABOUTBOX);
    EXPECT_EQ(shown[0].caption, u"About");
}

TEST_F(ProgramTest, AnotherMessageMapIsAProgrammingError) {
    CMainDlg dlg;
    LRESULT result = 0;
    EXPECT_FALSE(dlg.ProcessWindowMessage(nullptr, WM_COMMAND, IDOK, 0, result, 1));
    EXPECT_NE(traces.find("Invalid message map ID (1)\n"), std::string::npos) << traces;
}

TEST_F(ProgramTest, EachStartUpFailureSaysWhatIsWrongPutsBackAndHasItsCode) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        int code;
        std::u16string text;
        std::string assertion; // what a development build reports
    } cases[] = {
        {"no spreadsheet", [] { revokeClass(engine::automation::CLSID_Application); },
         CMainDlg::kNoSpreadsheet, u"无法启动 Excel", "(((HRESULT)(hr)) >= 0)"},
        {"no register file", [&] { fs::remove(folder / "Ombrell.xls"); }, CMainDlg::kNoRegisterFile,
         u"找不到登记簿文件 " + folderText + u"Ombrell.xls", "PathFileExistsW(appPath)"},
        {"no register sheet",
         [&] {
             registerSheets = {u"Sheet1", u"Sheet2"};
         },
         CMainDlg::kNoRegisterSheet, u"登记簿文件 " + folderText + u"Ombrell.xls 中没有工作表“征订登记”",
         "_epSheet!=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registerSpreadsheet();
        registerSheets = {u"征订登记", u"Sheet2"};
        std::ofstream(folder / "Ombrell.xls") << "register";
        shown.clear();
        traces.clear();
        c.prepare();

        bool ran = false;
        EXPECT_EQ(run([&](CMainDlg&) { ran = true; }), c.code);
        EXPECT_FALSE(ran) << "the dialog ends before its loop";
        auto boxes = messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0]->caption, u"Varnel");
        EXPECT_NE(boxes[0]->text.find(c.text), std::u16string::npos) << text::toUtf8(boxes[0]->text);
#ifndef NDEBUG
        EXPECT_NE(traces.find("Assertion failed: " + c.assertion + "\n"), std::string::npos) << traces;
#endif
        // The instance the program made was hidden again and, released, has ended with its workbook.
        EXPECT_TRUE(engine::automation::runningInstances().empty());
    }
}

TEST_F(ProgramTest, AnUnreadableRegisterIsNamedWithTheReason) {
    // Instances of the real class read the file, which holds no workbook.
    engine::automation::registerApplicationClass();
    std::ofstream(folder / "Ombrell.xls") << "not a workbook";
    EXPECT_EQ(run(), CMainDlg::kRegisterUnreadable);
    auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->text.rfind(u"无法打开登记簿文件 " + folderText + u"Ombrell.xls：", 0), 0u);
    EXPECT_TRUE(engine::automation::runningInstances().empty());
}

TEST_F(ProgramTest, StartUpFilesThatAreNoFilesAreRefusedOrTakenAsMissing) {
    engine::automation::registerApplicationClass();
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
    } cases[] = {
        {"a folder",
         [](const fs::path& p) {
             fs::create_directory(p);
         }},
        {"a FIFO",
         [](const fs::path& p) {
             ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0);
         }},
        {"a link to an endless device",
         [](const fs::path& p) {
             fs::create_symlink("/dev/zero", p);
         }},
        {"a link to a folder",
         [&](const fs::path& p) {
             fs::create_directory_symlink(folder, p);
         }},
    };
    const std::string config = "[征订资料]\r\n征订资料种类=报纸\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder / "Ombrell.xls");
        c.make(folder / "Ombrell.xls");
        shown.clear();
        EXPECT_EQ(run(), CMainDlg::kRegisterUnreadable);
        auto boxes = messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0]->text.rfind(u"无法打开登记簿文件 " + folderText + u"Ombrell.xls：", 0), 0u);
        EXPECT_TRUE(engine::automation::runningInstances().empty());
    }

    fs::remove_all(folder / "Ombrell.xls");
    fs::copy_file(VARNEL_DATA_DIR "/Ombrell.xls", folder / "Ombrell.xls");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder / "TessikConfig.ini");
        c.make(folder / "TessikConfig.ini");
        traces.clear();
        run([&](CMainDlg& dlg) {
            EXPECT_EQ(dlg.materialKinds, u"");
            EXPECT_EQ(connected(dlg), std::vector<bool>(6, true)) << "the start-up goes on";
        });
        EXPECT_NE(traces.find("TessikConfig.ini cannot be read"), std::string::npos) << traces;
    }
}

TEST_F(ProgramTest, ConfigurationIsReadWholeAndMayBeMissing) {
    std::u16string kinds;
    for (int i = 0; i < 60; ++i)
        kinds += u"资料名称" + text::toUtf16(std::to_string(i)) + u",";
    ASSERT_GT(kinds.size(), 259u);
    writeConfig(kinds, u"读者");
    run([&](CMainDlg& dlg) { EXPECT_EQ(dlg.materialKinds, kinds); });

    fs::remove(folder / "TessikConfig.ini");
    traces.clear();
    run([&](CMainDlg& dlg) {
        EXPECT_EQ(dlg.materialKinds, u"");
        EXPECT_EQ(dlg.magazineName, u"");
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true)) << "the start-up goes on";
    });
    EXPECT_NE(traces.find("TessikConfig.ini is missing"), std::string::npos) << traces;
#ifndef NDEBUG
    EXPECT_NE(traces.find("Assertion failed: PathFileExistsW(configPath)"), std::string::npos) << traces;
#endif
}

TEST_F(ProgramTest, AKindsListTooLongForTheUnitRowsIsWarnedOfOnceAtStartUp) {
    std::u16string kinds;
    for (int i = 0; i < 400; ++i)
        kinds += u"资料名称" + text::toUtf16(std::to_string(i)) + u",";
    writeConfig(kinds, u"读者");
    run([&](CMainDlg& dlg) {
        EXPECT_EQ(dlg.materialKinds, kinds);
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true));
    });
    auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0]->text.find(u"“征订资料种类”太长"), std::u16string::npos);
    EXPECT_NE(boxes[0]->text.find(u"8192"), std::u16string::npos);

    shown.clear();
    writeConfig(u"报纸,杂志", u"读者");
    run();
    EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(ProgramTest, EventsOutsideTheTableDoNothingAndAFailingHandlerIsShownOnce) {
    std::vector<app::ErrorReport> reports;
    app::setErrorListener([&](const app::ErrorReport& r) { reports.push_back(r); });
    run([&](CMainDlg& dlg) {
        IDispatch* appSink = static_cast<CMainDlg::AppSink<1>*>(&dlg);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        DispArgs selection{Variant(static_cast<IDispatch*>(nullptr)),
                           Variant(static_cast<IDispatch*>(nullptr))};
        EXPECT_EQ(appSink->Invoke(Excel::AppEvents::SheetSelectionChange, IID_NULL, 0, DISPATCH_METHOD,
                                  selection.params(), nullptr, nullptr, nullptr),
                  S_OK);

        // A close for something that is no workbook: the close-down fails at its first step.
        DispArgs close{Variant(static_cast<IDispatch*>(nullptr)), Variant(&cancel)};
        EXCEPINFO info;
        EXPECT_EQ(appSink->Invoke(Excel::AppEvents::WorkbookBeforeClose, IID_NULL, 0, DISPATCH_METHOD,
                                  close.params(), nullptr, &info, nullptr),
                  DISP_E_EXCEPTION);
        EXPECT_EQ(info.scode, E_POINTER);
        EXPECT_EQ(cancel, VARIANT_FALSE);
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true)) << "the link stays up";
    });
    app::setErrorListener(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].caption, u"Varnel");
    EXPECT_EQ(reports[0].error, E_POINTER);
    auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->caption, u"Varnel");
    EXPECT_NE(boxes[0]->text.find(u"0x80004003"), std::u16string::npos);
}

TEST_F(ProgramTest, ACommandThatFailsInTheSpreadsheetIsShownOnceOverItsWindow) {
    registerSheets = {u"征订登记"}; // no scratch sheet for the status output
    registerSpreadsheet();
    std::vector<app::ErrorReport> reports;
    app::setErrorListener([&](const app::ErrorReport& r) { reports.push_back(r); });
    HWND excel = nullptr;
    run([&](CMainDlg& dlg) {
        excel = reinterpret_cast<HWND>(static_cast<std::intptr_t>(program().GetHwnd()));
        EXPECT_TRUE(engine::automation::user::click(program(), u"输出征订情况"));
        EXPECT_EQ(connected(dlg), std::vector<bool>(6, true)) << "the sinks stay connected";
    });
    app::setErrorListener(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].caption, u"输出征订情况");
    EXPECT_EQ(reports[0].error, XL_E_METHODFAILED);
    auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->caption, u"输出征订情况");
    EXPECT_EQ(boxes[0]->owner, excel);
    EXPECT_TRUE(excel);
    EXPECT_NE(boxes[0]->text.find(u"0x800A03EC"), std::u16string::npos);
}

TEST_F(ProgramTest, ButtonErrorsAreCaptionedByTheirCommand) {
    run([&](CMainDlg& dlg) {
        dlg.ReportSinkError(3, XL_E_METHODFAILED, u"The sheet is protected.");
        dlg.ReportSinkError(4, XL_E_METHODFAILED, u"");
        dlg.ReportSinkError(5, XL_E_METHODFAILED, u"");
        dlg.ReportSinkError(6, XL_E_METHODFAILED, u"");
    });
    auto boxes = messageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0]->caption, u"增加征订单位");
    EXPECT_EQ(boxes[0]->text, u"操作未能完成。\n错误代码：0x800A03EC\nThe sheet is protected.");
    EXPECT_EQ(boxes[1]->caption, u"查找指定资料");
    EXPECT_EQ(boxes[2]->caption, u"添加资料名称");
    EXPECT_EQ(boxes[3]->caption, u"输出征订情况");
}

TEST_F(ProgramTest, TheEntryPointReturnsTheDialogsResult) {
    user.setUser([] {
        Application& app = program();
        app.close(app.books().front(), false);
        return false;
    });
    EXPECT_EQ(wWinMain(res::instance(), nullptr, nullptr, 0), 0);
    EXPECT_EQ(module.GetResourceInstance(), nullptr) << "the module is ended";
    module.Init(nullptr, res::instance());
}

TEST(SinkMap, RoutesEachEventToItsHandlerInTableOrder) {
    struct Row {
        UINT id;
        const IID& iid;
        DISPID dispid;
        void (*handler)(CMainDlg&, Variant*);
    } expected[] = {
        {1, DIID_AppEvents, 0x622, &sink_detail::Call<&CMainDlg::OnWorkbookBeforeClose>::call},
        {2, DIID_AppEvents, 0x61C, &sink_detail::Call<&CMainDlg::OnSheetChange>::call},
        {3, DIID__CommandBarButtonEvents, 1, &sink_detail::Call<&CMainDlg::OnAddUnit>::call},
        {4, DIID__CommandBarButtonEvents, 1, &sink_detail::Call<&CMainDlg::OnFindMaterial>::call},
        {5, DIID__CommandBarButtonEvents, 1, &sink_detail::Call<&CMainDlg::OnAddMaterialName>::call},
        {6, DIID__CommandBarButtonEvents, 1, &sink_detail::Call<&CMainDlg::OnOutputStatus>::call},
    };
    const _ATL_EVENT_ENTRY<CMainDlg>* map = CMainDlg::_GetSinkMap();
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(map[i].nControlID, expected[i].id);
        EXPECT_EQ(*map[i].piid, expected[i].iid);
        EXPECT_EQ(map[i].dispid, expected[i].dispid);
        EXPECT_EQ(map[i].pfn, expected[i].handler);
        EXPECT_EQ(map[i].pInfo->nParams, 2);
    }
    const auto& end = map[std::size(expected)];
    EXPECT_TRUE(end.nControlID == 0 && end.piid == nullptr && end.dispid == 0 && end.pfn == nullptr &&
                end.pInfo == nullptr && end.sink == nullptr);
}

} // namespace
