#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Windows' COM and OLE automation, as the Windows build calls them. In plain types: Windows' own headers
// and the platform's declarations of the same names cannot meet in one translation unit. Results are
// HRESULT values; an interface or class id is the 16 bytes of a GUID; a system object is the pointer to
// its IDispatch.
namespace com::system {

using Id = unsigned char[16];

std::int32_t initialize();
void uninitialize();

std::int32_t classFromProgId(const char16_t* progId, Id& clsid);

// CoCreateInstance for IDispatch, then OleRun: the running object, its one reference the caller's.
std::int32_t createRunning(const Id& clsid, void** dispatch);
void addRef(void* object);
void release(void* object);

// A value as a VARIANT carries it. An object is a system object of which the value owns one
// reference; a flag points at a VARIANT_BOOL its owner keeps.
struct Value {
    std::uint16_t type = 0;   // the VARTYPE: VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R8, VT_BSTR, VT_DISPATCH,
                              // VT_ERROR, VT_BOOL, VT_BYREF | VT_BOOL
    std::int32_t integer = 0; // VT_I2, VT_I4, VT_ERROR (its code), VT_BOOL (0 or -1)
    double number = 0;        // VT_R8
    std::u16string text;      // VT_BSTR
    void* object = nullptr;   // VT_DISPATCH
    std::int16_t* flag = nullptr;

    Value() = default;
    Value(Value&& other) noexcept;
    Value& operator=(Value&& other) noexcept;
    Value(const Value&) = delete;
    Value& operator=(const Value&) = delete;
    ~Value();
};

// Calls member `name` of the object by name (GetIDsOfNames, then Invoke) with the arguments
// first-to-last; a property is put as the value of the one named argument DISPID_PROPERTYPUT, as
// automation requires. Arguments left out (VT_ERROR DISP_E_PARAMNOTFOUND) at the end are not passed at
// all. An exception of the server answers its code, with its description in `description`.
std::int32_t invoke(void* object, std::u16string_view name, std::uint16_t flags, std::vector<Value>& args,
                    Value& result, std::u16string& description);
// The same by dispatch id.
std::int32_t invoke(void* object, std::int32_t dispid, std::uint16_t flags, std::vector<Value>& args,
                    Value& result, std::u16string& description);

// An event, its arguments first-to-last; answers a result and, for a failure, its description.
using EventHandler =
    std::function<std::int32_t(std::int32_t dispid, std::vector<Value>& args, std::u16string& description)>;

// Connects a sink calling `handler` to the object's connection point for the event interface.
std::int32_t advise(void* object, const Id& eventInterface, EventHandler handler, std::uint32_t& cookie);
std::int32_t unadvise(void* object, const Id& eventInterface, std::uint32_t cookie);

} // namespace com::system
