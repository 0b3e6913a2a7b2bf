#pragma once

namespace platform {

// The system error code (platform/system_error.h) for an errno value; the
// one place where this backend's errors are converted.
int SystemErrorCode(int errno_value);

}  // namespace platform
