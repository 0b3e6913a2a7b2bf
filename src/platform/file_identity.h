#pragma once
#include <cstdint>

namespace platform {

// Which file an entry is, as opaque numbers: two entries are the same file
// exactly when both numbers are equal.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

}  // namespace platform
