#pragma once
#include <vector>

#include "platform/directory.h"

namespace platform {

// The files that running programs hold open or mapped at one moment, as far
// as this user can see them (the running program file among them). A
// cleaner treats such a file as one that cannot be deleted.
class InUseSnapshot {
 public:
  // An empty snapshot: contains nothing.
  InUseSnapshot() = default;

  static InUseSnapshot Take();

  bool Contains(const FileIdentity& identity) const;

 private:
  std::vector<FileIdentity> files_;  // sorted, without duplicates
};

}  // namespace platform
