#pragma once

#include "platform/ui/trace.h"

// Development-build checks of results the start-up does not act on. A failed one is traced with its
// condition as written after macro expansion (SUCCEEDED(hr) reads "(((HRESULT)(hr)) >= 0)") and the
// program carries on. Release builds leave them out.
#ifdef NDEBUG
#define VARNEL_ASSERT(expr) ((void)sizeof((expr) ? 1 : 0))
#else
#define VARNEL_ASSERT(expr) VARNEL_ASSERT_EXPANDED(expr)
#define VARNEL_ASSERT_EXPANDED(expr) ((expr) ? void(0) : ::ui::assertionFailed(#expr, __FILE__, __LINE__))
#endif
