#pragma once

#include "platform/com/hresult.h"

#include <functional>
#include <string>

// A command or event handler that failed with the automation error, as the user was told of it. The
// headless runner listens to these to log them; the program itself only shows the message box.
namespace app {

struct ErrorReport {
    std::u16string caption; // the command's caption, or the program's name for the other events
    HRESULT error = 0;
    std::u16string description;
};

using ErrorListener = std::function<void(const ErrorReport&)>;
void setErrorListener(ErrorListener listener);
void notifyErrorListener(const ErrorReport& report);

} // namespace app
