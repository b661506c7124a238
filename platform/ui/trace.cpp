#include "platform/ui/trace.h"

#include <cstdarg>
#include <cstdio>

namespace ui {

namespace {
TraceHandler& handler() {
    static TraceHandler h;
    return h;
}
} // namespace

void setTraceHandler(TraceHandler h) {
    handler() = std::move(h);
}

void trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line(n > 0 ? size_t(n) : 0, '\0');
    if (n > 0)
        std::vsnprintf(line.data(), line.size() + 1, format, args);
    va_end(args);
    if (handler())
        handler()(line);
    else
        std::fputs(line.c_str(), stderr);
}

void assertionFailed(const char* condition, const char* file, int line) {
    trace("%s(%d): Assertion failed: %s\n", file, line, condition);
}

} // namespace ui
