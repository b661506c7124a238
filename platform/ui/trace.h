#pragma once

#include <functional>
#include <string>

// Development diagnostics in the manner of ATLTRACE and ATLASSERT. Both are kept in every build and never
// stop the program: a failed assertion is traced with its condition and the program carries on, so that a
// headless session or a test sees the report instead of an abort. Lines go to standard error unless a handler
// is set.
namespace ui {

using TraceHandler = std::function<void(const std::string& line)>;

// Sends every later trace line to handler; an empty handler restores standard error.
void setTraceHandler(TraceHandler handler);

[[gnu::format(printf, 1, 2)]] void trace(const char* format, ...);
void assertionFailed(const char* condition, const char* file, int line);

} // namespace ui

#define ATLTRACE(...) ::ui::trace(__VA_ARGS__)
// The condition is traced with its macros expanded, as a Windows debug build reports it.
#define ATLASSERT(expr) UI_ASSERT_EXPANDED(expr)
#define UI_ASSERT_EXPANDED(expr) ((expr) ? void(0) : ::ui::assertionFailed(#expr, __FILE__, __LINE__))
