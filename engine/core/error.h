#pragma once

#include <stdexcept>
#include <string>

namespace engine {

// A request the engine refuses (a formula that does not parse, a sheet name in use, cells that would be
// pushed off the sheet). The object model reports it as Excel's failed-method error; the workbook is
// left as it was before the request.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace engine
