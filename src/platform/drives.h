#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The fixed drives a scan may walk, in the system's mount order. On this
// system a drive is the mount point of a local filesystem on a fixed disk
// ("/", "/home"); RAM, network, optical, image and removable media and
// pseudo filesystems are left out, and one filesystem tree mounted at
// several places is offered once.
std::vector<std::string> FixedDrives();

// The filter behind FixedDrives(), over the text of the mount table in the
// kernel's mountinfo format. `removable` answers for a block device given
// as "major:minor".
std::vector<std::string> FixedDrivesFromMountTable(
    std::string_view mountinfo, const std::function<bool(const std::string& major_minor)>& removable);

// Whether the block device "major:minor" (or the disk holding that
// partition) is removable media; false when the system does not say.
bool BlockDeviceRemovable(const std::string& major_minor);

}  // namespace platform
