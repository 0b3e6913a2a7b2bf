#include "platform/posix/errno_table.h"

#include <cerrno>

#include "platform/system_error.h"

namespace platform {
namespace {

struct Mapping {
  int errno_value;
  int system_code;
};

// Each errno next to the code that the same failure carries where these
// codes come from. A missing entry in a path that exists up to its parent
// is told apart from a missing parent by the caller, which knows the path.
constexpr Mapping kTable[] = {
    {ENOENT, kErrorFileNotFound},
    {ENOTDIR, kErrorPathNotFound},
    {EMFILE, kErrorTooManyOpenFiles},
    {ENFILE, kErrorTooManyOpenFiles},
    {EACCES, kErrorAccessDenied},
    {EPERM, kErrorAccessDenied},
    {EBADF, 6},          // invalid handle
    {ENOMEM, 8},         // not enough memory
    {EROFS, 19},         // write protected
    {ENXIO, 21},         // device not ready
    {ENODEV, 21},
    {EBUSY, 32},         // in use by another program
    {ETXTBSY, 32},
    {EEXIST, 80},        // file exists
    {EINVAL, 87},        // invalid parameter
    {ENOSPC, 112},       // disk full
    {ENOTEMPTY, 145},    // folder not empty
    {ENAMETOOLONG, 206}, // name too long
    {ELOOP, 1921},       // link cannot be resolved
    {EIO, 1117},         // device I/O failure
};

}  // namespace

int SystemErrorCode(int errno_value) {
  if (errno_value == 0) return kErrorNone;
  for (const Mapping& m : kTable)
    if (m.errno_value == errno_value) return m.system_code;
  return kErrorGeneralFailure;
}

}  // namespace platform
