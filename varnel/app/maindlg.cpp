#include "varnel/app/maindlg.h"

#include "platform/profile/profile.h"
#include "platform/profile/program_folder.h"
#include "platform/text/utf.h"
#include "platform/ui/module.h"
#include "varnel/app/debug.h"
#include "varnel/app/error_report.h"
#include "varnel/app/excel_window.h"
#include "varnel/app/toolbar.h"
#include "varnel/register/formulas.h"
#include "varnel/register/lists.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace {

constexpr char16_t kProgramName[] = u"Varnel";
constexpr char16_t kConfigSection[] = u"征订资料";
constexpr char16_t kMaterialKindsKey[] = u"征订资料种类";
constexpr char16_t kMagazineKey[] = u"杂志";
constexpr char16_t kRegisterSheet[] = u"征订登记";
constexpr char16_t kToolbar[] = u"Kestrova";
constexpr UINT MAX_PATH = 260;

// The file checks of the start-up read as the conditions they assert.
int PathFileExistsW(const std::u16string& path) {
    return ::PathFileExistsW(path.c_str());
}

std::u16string hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text::toUtf16(text);
}

// The executable's full name, however long (a longer name than the buffer is fetched again in a
// larger one rather than used cut).
std::u16string moduleFileName() {
    std::vector<char16_t> buffer(MAX_PATH);
    while (GetModuleFileNameW(nullptr, buffer.data(), static_cast<std::uint32_t>(buffer.size())) ==
           buffer.size())
        buffer.resize(buffer.size() * 2);
    return buffer.data();
}

// The result of an automation call, as a call on Windows answers it, for the steps whose failure the
// start-up only asserts.
template <typename Call> HRESULT resultOf(Call&& call) {
    try {
        call();
        return S_OK;
    } catch (const ComError& e) {
        return e.error();
    }
}

// Runs a step of the link's dismantling, keeping its error for later so that the steps after it run.
template <typename Step> void keepGoing(std::exception_ptr& failure, Step&& step) {
    try {
        step();
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
}

} // namespace

