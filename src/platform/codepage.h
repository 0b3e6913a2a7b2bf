#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Conversion between UTF-8 and the program's ANSI code page, which is
// GB2312 extended to GBK (code page 936): the encoding of the interface
// texts and of the help file.

// A character that the code page cannot hold becomes "?", as the system's
// own conversion does; malformed UTF-8 is treated the same way.
std::string Utf8ToAnsi(std::string_view utf8);

// A byte sequence that is not valid GBK becomes U+FFFD.
std::string AnsiToUtf8(std::string_view ansi);

// Like Utf8ToAnsi, but nothing when any character cannot be converted, for
// callers that must not lose text silently.
std::optional<std::string> Utf8ToAnsiExact(std::string_view utf8);

}  // namespace platform
