#include "tools/make-full-register/full_register.h"

#include "engine/automation/autofit.h"
#include "engine/core/address.h"
#include "platform/profile/profile.h"
#include "platform/text/utf.h"
#include "varnel/register/formulas.h"
#include "varnel/register/layout.h"
#include "varnel/register/lists.h"

#include <array>
#include <random>
#include <stdexcept>

namespace fullreg {

namespace {

using engine::Area;
using engine::Value;
namespace column = layout::column;

// Entry rows (the blank one included) run from 25 to 34 a block: 2,000 blocks fill about 65,000 rows.
constexpr int kFewestEntries = 24;
constexpr int kEntrySpread = 10;

constexpr std::array<std::u16string_view, 12> kDistricts = {
    u"城关镇", u"东城区", u"西城区", u"南湖区", u"北山区", u"高新区",
    u"临江县", u"平原县", u"青石镇", u"白河乡", u"柳林镇", u"石桥乡",
};
constexpr std::array<std::u16string_view, 15> kBodies = {
    u"第一中学", u"实验小学", u"图书馆", u"文化馆", u"卫生院", u"人民医院", u"派出所", u"财政局",
    u"税务所",   u"供电所",   u"农技站", u"邮政所", u"敬老院", u"职业中学", u"幼儿园",
};

std::u16string address(int row, int col) {
    return engine::formatAddress({row, col}, true);
}

std::u16string unitName(int index) {
    std::u16string name(kDistricts[index % kDistricts.size()]);
    name += kBodies[(index / kDistricts.size()) % kBodies.size()];
    if (int branch = index / int(kDistricts.size() * kBodies.size()))
        name += layout::decimal(branch + 1) + u"分部";
    return name;
}

// Annual prices, in yuan, that a subscription of each kind of material plausibly costs.
std::u16string priceOf(std::mt19937& random) {
    constexpr std::array<std::u16string_view, 10> prices = {u"8.5",  u"12", u"15.8", u"24",  u"36",
                                                            u"48.6", u"96", u"180",  u"240", u"312.5"};
    return std::u16string(prices[random() % prices.size()]);
}

std::u16string quantityOf(std::mt19937& random) {
    // Mostly a copy or a few, now and then a whole class or office.
    int q = random() % 8 == 0 ? 10 + int(random() % 41) : 1 + int(random() % 6);
    return layout::decimal(q);
}

engine::Sheet& registerSheetOf(engine::Workbook& book) {
    engine::Sheet* sheet = book.findSheet(layout::registerSheet);
    if (!sheet)
        throw std::runtime_error("the workbook has no register sheet");
    return *sheet;
}

void formatEntryRows(engine::Sheet& sheet, int first, int last) {
    sheet.modifyFormat(Area::rows(first, last), [](engine::Format& f) {
        for (engine::Border& b : f.borders)
            b = {engine::LineStyle::Dash, engine::BorderWeight::Thin};
        f.fillColorIndex = layout::entryFill;
        f.fontColorIndex = layout::entryFont;
    });
}

// One block, as adding the unit and then typing each subscription into the block's blank last entry
// row leaves it: the row below the block joins it each time, and the unit row's formulas end at the
// newest entry row.
void writeBlock(engine::Sheet& sheet, int unitRow, const Unit& unit, const std::u16string& years,
                const std::u16string& materials, const Configuration& config) {
    const int header = unitRow + 1, first = unitRow + 2;
    const int last = first + int(unit.entries.size());
    // A name is kept as the text it is, as the program writes it.
    sheet.setValue(unitRow, column::year, Value::text(unit.name));

    formatEntryRows(sheet, header, last);
    sheet.groupRows(header, last);
    sheet.modifyFormat(Area::rows(header, header),
                       [](engine::Format& f) { f.fontColorIndex = layout::headerFont; });
    for (int c = 0; c < int(layout::headerTexts.size()); ++c)
        sheet.setValue(header, c, Value::text(std::u16string(layout::headerTexts[c])));

    engine::ValidationRule yearRule, materialRule, numberRule;
    yearRule.formula1 = years;
    materialRule.formula1 = materials;
    numberRule.type = engine::ValidationType::Decimal;
    numberRule.op = engine::ValidationOperator::GreaterOrEqual;
    numberRule.formula1 = u"0";
    for (int r = first; r <= last; ++r) {
        sheet.addValidation(Area::cell(r, column::year), yearRule);
        sheet.addValidation(Area::cell(r, column::material), materialRule);
        sheet.addValidation(Area{r, int(column::quantity), r, int(column::price)}, numberRule);
        sheet.setFormula(r, column::amount,
                         layout::amountFormula(address(r, column::quantity), address(r, column::price)));
    }
    for (int i = 0; i < int(unit.entries.size()); ++i) {
        const Entry& e = unit.entries[i];
        const int r = first + i;
        sheet.enter(r, column::year, layout::decimal(e.year));
        sheet.enter(r, column::material, e.material);
        sheet.enter(r, column::quantity, e.quantity);
        sheet.enter(r, column::price, e.price);
        sheet.enter(r, column::receipt, e.receipt);
        sheet.setValue(r, column::unit, Value::text(unit.name));
    }

    sheet.setFormula(unitRow, column::quantity,
                     layout::totalFormula(first == last ? address(last, column::amount)
                                                        : layout::spanning(address(header, column::amount),
                                                                           address(last, column::amount))));
    const std::u16string materialCells =
        first == last ? address(last, column::material)
                      : layout::spanning(address(first, column::material), address(last, column::material));
    sheet.setFormula(unitRow, column::material, layout::missingKindsFormula(materialCells, config.kinds));
    engine::automation::autoFitRows(sheet, unitRow, unitRow);
    sheet.modifyFormat(Area::cell(unitRow, column::material),
                       [](engine::Format& f) { f.horizontalAlignment = engine::HorizontalAlignment::Left; });
}

} // namespace

Configuration readConfiguration(const std::filesystem::path& iniFile) {
    const std::u16string path = text::toUtf16(iniFile.string());
    if (!PathFileExistsW(path.c_str()))
        throw std::runtime_error("no configuration file " + iniFile.string());
    return {profile::readString(u"征订资料", u"征订资料种类", u"", path),
            profile::readString(u"征订资料", u"杂志", u"", path)};
}

std::vector<Unit> sampleUnits(int count, const Configuration& config, int year) {
    const std::vector<std::u16string> kinds = layout::splitItems(config.kinds);
    std::mt19937 random(20260101);
    std::vector<Unit> units(count);
    long receipt = 100000;
    for (int u = 0; u < count; ++u) {
        units[u].name = unitName(u);
        // A unit takes some of the kinds, so that many still lack one, and the year's magazine.
        std::vector<std::u16string> materials = {layout::yearItem(year, config.magazine),
                                                 layout::yearItem(year + 1, config.magazine)};
        for (const std::u16string& kind : kinds)
            if (random() % 3 != 0)
                materials.push_back(kind);
        const int entries = kFewestEntries + int(random() % kEntrySpread);
        for (int i = 0; i < entries; ++i) {
            Entry e;
            e.year = random() % 3 == 0 ? year - 1 : year;
            e.material = materials[random() % materials.size()];
            e.quantity = quantityOf(random);
            e.price = priceOf(random);
            // Now and then a subscription is written down before it is paid.
            if (random() % 10 != 0)
                e.receipt = u"NO." + layout::decimal(++receipt);
            units[u].entries.push_back(std::move(e));
        }
    }
    return units;
}

void appendUnits(engine::Workbook& book, const std::vector<Unit>& units, const Configuration& config,
                 int year) {
    engine::Sheet& sheet = registerSheetOf(book);
    const auto used = sheet.usedArea();
    // The heading row alone: the first unit goes to row 2; else one separator row after the last block.
    int row = !used || used->bottom == 0 ? 1 : used->bottom + 2;
    const std::u16string years = layout::yearList(year);
    const std::u16string materials = layout::materialList(config.kinds, config.magazine, year);
    for (const Unit& unit : units) {
        const int rows = 3 + int(unit.entries.size());
        if (row + rows > engine::kLastRow)
            throw std::runtime_error("the units do not fit on one sheet");
        writeBlock(sheet, row, unit, years, materials, config);
        row += rows + 1;
    }
}

std::vector<BlockRows> blockRows(const std::vector<Unit>& units) {
    std::vector<BlockRows> rows;
    long row = layout::firstUnitRow;
    for (const Unit& unit : units) {
        const long last = row + 2 + long(unit.entries.size());
        rows.push_back({row, last});
        row = last + 2;
    }
    return rows;
}

} // namespace fullreg
