#pragma once

#include "engine/core/error.h"
#include "platform/com/com.h"
#include "platform/text/utf.h"

#include <optional>
#include <string>

// What every object of the spreadsheet's object model shares: the failed-method error and the handling
// of optional arguments.
namespace engine::automation {

// Raises the spreadsheet's failed-method error (0x800A03EC) with a description.
[[noreturn]] void fail(std::u16string description);

// Runs f, reporting the engine's own refusals (EngineError) as the failed-method error.
template <typename F> decltype(auto) guarded(F&& f) {
    try {
        return f();
    } catch (const EngineError& e) {
        fail(text::toUtf16(e.what()));
    }
}

// An argument left out: the missing value, or nothing at all.
inline bool omitted(const Variant& v) {
    return v.isMissing() || v.isEmpty();
}
std::optional<long> optionalLong(const Variant& v);
std::optional<bool> optionalBool(const Variant& v);

// The objects are called through their interfaces' own members; a late-bound call by dispatch id names
// no member they know.
template <typename... Interfaces> class Object : public ComObject<Interfaces...> {
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace engine::automation
