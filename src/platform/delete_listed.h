#pragma once
#include <functional>
#include <string>

#include "platform/file_identity.h"

namespace platform {

// Whether a file is held open by a running program.
using InUseTest = std::function<bool(const FileIdentity&)>;

// Deletes the file `name` in the absolute folder path `folder` only while it
// is still the file a scan listed: every folder on the way is reached
// without following a link, and the entry is a regular file with exactly
// `identity` that `in_use` (when given) does not report as open. True only
// when the file was deleted.
bool DeleteListedFile(const std::string& folder, const std::string& name, const FileIdentity& identity,
                      const InUseTest& in_use);

}  // namespace platform
