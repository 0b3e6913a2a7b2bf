#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when `path` names a file (not a folder) that exists.
bool FileExists(const std::string& path);

// The whole content of a file; nothing when it cannot be opened for reading.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file with exactly `bytes` through a temporary file in the
// same folder that is flushed to disk and renamed over the old one, so a
// failed write leaves the previous file whole. False when the file could
// not be created or written.
bool ReplaceFile(const std::string& path, std::string_view bytes);

// Deletes a file; false when it could not be deleted.
bool RemoveFile(const std::string& path);

}  // namespace platform