LRESULT CMainDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    // No area and no taskbar entry: the user works in the spreadsheet only.
    CenterWindow();
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    MoveWindow(0, 0, 0, 0, TRUE);

    HICON bigIcon = static_cast<HICON>(LoadImageW(ui::resourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    SetIcon(bigIcon, TRUE);
    HICON smallIcon = static_cast<HICON>(LoadImageW(ui::resourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    SetIcon(smallIcon, FALSE);

    ::CoInitialize(nullptr);
    linkExcel();
    ::CoUninitialize();
    return TRUE;
}

void CMainDlg::linkExcel() {
    HRESULT hr = createInstance(_epApp, u"Excel.Application", nullptr, CLSCTX_ALL);
    VARNEL_ASSERT(SUCCEEDED(hr));
    if (FAILED(hr))
        return failStartup(kNoSpreadsheet, u"无法启动 Excel（Excel.Application）：" + errorMessage(hr) +
                                               u"（" + hex(hr) + u"）");

    try {
        _epApp->PutVisible(VARIANT_TRUE);
        _epApp->PutDisplayFormulaBar(VARIANT_FALSE);
    } catch (const ComError& e) {
        return failStartup(kSpreadsheetRefused, u"Excel 拒绝了启动设置：" + e.description());
    }

    std::u16string moduleName = moduleFileName();
    std::u16string folder = moduleName.substr(0, moduleName.find_last_of(u'/') + 1);
    configPath = folder + u"TessikConfig.ini";
    VARNEL_ASSERT(PathFileExistsW(configPath));
    // A file that cannot be read (a folder, a device, an encoding that cannot be told) is as good as
    // missing, and is never written.
    if (!PathFileExistsW(configPath))
        ATLTRACE("Warning: %s is missing; the material lists start empty\n",
                 text::toUtf8(configPath).c_str());
    else if (auto why = profile::unreadable(configPath))
        ATLTRACE("Warning: %s cannot be read (%s); the material lists start empty\n",
                 text::toUtf8(configPath).c_str(), why->c_str());

    // Read whole: a list that has grown past any buffer must come back complete.
    materialKinds = profile::readString(kConfigSection, kMaterialKindsKey, u"", configPath);
    magazineName = profile::readString(kConfigSection, kMagazineKey, u"", configPath);

    std::u16string appPath = folder + u"Ombrell.xls";
    VARNEL_ASSERT(PathFileExistsW(appPath));
    if (!PathFileExistsW(appPath))
        return failStartup(kNoRegisterFile, u"找不到登记簿文件 " + appPath + u"。");

    std::u16string openError;
    try {
        _epBook = _epApp->GetWorkbooks()->Open(appPath);
    } catch (const ComError& e) {
        openError = e.description();
    }
    // clang-format off
    VARNEL_ASSERT(_epBook!=0);
    // clang-format on
    if (!_epBook)
        return failStartup(kRegisterUnreadable, u"无法打开登记簿文件 " + appPath + u"：" + openError);

    try {
        _epSheet = _epBook->GetWorksheets()->GetItem(Variant(kRegisterSheet));
    } catch (const ComError&) {
        _epSheet = nullptr;
    }
    // clang-format off
    VARNEL_ASSERT(_epSheet!=0);
    // clang-format on
    if (!_epSheet)
        return failStartup(kNoRegisterSheet,
                           u"登记簿文件 " + appPath + u" 中没有工作表“" + kRegisterSheet + u"”。");

    Office::CommandBarPtr bar;
    try {
        hr = resultOf([&] { _epCmdBars = _epApp->GetCommandBars(); });
        VARNEL_ASSERT(SUCCEEDED(hr));
        checkResult(hr);

        for (long n = _epCmdBars->GetCount(); n >= 1; --n)
            _epCmdBars->GetItem(Variant(n))->PutEnabled(VARIANT_FALSE);

        const Variant temporary{short(VARIANT_TRUE)};
        bar = _epCmdBars->Add(Variant(kToolbar), Variant(int(Office::msoBarTop)), vtMissing, temporary);
        Office::CommandBarControlsPtr controls;
        hr = resultOf([&] { controls = bar->GetControls(); });
        VARNEL_ASSERT(SUCCEEDED(hr));
        checkResult(hr);

        for (const ToolbarCommand& command : toolbarCommands) {
            Office::_CommandBarButtonPtr button = controls->Add(Variant(int(Office::msoControlButton)),
                                                                vtMissing, vtMissing, vtMissing, temporary);
            button->PutStyle(Office::msoButtonCaption);
            button->PutCaption(command.caption);
            this->*command.button = button;
            checkResult(ButtonSinks::advise(command.sinkId, button));
        }

        checkResult(AppSink<1>::DispEventAdvise(_epApp));
        checkResult(AppSink<2>::DispEventAdvise(_epApp));
        bar->PutVisible(VARIANT_TRUE);
    } catch (const ComError& e) {
        if (bar)
            resultOf([&] { bar->PutVisible(VARIANT_FALSE); });
        return failStartup(kSpreadsheetRefused, u"无法在 Excel 中建立工具栏“" + std::u16string(kToolbar) +
                                                    u"”：" + e.description() + u"（" + hex(e.error()) +
                                                    u"）");
    }
    warnOfLongKinds();
}

// A kinds list edited by hand can outgrow the formula that lists a unit's missing kinds: the user hears
// of it once, and the unit rows say that they cannot list them.
void CMainDlg::warnOfLongKinds() {
    if (layout::missingKindsFit(materialKinds))
        return;
    HWND owner = nullptr;
    resultOf([&] { owner = excelWindow(*_epApp); });
    const std::u16string text = u"配置文件 TessikConfig.ini 中的“征订资料种类”太长（" +
                                layout::decimal(long(materialKinds.size())) +
                                u" 个字符）：单位行列出缺订资料的公式超出了电子表格 " +
                                layout::decimal(long(layout::maxFormulaLength)) +
                                u" 个字符的上限，缺订资料将无法列出。请缩短该列表。";
    ::MessageBoxW(owner, text.c_str(), kProgramName, MB_OK);
}

// Tells the user why the program cannot run, puts the spreadsheet back as it was before the start
// (formula bar, command bars, the register closed unsaved, the instance hidden again) and ends with
// the failure's own exit code.
void CMainDlg::failStartup(StartupFailure code, const std::u16string& text) {
    HWND owner = nullptr;
    if (_epApp)
        resultOf([&] { owner = excelWindow(*_epApp); });
    ::MessageBoxW(owner, text.c_str(), kProgramName, MB_OK);

    Excel::_ApplicationPtr app = _epApp;
    Excel::_WorkbookPtr book = _epBook;
    std::exception_ptr ignored;
    keepGoing(ignored, [&] { unlinkExcel(); });
    if (book)
        resultOf([&] { book->Close(Variant(false)); });
    if (app)
        resultOf([&] { app->PutVisible(VARIANT_FALSE); });
    EndDialog(code);
}

// The register's close decides first whether its changes are kept, as the spreadsheet's own question
// would, and only then ends the link: a close that is cancelled, or whose save fails, leaves the
// program running as before.
void CMainDlg::OnWorkbookBeforeClose(IDispatch* Wb, VARIANT_BOOL* Cancel) {
    Excel::_WorkbookPtr closing(Wb);
    if (_epBook->GetName() != closing->GetName())
        return;
    if (Cancel && *Cancel != VARIANT_FALSE)
        return; // cancelled already by another handler
    if (!settleUnsavedChanges()) {
        if (Cancel)
            *Cancel = VARIANT_TRUE;
        return;
    }
    try {
        unlinkExcel();
    } catch (...) {
        EndDialog(0);
        throw;
    }
    EndDialog(0);
}

// Asks whether to save the register's unsaved changes (是, 否, 取消). True when the close may go on: the
// changes are saved, or marked as not to be kept, so the spreadsheet asks nothing more. False when the
// user cancels or the save fails, which the user is told.
bool CMainDlg::settleUnsavedChanges() {
    if (_epBook->GetSaved() != VARIANT_FALSE)
        return true;
    HWND owner = nullptr;
    resultOf([&] { owner = excelWindow(*_epApp); });
    const std::u16string name = _epBook->GetName();
    const std::u16string question = u"是否保存对“" + name + u"”的更改？";
    switch (::MessageBoxW(owner, question.c_str(), kProgramName, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        try {
            _epBook->Save();
        } catch (const ComError& e) {
            const std::u16string failure = u"无法保存“" + name + u"”，登记簿没有关闭：" + e.description();
            ::MessageBoxW(owner, failure.c_str(), kProgramName, MB_OK);
            return false;
        }
        return true;
    case IDNO:
        _epBook->PutSaved(VARIANT_TRUE);
        return true;
    default:
        return false;
    }
}

// Gives the spreadsheet back its formula bar and every command bar, disconnects the six sinks and
// lets go of the spreadsheet's objects. Every step runs even when one before it fails; the first
// failure is raised at the end.
void CMainDlg::unlinkExcel() {
    std::exception_ptr failure;
    if (_epApp)
        keepGoing(failure, [&] { _epApp->PutDisplayFormulaBar(VARIANT_TRUE); });
    if (_epCmdBars) {
        keepGoing(failure, [&] {
            for (long n = _epCmdBars->GetCount(); n >= 1; --n)
                _epCmdBars->GetItem(Variant(n))->PutEnabled(VARIANT_TRUE);
        });
        _epCmdBars = nullptr;
    }

    for (UINT id : ButtonSinks::sinkIds)
        ButtonSinks::unadvise(id, this->*toolbarCommand(id)->button);
    AppSink<1>::DispEventUnadvise(_epApp);
    AppSink<2>::DispEventUnadvise(_epApp);

    _epSheet = nullptr;
    _epBook = nullptr;
    _epApp = nullptr;
    if (failure)
        std::rethrow_exception(failure);
}

LRESULT CMainDlg::OnAppAbout(WORD, WORD, HWND, BOOL&) {
    CSimpleDialog<IDD_ABOUTBOX, FALSE> dlg;
    dlg.DoModal(::GetActiveWindow());
    return 0;
}

LRESULT CMainDlg::OnOK(WORD, WORD wID, HWND, BOOL&) {
    endWithResult(wID);
    return 0;
}

LRESULT CMainDlg::OnCancel(WORD, WORD wID, HWND, BOOL&) {
    endWithResult(wID);
    return 0;
}

// Ending the dialog from its own buttons leaves the spreadsheet as the register's close does.
void CMainDlg::endWithResult(WORD id) {
    try {
        unlinkExcel();
    } catch (const ComError& e) {
        ATLTRACE("The spreadsheet refused to be restored: %s\n", e.what());
    }
    EndDialog(id);
}

void CMainDlg::ReportSinkError(UINT sinkId, HRESULT hr, const std::u16string& description) {
    const ToolbarCommand* command = toolbarCommand(sinkId);
    const char16_t* caption = command ? command->errorCaption : kProgramName;
    app::notifyErrorListener({caption, hr, description});

    HWND owner = nullptr;
    if (_epApp)
        resultOf([&] { owner = excelWindow(*_epApp); });
    std::u16string text = u"操作未能完成。\n错误代码：" + hex(hr) + u"\n" + description;
    ::MessageBoxW(owner, text.c_str(), caption, MB_OK);
}
