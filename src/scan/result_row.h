#pragma once
#include <cstdint>
#include <string>

#include "platform/file_identity.h"

namespace scan {

// One row of the results list: the file name as listed, the folder path
// without a trailing separator, the size in kilobytes (bytes / 1024,
// truncated), and which file it was when the scan saw it, so that the
// deletion can make sure it deletes that file and no other.
struct ResultRow {
  std::string name;
  std::string folder;
  int64_t kb = 0;
  platform::FileIdentity identity;
};

}  // namespace scan
