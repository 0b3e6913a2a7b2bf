#include "platform/drives.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A sample mount table: a disk root, tmpfs, pseudo filesystems, a second
// disk, a removable stick, network and FUSE mounts, an optical disc, a
// snap image, a bind mount of the second disk, btrfs subvolumes of one
// device and a mount point holding a blank.
const char kMountInfo[] =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "23 28 0:22 / /sys rw,relatime - sysfs sysfs rw\n"
    "28 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "29 28 0:26 / /tmp rw,nosuid - tmpfs tmpfs rw\n"
    "30 28 0:27 / /dev/shm rw - tmpfs tmpfs rw\n"
    "31 28 8:17 / /data rw,relatime shared:5 - xfs /dev/sdb1 rw\n"
    "32 28 8:33 / /media/stick rw - vfat /dev/sdc1 rw\n"
    "33 28 0:40 / /net/home rw - nfs4 server:/home rw\n"
    "34 28 0:41 / /mnt/share rw - cifs //nas/share rw\n"
    "35 28 0:42 / /mnt/remote rw - fuse.sshfs me@host: rw\n"
    "36 28 11:0 / /media/cdrom ro - iso9660 /dev/sr0 ro\n"
    "37 28 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
    "38 28 8:17 / /srv/data-again rw - xfs /dev/sdb1 rw\n"
    "39 28 0:50 /@ /vol rw - btrfs /dev/sdd1 rw,subvol=/@\n"
    "40 39 0:50 /@home /vol/home rw - btrfs /dev/sdd1 rw,subvol=/@home\n"
    "41 28 8:49 / /mnt/my\\040disk rw - ext4 /dev/sde1 rw\n"
    "42 28 0:60 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "garbage line\n";

TEST(Drives, OffersLocalFixedFilesystemsInMountOrder) {
  auto removable = [](const std::string& device) { return device == "8:33"; };
  std::vector<std::string> expected = {"/", "/data", "/vol", "/vol/home", "/mnt/my disk"};
  EXPECT_EQ(platform::FixedDrivesFromMountTable(kMountInfo, removable), expected);
}

TEST(Drives, ContainerOverlayRootIsOfferedOtherOverlaysAreNot) {
  const char table[] =
      "100 90 0:70 / / rw - overlay overlay rw,lowerdir=/l,upperdir=/u,workdir=/w\n"
      "101 100 0:71 / /var/lib/engine/merged rw - overlay overlay rw\n";
  EXPECT_EQ(platform::FixedDrivesFromMountTable(table, nullptr), std::vector<std::string>{"/"});
}

TEST(Drives, ThisSystemOffersAbsoluteMountPoints) {
  for (const std::string& drive : platform::FixedDrives()) EXPECT_EQ(drive.front(), '/') << drive;
}

}  // namespace
