#pragma once

// Runs Varnel on the screen: the program starts as its entry point starts it, with the user-interface
// services on Qt and a window for each visible spreadsheet instance. Returns the program's exit code once
// the program has ended and the last spreadsheet window is closed. Needs a QApplication.
namespace desktop {

int runVarnel();

} // namespace desktop
