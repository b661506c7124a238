#include "platform/text/utf.h"
#include "platform/ui/headless.h"
#include "platform/ui/module.h"
#include "varnel/app/clock.h"
#include "varnel/register/inputdlg.h"
#include "varnel/register/tessikdlg.h"
#include "varnel/res/resources.h"

#include <gtest/gtest.h>

namespace {

class RegisterDialogs : public ::testing::Test {
protected:
    ui::HeadlessBackend user;

    void SetUp() override {
        ui::setBackend(&user);
        ui::setResourceInstance(res::instance());
    }
    void TearDown() override {
        app::pinCurrentYear(std::nullopt);
        ui::setResourceInstance(nullptr);
        ui::setBackend(nullptr);
    }

    const ui::Record& lastDialog() {
        for (auto it = user.records().rbegin(); it != user.records().rend(); ++it)
            if (it->kind == ui::Record::Kind::Dialog)
                return *it;
        throw std::runtime_error("no dialog shown");
    }
};

TEST_F(RegisterDialogs, QueryDialogOffersTheYearsFromNextYearDownTo2009InSortedOrder) {
    app::pinCurrentYear(2017);
    CTessikDlg dialog;
    dialog.itemText = u"杂志,报纸,,图书";
    dialog.withYearItems = true;
    dialog.yearSuffix = u"读者";
    // 确定 without touching the list: the first item in sorted order was selected.
    user.queue(ui::Answer::dialog({}, IDC_CONFIRM));
    EXPECT_EQ(dialog.DoModal(nullptr), 1);

    const ui::Record& shown = lastDialog();
    EXPECT_EQ(shown.caption, u"查询指定资料征订情况");
    std::vector<std::u16string> expected;
    for (int year = 2009; year <= 2018; ++year)
        expected.push_back(text::toUtf16(std::to_string(year)) + u"年度读者");
    expected.insert(expected.end(), {u"报纸", u"图书", u"杂志"});
    EXPECT_EQ(shown.items, expected);
    EXPECT_EQ(dialog.itemText, u"2009年度读者");
}

TEST_F(RegisterDialogs, QueryDialogSortsUnitNamesAndTakesTypedText) {
    CTessikDlg dialog;
    dialog.itemText = u"县文化馆,ABC书店,市一中,abd书店";
    user.queue(ui::Answer::withText(u"不在列表中"));
    dialog.DoModal(nullptr);

    EXPECT_EQ(lastDialog().items,
              (std::vector<std::u16string>{u"ABC书店", u"abd书店", u"市一中", u"县文化馆"}));
    EXPECT_EQ(dialog.itemText, u"不在列表中");
}

TEST_F(RegisterDialogs, InputDialogHandsBackTheWholeTextUntrimmed) {
    CInputDlg dialog;
    user.queue(ui::Answer::withText(u"  报刊 "));
    EXPECT_EQ(dialog.DoModal(nullptr), 1);
    EXPECT_EQ(lastDialog().caption, u"请输入要添加的资料名称");
    EXPECT_EQ(dialog.inputText, u"  报刊 ");
}

} // namespace
