#include "platform/posix/registry_xdg.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform::registry_detail {
namespace {

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return WithoutTrailingSlashes(home);
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
    return WithoutTrailingSlashes(pw->pw_dir);
  return {};
}

std::string BaseFolder(const char* variable, const char* fallback) {
  // Relative values are invalid by the base-directory rules and ignored.
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return WithoutTrailingSlashes(value);
  std::string home = HomeFolder();
  if (home.empty()) return {};
  return (home == "/" ? "" : home) + "/" + fallback;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolders(const std::string& path, unsigned mode) {
  if (path.empty() || IsFolder(path)) return !path.empty();
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), mode)) return false;
  return ::mkdir(path.c_str(), mode) == 0 || errno == EEXIST ? IsFolder(path) : false;
}

}  // namespace platform::registry_detail
