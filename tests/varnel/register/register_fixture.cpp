#include "tests/varnel/register/register_fixture.h"

#include "platform/com/com_object.h"
#include "platform/ui/module.h"
#include "platform/ui/window.h"
#include "varnel/app/clock.h"
#include "varnel/res/resources.h"

#include <cstdint>

namespace {

// The engine gives its instances window numbers that the user-interface layer does not know; the
// program's dialogs and message boxes need a real owner. This stand-in answers Hwnd with a window of
// that layer and passes everything else to the engine's instance.
class OwnedApplication : public ComObject<Excel::_Application> {
public:
    OwnedApplication(Excel::_ApplicationPtr app, HWND window) : app_(std::move(app)), window_(window) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }
    VARIANT_BOOL GetVisible() override { return app_->GetVisible(); }
    void PutVisible(VARIANT_BOOL v) override { app_->PutVisible(v); }
    VARIANT_BOOL GetDisplayFormulaBar() override { return app_->GetDisplayFormulaBar(); }
    void PutDisplayFormulaBar(VARIANT_BOOL v) override { app_->PutDisplayFormulaBar(v); }
    VARIANT_BOOL GetDisplayAlerts() override { return app_->GetDisplayAlerts(); }
    void PutDisplayAlerts(VARIANT_BOOL v) override { app_->PutDisplayAlerts(v); }
    long GetHwnd() override { return static_cast<long>(reinterpret_cast<std::intptr_t>(window_)); }
    Excel::WorkbooksPtr GetWorkbooks() override { return app_->GetWorkbooks(); }
    Excel::WorksheetFunctionPtr GetWorksheetFunction() override { return app_->GetWorksheetFunction(); }
    Office::_CommandBarsPtr GetCommandBars() override { return app_->GetCommandBars(); }
    Excel::_WorkbookPtr GetActiveWorkbook() override { return app_->GetActiveWorkbook(); }
    IDispatchPtr GetActiveSheet() override { return app_->GetActiveSheet(); }
    Variant InputBox(const std::u16string& prompt, const Variant& title, const Variant& def,
                     const Variant& left, const Variant& top, const Variant& helpFile,
                     const Variant& helpContext, const Variant& type) override {
        return app_->InputBox(prompt, title, def, left, top, helpFile, helpContext, type);
    }

private:
    Excel::_ApplicationPtr app_;
    HWND window_;
};

engine::automation::Application& engineOf(Excel::_Application* app) {
    return *static_cast<engine::automation::Application*>(app);
}

} // namespace

