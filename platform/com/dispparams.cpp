#include "platform/com/dispparams.h"

#include "platform/com/com_error.h"

#include <algorithm>
#include <utility>

const Variant* dispArg(const DISPPARAMS& params, UINT position) {
    if (!params.rgvarg || params.cNamedArgs > params.cArgs)
        return nullptr;
    UINT positional = params.cArgs - params.cNamedArgs;
    if (position < positional)
        return &params.rgvarg[params.cArgs - 1 - position];
    if (!params.rgdispidNamedArgs)
        return nullptr;
    for (UINT i = 0; i < params.cNamedArgs; ++i)
        if (params.rgdispidNamedArgs[i] == static_cast<DISPID>(position))
            return &params.rgvarg[i];
    return nullptr;
}

HRESULT DispGetParam(const DISPPARAMS* pdispparams, UINT position, VARTYPE vtTarg, Variant* pvarResult,
                     UINT* puArgErr) {
    if (!pdispparams || !pvarResult)
        return E_INVALIDARG;
    const Variant* arg = dispArg(*pdispparams, position);
    if (!arg || arg->isMissing())
        return DISP_E_PARAMNOTFOUND;
    if (vtTarg == VT_VARIANT || arg->vt() == vtTarg) {
        *pvarResult = *arg;
        return S_OK;
    }
    try {
        if (vtTarg & VT_BYREF)
            throwComError(DISP_E_TYPEMISMATCH);
        *pvarResult = arg->changeType(vtTarg);
        return S_OK;
    } catch (const ComError& e) {
        if (puArgErr)
            *puArgErr = static_cast<UINT>(arg - pdispparams->rgvarg);
        return e.error();
    }
}

DispArgs::DispArgs(std::initializer_list<Variant> args) : DispArgs(std::vector<Variant>(args)) {}

DispArgs::DispArgs(std::vector<Variant> args) : reversed_(std::move(args)) {
    std::reverse(reversed_.begin(), reversed_.end());
    params_.rgvarg = reversed_.empty() ? nullptr : reversed_.data();
    params_.cArgs = static_cast<UINT>(reversed_.size());
}
