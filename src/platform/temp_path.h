#pragma once
#include <optional>
#include <string>

namespace platform {

// The folder for temporary files, ending in the separator; nothing when the
// service fails (a path longer than 260 bytes counts as a failure).
std::optional<std::string> TempPath();

}  // namespace platform
