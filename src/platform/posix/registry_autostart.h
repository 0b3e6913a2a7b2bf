#pragma once
// The desktop starts at logon what the autostart folder lists; the logon
// values of the registry are mirrored there. Private to the registry
// backend.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::registry_detail {

// The key whose values the desktop starts at logon (under the machine hive),
// without its leading separator.
inline constexpr std::string_view kLogonKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Writes the autostart entry for a logon value, or removes it when the value
// is no text that could be started. Failures are ignored: the store stays
// the one source of truth.
void MirrorLogonValue(const std::string& name, uint32_t type, std::string_view data);
void RemoveLogonValue(const std::string& name);

// The "Exec" line's value for a command line split by the command-line rules
// and quoted by the desktop-entry rules.
std::string DesktopExec(std::string_view command_line);

}  // namespace platform::registry_detail
