#include "platform/drives.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>


namespace platform {
namespace {

// Filesystem types that live on a local disk. Everything else (tmpfs,
// ramfs, nfs, cifs, smb3, fuse.*, iso9660, udf, squashfs, proc, sysfs,
// cgroup, devtmpfs …) is not offered.
const std::set<std::string, std::less<>> kDiskTypes = {
    "ext2", "ext3",  "ext4",    "xfs",     "btrfs",   "f2fs",     "vfat", "msdos", "exfat",
    "ntfs", "ntfs3", "zfs",     "jfs",     "reiserfs", "nilfs2",  "hfs",  "hfsplus", "bcachefs",
    "fuseblk",  // a FUSE driver over a local block device, as the NTFS driver is
};

// Mount table fields escape blanks, tabs, newlines and backslashes as
// three octal digits.
std::string Unescape(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && field.size() - i >= 4) {
      std::string_view digits = field.substr(i + 1, 3);
      bool octal = true;
      for (char d : digits) octal = octal && d >= '0' && d <= '7';
      if (octal) {
        out += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

// The whole text of a small system file; nothing when it cannot be read.
std::optional<std::string> ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Mount {
  std::string device;  // major:minor
  std::string root;    // the folder of the filesystem shown at the mount point
  std::string point;
  std::string type;
};

// One line: id parent major:minor root point options [optional…] - type source super-options
bool ParseLine(const std::string& line, Mount& mount) {
  std::istringstream in(line);
  std::vector<std::string> fields{std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
  size_t dash = 6;
  while (dash < fields.size() && fields[dash] != "-") ++dash;
  if (fields.size() < 6 || dash + 1 >= fields.size()) return false;
  mount.device = fields[2];
  mount.root = Unescape(fields[3]);
  mount.point = Unescape(fields[4]);
  mount.type = fields[dash + 1];
  return !mount.point.empty() && mount.point[0] == '/';
}

bool OnDisk(const Mount& mount) {
  if (kDiskTypes.count(mount.type)) return true;
  // A container's root is an overlay of disk folders; other overlays are
  // the container engine's own business.
  return mount.type == "overlay" && mount.point == "/";
}

}  // namespace

std::vector<std::string> FixedDrivesFromMountTable(
    std::string_view mountinfo, const std::function<bool(const std::string& major_minor)>& removable) {
  std::vector<std::string> drives;
  // The same tree of one device mounted twice (a bind mount) is offered
  // once, at its first place. Different roots of one device (btrfs
  // subvolumes) are different trees and each is offered.
  std::set<std::pair<std::string, std::string>> seen;
  std::istringstream lines{std::string(mountinfo)};
  std::string line;
  while (std::getline(lines, line)) {
    Mount mount;
    if (!ParseLine(line, mount) || !OnDisk(mount)) continue;
    if (removable && removable(mount.device)) continue;
    if (!seen.insert({mount.device, mount.root}).second) continue;
    drives.push_back(mount.point);
  }
  return drives;
}

bool BlockDeviceRemovable(const std::string& major_minor) {
  const std::string base = "/sys/dev/block/" + major_minor;
  // The flag belongs to the whole disk; a partition's folder lies inside it.
  for (const char* place : {"/removable", "/../removable"}) {
    if (auto text = ReadText(base + place)) return !text->empty() && (*text)[0] == '1';
  }
  return false;
}

std::vector<std::string> FixedDrives() {
  auto table = ReadText("/proc/self/mountinfo");
  if (!table) return {};
  return FixedDrivesFromMountTable(*table, BlockDeviceRemovable);
}

}  // namespace platform
