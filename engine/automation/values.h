#pragma once

#include "engine/core/value.h"
#include "platform/com/variant.h"

#include <string>

// Cell values as the object model hands them out and takes them in.
namespace engine::automation {

// Empty as VT_EMPTY, numbers as VT_R8, text as VT_BSTR, booleans as VT_BOOL and errors as VT_ERROR with
// the spreadsheet's error code (0x800A0000 plus its error number: 2007 for #DIV/0!, 2042 for #N/A ...).
Variant toVariant(const Value& value);
// The error value of an error variant: the codes toVariant gives, or the bare error numbers 2000 to 2042.
// Nothing for any other code.
std::optional<Value> errorValue(SCODE code);

// The text a cell shows for its value (numbers in the general format).
std::u16string shownText(const Value& value);

// A value given to a sheet function (a criterion): numbers, text, booleans and errors as such.
Value argumentValue(const Variant& v);

} // namespace engine::automation
