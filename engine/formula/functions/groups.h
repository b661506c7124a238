#pragma once

#include "engine/formula/functions.h"

#include <span>

// The rows of each group of worksheet functions, for the catalogue (functions.cpp).
namespace engine::formula {

std::span<const Function> logicalFunctions();
std::span<const Function> informationFunctions();
std::span<const Function> mathFunctions();
std::span<const Function> roundingFunctions();
std::span<const Function> elementaryFunctions();
std::span<const Function> romanFunctions();
std::span<const Function> subtotalFunctions();
std::span<const Function> statisticalFunctions();
std::span<const Function> dispersionFunctions();
std::span<const Function> orderFunctions();
std::span<const Function> textFunctions();
std::span<const Function> characterFunctions();
std::span<const Function> positionFunctions();
std::span<const Function> byteFunctions();
std::span<const Function> formattedFunctions();
std::span<const Function> dateFunctions();
std::span<const Function> financialFunctions();
std::span<const Function> lookupFunctions();
std::span<const Function> referenceFunctions();

} // namespace engine::formula
