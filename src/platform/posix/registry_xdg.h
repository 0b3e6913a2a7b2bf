#pragma once
// The user's base folders by the XDG rules, private to the registry backend.
// Each is an absolute path without a trailing separator, or empty when
// neither the variable nor the home folder is known.
#include <string>

namespace platform::registry_detail {

std::string HomeFolder();
// $<variable> when it is an absolute path, else the home folder followed by
// `fallback` (".local/share", ".config", ".cache").
std::string BaseFolder(const char* variable, const char* fallback);
inline std::string DataHome() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }
inline std::string ConfigHome() { return BaseFolder("XDG_CONFIG_HOME", ".config"); }
inline std::string CacheHome() { return BaseFolder("XDG_CACHE_HOME", ".cache"); }

bool IsFolder(const std::string& path);
// Creates `path` and its missing parents with `mode`; true when it is a
// folder afterwards.
bool MakeFolders(const std::string& path, unsigned mode);

}  // namespace platform::registry_detail
