#pragma once

#include <string>
#include <string_view>

// Text is UTF-16 inside the program and the spreadsheet, as a BSTR would be; UTF-8 only at the edges
// (file names, terminal, logs). These are the only conversions between the two. Ill-formed input is
// replaced by U+FFFD rather than refused, so a log line or a file name never throws.
namespace text {

std::u16string toUtf16(std::string_view utf8);
// Whether the bytes are well-formed UTF-8, for the edges that must refuse what is not.
bool isUtf8(std::string_view bytes);
std::string toUtf8(std::u16string_view utf16);

} // namespace text