// The engine's input box goes to the scripted user, over the spreadsheet's window.
class RegisterTest::ScriptedPrompts : public engine::automation::Prompts {
public:
    explicit ScriptedPrompts(HWND window) : window_(window) {}
    std::optional<std::u16string> inputBox(long, std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override {
        return ui::inputBox(window_, prompt, title, defaultText);
    }
    engine::automation::SaveAnswer askSave(long, std::u16string_view) override {
        return engine::automation::SaveAnswer::DontSave;
    }
    std::optional<std::filesystem::path> askSavePath(long, std::u16string_view) override {
        return std::nullopt;
    }

private:
    HWND window_;
};

void RegisterTest::SetUp() {
    ui::setBackend(&user);
    ui::setResourceInstance(res::instance());
    spreadsheetWindow = ui::createWindow(u"XLMAIN", u"Microsoft Excel", 0, RECT{0, 0, 1024, 768});
    prompts_ = std::make_unique<ScriptedPrompts>(spreadsheetWindow);
    engine::automation::setPrompts(prompts_.get());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    engine::automation::registerApplicationClass();
    app::pinCurrentYear(2026);

    ASSERT_EQ(createInstance(engineApp, u"Excel.Application"), S_OK);
    dlg._epApp = makeComObject<OwnedApplication>(engineApp, spreadsheetWindow);
    dlg._epBook = engineApp->GetWorkbooks()->Add();
    dlg._epSheet = dlg._epBook->GetWorksheets()->GetItem(Variant(1));
    dlg._epSheet->PutName(u"征订登记");
    registerSheet().setOutline({false, true});
    static const char16_t* titles[] = {u"征订年度", u"资料名称", u"征订数量", u"单价",
                                       u"金额",     u"票据号",   u"征订单位"};
    for (int c = 0; c < 7; ++c)
        Excel::RangePtr(dlg._epSheet->GetCells()->GetItem(Variant(1), Variant(c + 1)))
            ->PutValue2(Variant(titles[c]));

    folder = std::filesystem::temp_directory_path() /
             ("varnel-register-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(folder);
    dlg.configPath = (folder / "TessikConfig.ini").u16string();
    dlg.materialKinds = u"报纸,杂志,图书";
    dlg.magazineName = u"读者";
    ASSERT_EQ(dlg.CMainDlg::AppSink<2>::DispEventAdvise(engineApp), S_OK);
}

void RegisterTest::TearDown() {
    dlg.CMainDlg::AppSink<2>::DispEventUnadvise(engineApp);
    for (const Excel::_ApplicationPtr& other : otherInstances())
        engineOf(other).quit();
    dlg._epSheet = nullptr;
    dlg._epBook = nullptr;
    dlg._epApp = nullptr;
    engineOf(engineApp).quit();
    engineApp = nullptr;
    CoUninitialize();
    app::pinCurrentYear(std::nullopt);
    engine::automation::setPrompts(nullptr);
    DestroyWindow(spreadsheetWindow);
    ui::setResourceInstance(nullptr);
    ui::setBackend(nullptr);
    std::filesystem::remove_all(folder);
}

void RegisterTest::addUnit(const std::u16string& name) {
    user.queue(ui::Answer::withText(name));
    dlg.OnAddUnit(nullptr, nullptr);
}

void RegisterTest::addMaterialName(const std::u16string& name) {
    user.queue(ui::Answer::withText(name));
    dlg.OnAddMaterialName(nullptr, nullptr);
}

void RegisterTest::findMaterial(const std::u16string& choice) {
    user.queue(ui::Answer::withText(choice));
    dlg.OnFindMaterial(nullptr, nullptr);
}

void RegisterTest::outputStatus(const std::u16string& choice) {
    user.queue(ui::Answer::withText(choice));
    dlg.OnOutputStatus(nullptr, nullptr);
}

void RegisterTest::type(const std::u16string& ref, const Variant& value) {
    cell(ref)->PutValue2(value);
}

Excel::RangePtr RegisterTest::cell(const std::u16string& ref) const {
    return dlg._epSheet->GetRange(Variant(ref));
}

std::u16string RegisterTest::text(const std::u16string& ref) const {
    return value(ref).toString();
}

std::u16string RegisterTest::formula(const std::u16string& ref) const {
    return cell(ref)->GetFormula().toString();
}

engine::Sheet& RegisterTest::registerSheet() const {
    return engineOf(engineApp).findBook(dlg._epBook->GetName())->model->sheet(0);
}

std::u16string RegisterTest::validation(const std::u16string& ref) const {
    const Excel::RangePtr c = cell(ref);
    const engine::ValidationRule* rule = registerSheet().validationAt(c->GetRow() - 1, c->GetColumn() - 1);
    return rule ? rule->formula1 : std::u16string();
}

long RegisterTest::level(long row) const {
    return cell(u"A" + text::toUtf16(std::to_string(row)))->GetEntireRow()->GetOutlineLevel().toLong();
}

bool RegisterTest::hidden(long row) const {
    return registerSheet().row(row - 1).hidden;
}

long RegisterTest::fill(const std::u16string& ref) const {
    return cell(ref)->GetInterior()->GetColorIndex().toLong();
}

long RegisterTest::fontColour(const std::u16string& ref) const {
    return cell(ref)->GetFont()->GetColorIndex().toLong();
}

std::vector<std::u16string> RegisterTest::messages() const {
    std::vector<std::u16string> shown;
    for (const ui::Record& r : user.records())
        if (r.kind == ui::Record::Kind::MessageBox)
            shown.push_back(r.caption + u"|" + r.text);
    return shown;
}

std::vector<std::u16string> RegisterTest::lastDialogItems() const {
    for (auto it = user.records().rbegin(); it != user.records().rend(); ++it)
        if (it->kind == ui::Record::Kind::Dialog)
            return it->items;
    return {};
}

std::vector<Excel::_ApplicationPtr> RegisterTest::otherInstances() const {
    std::vector<Excel::_ApplicationPtr> others;
    for (const auto& instance : engine::automation::runningInstances())
        if (instance.get() != &engineOf(engineApp))
            others.emplace_back(static_cast<Excel::_Application*>(instance.get()));
    return others;
}

std::vector<std::u16string> rowTexts(Excel::_Worksheet* sheet, long row) {
    std::vector<std::u16string> texts;
    for (int c = 1; c <= 7; ++c)
        texts.push_back(Excel::RangePtr(sheet->GetCells()->GetItem(Variant(int(row)), Variant(c)))
                            ->GetValue2()
                            .toString());
    return texts;
}
