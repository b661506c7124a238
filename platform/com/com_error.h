#pragma once

#include "platform/com/hresult.h"

#include <exception>
#include <string>

// The automation error: the one exception every failing call of the automation interface raises,
// carrying the failed result code and a description (the server's own text, or a standard text for
// the code when the server gave none).
class ComError : public std::exception {
public:
    explicit ComError(HRESULT hr, std::u16string description = {});

    HRESULT error() const noexcept { return hr_; }
    const std::u16string& description() const noexcept { return description_; }
    // "0x800A03EC: description" in UTF-8, for logs.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    HRESULT hr_;
    std::u16string description_;
    std::string what_;
};

// The standard text for a result code ("Unspecified error" for E_FAIL ...), or "Error 0x…" for a code
// without one.
std::u16string errorMessage(HRESULT hr);

// Raises the automation error for a failed result.
[[noreturn]] void throwComError(HRESULT hr, std::u16string description = {});

// Raises the automation error when hr failed; lets success codes (S_OK, S_FALSE) through.
inline void checkResult(HRESULT hr) {
    if (FAILED(hr))
        throwComError(hr);
}
