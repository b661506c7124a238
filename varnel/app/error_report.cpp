#include "varnel/app/error_report.h"

#include <utility>

namespace app {

namespace {
ErrorListener& listener() {
    static ErrorListener l;
    return l;
}
} // namespace

void setErrorListener(ErrorListener l) {
    listener() = std::move(l);
}

void notifyErrorListener(const ErrorReport& report) {
    if (listener())
        listener()(report);
}

} // namespace app
