#pragma once

#include <functional>

// Runs a program on the screen: the user-interface services on Qt (dialogs, message boxes, the input box,
// the spreadsheet's own questions) and a window for each visible spreadsheet instance. `program` is the
// program's entry point; its result is returned once it has ended and the last spreadsheet window is
// closed. Makes the QApplication when there is none yet.
namespace desktop {

int runOnScreen(int& argc, char** argv, const std::function<int()>& program);

} // namespace desktop
