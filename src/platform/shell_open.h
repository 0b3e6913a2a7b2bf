#pragma once
#include <string>

namespace platform {

// Hands a web or "mailto:" address to the desktop's handler. The outcome is
// not reported: a desktop without a handler simply does nothing.
void ShellOpen(const std::string& address);

}  // namespace platform
