#include "engine/model/entry.h"

#include "engine/core/text.h"

namespace engine {

Entry interpretEntry(std::u16string_view typed) {
    Entry e;
    if (typed.empty())
        return e;
    if (typed[0] == u'\'') {
        e.value = Value::text(std::u16string(typed.substr(1)));
        return e;
    }
    if (typed[0] == u'=' && typed.size() > 1) {
        e.isFormula = true;
        e.formula = std::u16string(typed.substr(1));
        return e;
    }
    if (compareFolded(typed, u"TRUE") == 0 || compareFolded(typed, u"FALSE") == 0)
        e.value = Value::boolean(compareFolded(typed, u"TRUE") == 0);
    else if (auto err = parseErrorText(typed))
        e.value = Value::error(*err);
    else if (auto n = readNumber(typed))
        e.value = Value::number(*n);
    else
        e.value = Value::text(std::u16string(typed));
    return e;
}

} // namespace engine
