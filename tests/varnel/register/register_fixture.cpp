#include "tests/varnel/register/register_fixture.h"

#include "platform/ui/module.h"
#include "varnel/app/clock.h"
#include "varnel/res/resources.h"

#include <cstdint>

namespace {

engine::automation::Application& engineOf(Excel::_Application* app) {
    return *static_cast<engine::automation::Application*>(app);
}

} // namespace

void RegisterTest::SetUp() {
    ui::setBackend(&user);
    ui::setResourceInstance(res::instance());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    engine::automation::registerApplicationClass();
    app::pinCurrentYear(2026);

    ASSERT_EQ(createInstance(engineApp, u"Excel.Application"), S_OK);
    dlg._epApp = engineApp;
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
