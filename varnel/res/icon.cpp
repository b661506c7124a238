#include "varnel/res/resources.h"

// The program icon in two sizes, as XPM pictures: a register page with a blue title band and a red
// bookmark. XPM keeps the picture readable in the source and loads directly into a front end's image types.
namespace res {

namespace {

// clang-format off
constexpr const char* const icon32[] = {
    "32 32 10 1",
    ". c None",
    "b c #2F6FC4",
    "d c #A5261E",
    "g c #B9CCE6",
    "h c #6CA0E6",
    "o c #233F6E",
    "r c #D93B30",
    "s c #9AA4B5",
    "t c #555F70",
    "w c #FDFDFA",
    "....................rrrd........",
    "....................rrrd........",
    "....................rrrd........",
    "....oooooooooooooooorrrdoooo....",
    "....ohhhhhhhhhhhhhhhrrrdhhhos...",
    "....obbbbbbbbbbbbbbbrrrdbbbos...",
    "....obbbbbbbbbbbbbbbrrrdbbbos...",
    "....obbbbbbbbbbbbbbbrrrdbbbos...",
    "....obbbbbbbbbbbbbbbrrrdbbbos...",
    "....obbbbbbbbbbbbbbbrrrdbbbos...",
    "....owwwwwwwgwwwwwwwrrrdwwwos...",
    "....owwwwwwwgwwwwwwwrrrdwwwos...",
    "....owtttttwgwttttttrrrdwwwos...",
    "....ogggggggggggggggrggdgggos...",
    "....owwwwwwwgwwwwwwwrwwdwwwos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owtttttwgwttttttwwwwwwwos...",
    "....oggggggggggggggggggggggos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owtttttwgwttttttttttttwos...",
    "....oggggggggggggggggggggggos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owtttttwgwttttttttwwwwwos...",
    "....oggggggggggggggggggggggos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....owwwwwwwgwwwwwwwwwwwwwwos...",
    "....oooooooooooooooooooooooos...",
    ".....ssssssssssssssssssssssss...",
    "................................"
};

constexpr const char* const icon16[] = {
    "16 16 10 1",
    ". c None",
    "b c #2F6FC4",
    "d c #A5261E",
    "g c #B9CCE6",
    "h c #6CA0E6",
    "o c #233F6E",
    "r c #D93B30",
    "s c #9AA4B5",
    "t c #555F70",
    "w c #FDFDFA",
    "..........rd....",
    "..........rd....",
    "..oooooooordooo.",
    "..ohhhhhhhrdhhos",
    "..obbbbbbbrdbbos",
    "..owwwgwwwrdwwos",
    "..owtwgwttrdtwos",
    "..ogggggggrdggos",
    "..owwwgwwwwwwwos",
    "..owtwgwtttwwwos",
    "..ogggggggggggos",
    "..owwwgwwwwwwwos",
    "..owtwgwtttttwos",
    "..ogggggggggggos",
    "..ooooooooooooos",
    "...sssssssssssss"
};
// clang-format on

constexpr ui::IconImage images[] = {{32, 32, icon32}, {16, 16, icon16}};

} // namespace

const ui::IconResource mainIcon{IDR_MAINFRAME, images};

} // namespace res
