#pragma once

#include <functional>
#include <string>
#include <vector>

// A person at the screen of the Windows build, for tests: acts in the real windows that the program
// shows, from a timer of the thread's message loop, as soon as a window of the given caption is there.
namespace person {

struct Step {
    enum Kind { Type, Select, Press } kind;
    int control;
    std::u16string text; // what Type types
    int index = -1;      // the item Select picks
};

// What the window showed when the person acted on it.
struct Seen {
    std::vector<std::u16string> texts;                      // its static texts, in order
    std::vector<std::vector<std::u16string>> comboBoxItems; // each combo box's list as shown
    std::vector<std::u16string> editTexts;                  // each edit control's text
    bool found = false;
};

// Takes the steps in the dialog or message box titled `caption`; `seen` is filled in before them.
void willAnswer(std::u16string caption, std::vector<Step> steps, Seen& seen);

// Runs `action` from the thread's message loop, once.
void later(std::function<void()> action);

} // namespace person
