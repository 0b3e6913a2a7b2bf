#pragma once

namespace platform {

// System error codes as the program reports them, the same numbers on every
// system: each backend turns its own errors into these in one table.
inline constexpr int kErrorNone = 0;
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorTooManyOpenFiles = 4;
inline constexpr int kErrorAccessDenied = 5;
// Anything the table knows no better name for.
inline constexpr int kErrorGeneralFailure = 31;

}  // namespace platform
