#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/in_use.h"

namespace clean {

// A folder that cannot be entered. Carries the system error code; the text
// follows from the code.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code);
  int Code() const { return code_; }

 private:
  int code_;
};

// The text shown for an input/output error's code.
std::string InOutErrorText(int code);

// Deletes every file beneath `folder`, at any depth, except files named
// "desktop.ini" in any ASCII letter case, clearing read-only first, and
// removes every sub-folder that has become empty, deepest first. The folder
// itself stays as it is. Links are deleted as links, never followed; other
// filesystems mounted inside, sockets, pipes, devices and the files in
// `in_use` are left alone. Each deleted file adds its size div 1024 to
// `del_kb` (stopping at INT32_MAX) and is announced by bare name through
// `on_deleted`. A folder that cannot be entered, at the top or at any
// depth, raises EInOutError and ends the pass; what was not yet visited
// stays. Nothing else is reported.
void EmptyFolder(const std::string& folder, int32_t& del_kb, const platform::InUseSnapshot& in_use,
                 const std::function<void(const std::string& deleted_name)>& on_deleted);

}  // namespace clean
