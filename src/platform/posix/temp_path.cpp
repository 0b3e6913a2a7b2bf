#include "platform/temp_path.h"

#include <cstdlib>

namespace platform {
namespace {

// The longest path the temporary-path service delivers: its callers keep it
// in a buffer of 261 bytes with the terminating NUL.
constexpr size_t kMaxTempPath = 260;

}  // namespace

std::optional<std::string> TempPath() {
  std::string path = "/tmp/";
  for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
    const char* value = std::getenv(name);
    if (value && *value) {
      path = value;
      break;
    }
  }
  if (path.back() != '/') path += '/';
  if (path.size() > kMaxTempPath) return std::nullopt;
  return path;
}

}  // namespace platform
