#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The Windows user interface itself, as the system backend (system_backend.h) drives it. Described in
// plain types: Windows' own headers and the window model's declarations of the same names cannot meet
// in one translation unit.
namespace ui::system {

// One control of a dialog as it shows now: its template's place and style, its text, a combo box's list
// and selection.
struct Control {
    int id = 0;
    std::u16string className;
    std::u16string text;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::vector<std::u16string> items;
    int selection = -1;
};

struct Dialog {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    std::u16string fontFace;
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charSet = 0;
    std::vector<Control> controls;
};

// What the user had entered when a button was pressed: the text of each edit control and combo box,
// a combo box's selection.
struct Entered {
    int id;
    std::u16string text;
    int selection;
};

// Runs the dialog built from the template until `command` answers with a result: called for every
// command the user gives (a button, Enter, Escape) with what was entered. When it has no result yet the
// dialog is shown again as `current` describes it. The owner is a system window or null.
using Command = std::function<std::optional<std::intptr_t>(int id, const std::vector<Entered>& entered)>;
std::intptr_t runDialog(const Dialog& dialog, void* owner, const Command& command,
                        const std::function<Dialog()>& current);

// MessageBoxW; the button pressed.
int messageBox(void* owner, const std::u16string& text, const std::u16string& caption, unsigned type);

// Dispatches the thread's messages (calls into the program's objects from other processes arrive as
// messages) until `done` says so, checking it after each message.
void runMessageLoop(const std::function<bool()>& done);
// Wakes a message loop so that it looks at `done` again.
void wakeMessageLoop();

} // namespace ui::system
