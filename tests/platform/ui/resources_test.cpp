#include "platform/ui/resources.h"
#include "platform/ui/user.h"
#include "varnel/res/resources.h"

#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace {

const ui::DialogItemTemplate& control(const ui::DialogTemplate& t, int id) {
    for (const ui::DialogItemTemplate& item : t.items)
        if (item.id == id)
            return item;
    throw std::out_of_range("no control " + std::to_string(id));
}

bool hasRect(const ui::DialogItemTemplate& c, short x, short y, short cx, short cy) {
    return c.x == x && c.y == y && c.cx == cx && c.cy == cy;
}

TEST(Resources, DialogTemplatesHaveTheirIdsSizesFontsAndKeyControls) {
    const ui::ResourceModule& m = res::module();
    const ui::DialogTemplate* main = m.dialog(129);
    const ui::DialogTemplate* about = m.dialog(100);
    const ui::DialogTemplate* input = m.dialog(130);
    const ui::DialogTemplate* query = m.dialog(103);
    ASSERT_TRUE(main && about && input && query);

    EXPECT_EQ(main->cx, 188);
    EXPECT_EQ(main->cy, 98);
    EXPECT_EQ(main->language, 1033);
    // A thin border and a system menu, no caption, not visible at first.
    EXPECT_EQ(main->style & (WS_CAPTION | WS_VISIBLE | WS_SYSMENU), WS_BORDER | WS_SYSMENU);
    EXPECT_TRUE(hasRect(control(*main, 57664), 131, 77, 50, 14));
    EXPECT_EQ(control(*main, IDOK).style & BS_TYPEMASK, BS_DEFPUSHBUTTON);

    EXPECT_EQ(about->caption, u"About");
    EXPECT_EQ(about->cx, 187);
    EXPECT_EQ(about->cy, 102);
    EXPECT_TRUE(hasRect(control(*about, IDOK), 130, 81, 50, 14));

    EXPECT_EQ(input->fontFace, u"宋体");
    EXPECT_EQ(input->pointSize, 9);
    EXPECT_EQ(input->cx, 330);
    EXPECT_EQ(input->cy, 72);
    EXPECT_EQ(input->style & (WS_SYSMENU | DS_CENTER | WS_CAPTION), DS_CENTER | WS_CAPTION);
    EXPECT_TRUE(hasRect(control(*input, 1002), 13, 9, 303, 14));
    EXPECT_TRUE(hasRect(control(*input, 1001), 139, 44, 50, 14));
    EXPECT_EQ(control(*input, 1001).style & BS_TYPEMASK, BS_PUSHBUTTON);

    EXPECT_EQ(query->caption, u"查询指定资料征订情况");
    EXPECT_EQ(query->cx, 298);
    EXPECT_EQ(query->cy, 82);
    const ui::DialogItemTemplate& combo = control(*query, 1000);
    EXPECT_TRUE(hasRect(combo, 16, 11, 264, 30));
    EXPECT_EQ(combo.style & (0x3 | CBS_SORT), CBS_DROPDOWN | CBS_SORT);
    EXPECT_TRUE(hasRect(control(*query, 1001), 124, 58, 50, 14));
}

TEST(Resources, StringIconAndManifest) {
    HINSTANCE m = res::instance();
    char16_t name[16];
    EXPECT_EQ(LoadStringW(m, 128, name, 16), 6);
    EXPECT_EQ(std::u16string(name), u"Varnel");
    EXPECT_EQ(LoadStringW(m, 128, name, 4), 3);
    EXPECT_EQ(std::u16string(name), u"Var");

    EXPECT_NE(res::module().manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"),
              std::string_view::npos);
    EXPECT_NE(res::module().manifest.find(R"(level="asInvoker")"), std::string_view::npos);

    // Every image is a well-formed XPM picture of its stated size.
    const ui::IconResource* icon = m->icon(128);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->images.size(), 2u);
    for (const ui::IconImage& image : icon->images) {
        std::istringstream header(image.xpm[0]);
        int w = 0, h = 0, colours = 0, perPixel = 0;
        header >> w >> h >> colours >> perPixel;
        EXPECT_EQ(w, image.width);
        EXPECT_EQ(h, image.height);
        ASSERT_EQ(perPixel, 1);
        ASSERT_EQ(image.xpm.size(), size_t(1 + colours + h));
        std::set<char> defined;
        for (int i = 1; i <= colours; ++i)
            defined.insert(image.xpm[size_t(i)][0]);
        for (int row = 0; row < h; ++row) {
            std::string pixels = image.xpm[size_t(1 + colours + row)];
            ASSERT_EQ(pixels.size(), size_t(w)) << "row " << row;
            for (char p : pixels)
                EXPECT_TRUE(defined.count(p)) << "row " << row;
        }
    }
    EXPECT_EQ(LoadImageW(m, MAKEINTRESOURCEW(128), IMAGE_ICON, 16, 16, 0), &icon->images[1]);
    EXPECT_EQ(LoadImageW(m, MAKEINTRESOURCEW(128), IMAGE_ICON, 24, 24, 0), &icon->images[0]);
    EXPECT_EQ(LoadImageW(m, MAKEINTRESOURCEW(129), IMAGE_ICON, 16, 16, 0), nullptr);
}

} // namespace
