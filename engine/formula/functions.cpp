#include "engine/formula/functions.h"

#include "engine/core/text.h"
#include "engine/formula/functions/groups.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace engine::formula {
namespace {

// Every group's rows, sorted by name: a function's id is its place here.
struct Catalogue {
    std::vector<const Function*> byId;

    Catalogue() {
        for (auto group : {logicalFunctions(), informationFunctions(), mathFunctions(), roundingFunctions(),
                           elementaryFunctions(), romanFunctions(), subtotalFunctions(),
                           statisticalFunctions(), dispersionFunctions(), orderFunctions(), textFunctions(),
                           characterFunctions(), positionFunctions(), byteFunctions(), formattedFunctions(),
                           dateFunctions(), lookupFunctions(), referenceFunctions(), financialFunctions()})
            for (const Function& f : group)
                byId.push_back(&f);
        std::sort(byId.begin(), byId.end(), before);
        // Two rows of one name would leave the second unreachable.
        if (std::adjacent_find(byId.begin(), byId.end(), [](auto* a, auto* b) { return !before(a, b); }) !=
            byId.end())
            std::abort();
    }
    static bool before(const Function* a, const Function* b) { return compareFolded(a->name, b->name) < 0; }
};

const Catalogue& catalogue() {
    static const Catalogue c;
    return c;
}

} // namespace

std::optional<std::uint16_t> findFunction(std::u16string_view name) {
    const auto& all = catalogue().byId;
    auto it = std::lower_bound(all.begin(), all.end(), name, [](const Function* f, std::u16string_view n) {
        return compareFolded(f->name, n) < 0;
    });
    if (it == all.end() || compareFolded((*it)->name, name) != 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(it - all.begin());
}

const Function& function(std::uint16_t id) {
    return *catalogue().byId.at(id);
}

std::uint16_t functionCount() {
    return static_cast<std::uint16_t>(catalogue().byId.size());
}

} // namespace engine::formula
