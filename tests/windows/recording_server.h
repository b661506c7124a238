#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A real COM automation object for tests of the Windows build, standing where the spreadsheet stands:
// it knows every member name it is asked for, records each call with its arguments as they arrived
// (as VARIANTs), answers from a table, and fires events through real connection points. Values are
// written as text: "I2:-1", "I4:3", "R8:2.5", "BOOL:-1", "BSTR:text", "EMPTY", "MISSING", "OBJECT" (a
// new object of the same server), "ARRAY:a,b,c,d" (a 2 x 2 array of texts, row by row), "FAIL:<hex
// code>:<description>" (the call fails with that exception).
namespace recording {

struct Call {
    std::u16string object; // "app", or the member that made the object ("app.Workbooks")
    std::u16string member;
    std::uint16_t flags;
    std::vector<std::u16string> args; // first to last
    std::vector<std::int32_t> namedArgs;
};

struct Log {
    std::vector<Call> calls;
    // The answers by member name; a member without one answers "OBJECT".
    std::map<std::u16string, std::u16string> answers;
    // Told of each call once it is recorded (connections too, as the members "(advise)" and
    // "(unadvise)"), with the object called.
    std::function<void(void* object, const Call&)> onCall;
};

// A new server object named "app"; the caller owns its one reference (an IDispatch*).
void* create(std::shared_ptr<Log> log);
void release(void* object);

// Fires the event with the arguments first to last ("SELF" is the object itself, "FLAG" a VT_BYREF |
// VT_BOOL flag starting false) at every sink advised on `eventInterface` (the 16 bytes of its id); gives
// each sink's result, the flag after the event and the exception description a sink gave.
struct Fired {
    std::vector<std::int32_t> results;
    bool flag = false;
    std::u16string description;
};
Fired fire(void* object, const unsigned char (&eventInterface)[16], std::int32_t dispid,
           const std::vector<std::u16string>& args);
int sinks(void* object);

} // namespace recording
