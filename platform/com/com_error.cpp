#include "platform/com/com_error.h"

#include "platform/text/utf.h"

#include <cstdio>
#include <utility>

namespace {

std::string hex(HRESULT hr) {
    char buffer[11];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hr));
    return buffer;
}

} // namespace

std::u16string errorMessage(HRESULT hr) {
    switch (hr) {
    case S_OK:
        return u"The operation completed successfully.";
    case S_FALSE:
        return u"The operation completed; the answer is no.";
    case E_NOTIMPL:
        return u"Not implemented.";
    case E_NOINTERFACE:
        return u"No such interface supported.";
    case E_POINTER:
        return u"Invalid pointer.";
    case E_FAIL:
        return u"Unspecified error.";
    case E_UNEXPECTED:
        return u"Catastrophic failure.";
    case E_OUTOFMEMORY:
        return u"Not enough memory resources are available to complete this operation.";
    case E_INVALIDARG:
        return u"The parameter is incorrect.";
    case DISP_E_UNKNOWNINTERFACE:
        return u"Unknown interface.";
    case DISP_E_MEMBERNOTFOUND:
        return u"Member not found.";
    case DISP_E_PARAMNOTFOUND:
        return u"Parameter not found.";
    case DISP_E_TYPEMISMATCH:
        return u"Type mismatch.";
    case DISP_E_UNKNOWNNAME:
        return u"Unknown name.";
    case DISP_E_NONAMEDARGS:
        return u"No named arguments.";
    case DISP_E_BADVARTYPE:
        return u"Bad variable type.";
    case DISP_E_EXCEPTION:
        return u"Exception occurred.";
    case DISP_E_OVERFLOW:
        return u"Out of present range.";
    case DISP_E_BADINDEX:
        return u"Invalid index.";
    case DISP_E_BADPARAMCOUNT:
        return u"Invalid number of parameters.";
    case DISP_E_PARAMNOTOPTIONAL:
        return u"Parameter not optional.";
    case CLASS_E_NOAGGREGATION:
        return u"Class does not support aggregation.";
    case REGDB_E_CLASSNOTREG:
        return u"Class not registered.";
    case CONNECT_E_NOCONNECTION:
        return u"There is no connection for this connection ID.";
    case CONNECT_E_ADVISELIMIT:
        return u"This implementation's limit for advisory connections has been reached.";
    case CONNECT_E_CANNOTCONNECT:
        return u"Connection attempt failed.";
    case CO_E_NOTINITIALIZED:
        return u"CoInitialize has not been called.";
    case CO_E_CLASSSTRING:
        return u"Invalid class string.";
    default:
        return text::toUtf16("Error " + hex(hr));
    }
}

ComError::ComError(HRESULT hr, std::u16string description)
    : hr_(hr), description_(description.empty() ? errorMessage(hr) : std::move(description)),
      what_(hex(hr) + ": " + text::toUtf8(description_)) {}

void throwComError(HRESULT hr, std::u16string description) {
    throw ComError(hr, std::move(description));
}
