#include "engine/automation/support.h"

namespace engine::automation {

void fail(std::u16string description) {
    throw ComError(XL_E_METHODFAILED, std::move(description));
}

std::optional<long> optionalLong(const Variant& v) {
    if (omitted(v))
        return std::nullopt;
    try {
        return v.toLong();
    } catch (const ComError&) {
        fail(u"The argument is not a number.");
    }
}

std::optional<bool> optionalBool(const Variant& v) {
    if (omitted(v))
        return std::nullopt;
    try {
        return v.toBool();
    } catch (const ComError&) {
        fail(u"The argument is not true or false.");
    }
}

} // namespace engine::automation
