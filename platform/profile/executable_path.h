#pragma once

#include <string>

namespace profile {

// The running executable's full path as the system gives it, folders separated by "/".
std::u16string executablePath();

} // namespace profile
