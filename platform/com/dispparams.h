#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

#include <initializer_list>
#include <vector>

// The argument at zero-based parameter position `position` of a dispatch call, whether it came named
// (a named argument whose id is the position) or positional (counted from the end of rgvarg past the
// named ones). Null when the call did not pass it.
const Variant* dispArg(const DISPPARAMS& params, UINT position);

// As Windows' DispGetParam: the argument at `position` converted to vtTarg. Answers
// DISP_E_PARAMNOTFOUND when it is absent and DISP_E_TYPEMISMATCH (with *puArgErr set to its index in
// rgvarg) when it does not convert. VT_VARIANT as vtTarg copies the argument unconverted.
HRESULT DispGetParam(const DISPPARAMS* pdispparams, UINT position, VARTYPE vtTarg, Variant* pvarResult,
                     UINT* puArgErr);

// Arguments for a call, given first-to-last as a caller writes them, laid out last-first as
// DISPPARAMS wants them. Keeps the arguments alive for as long as the DISPPARAMS is in use.
class DispArgs {
public:
    DispArgs(std::initializer_list<Variant> args);
    explicit DispArgs(std::vector<Variant> args);

    DispArgs(const DispArgs&) = delete;
    DispArgs& operator=(const DispArgs&) = delete;

    DISPPARAMS* params() { return &params_; }

private:
    std::vector<Variant> reversed_;
    DISPPARAMS params_;
};
