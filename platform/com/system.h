#pragma once

#include <cstdint>

// Windows' COM library, as the Windows build's class registry calls it. In plain types: Windows' own
// headers and the platform's declarations of the same names cannot meet in one translation unit. Results
// are HRESULT values; a class id is the 16 bytes of a GUID.
namespace com::system {

std::int32_t initialize();
void uninitialize();

std::int32_t classFromProgId(const char16_t* progId, unsigned char (&clsid)[16]);

// CoCreateInstance for IDispatch, then OleRun: the running object, its one reference the caller's.
std::int32_t createRunning(const unsigned char (&clsid)[16], void** dispatch);
void release(void* object);

} // namespace com::system
