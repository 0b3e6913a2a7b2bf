#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_identity.h"

namespace platform {

// Attribute bits of a directory entry.
inline constexpr uint32_t kAttrReadOnly = 1;
inline constexpr uint32_t kAttrHidden = 2;
inline constexpr uint32_t kAttrSystem = 4;
inline constexpr uint32_t kAttrDirectory = 16;
inline constexpr uint32_t kAttrArchive = 32;

enum class EntryKind : uint8_t {
  kFile,
  kFolder,
  kLink,   // a symbolic link or junction: an entry of its own, never followed
  kOther,  // socket, pipe, device: never touched
};

struct DirEntry {
  std::string name;  // bare name, never "." or ".."
  uint32_t attributes = 0;
  uint64_t size = 0;  // bytes of a file; 0 for every other kind
  EntryKind kind = EntryKind::kOther;
  FileIdentity identity;
  // The entry lies on another filesystem or mount than its folder (a mount
  // point, or a file bound over a name): a walk leaves it alone.
  bool other_filesystem = false;
};

class Folder;

// The outcome of opening a folder.
enum class OpenStatus : uint8_t {
  kOpened,
  kFailed,   // the system refused; system_code says why
  kChanged,  // no longer the folder that was listed (now a link, a file, another filesystem)
};

struct FolderOpening;

// An open folder. Every operation names entries by their bare name relative
// to the open folder, so a walk stays inside it however the paths above it
// change. Move-only; closes itself.
class Folder {
 public:
  Folder() = default;
  ~Folder();
  Folder(Folder&&) noexcept;
  Folder& operator=(Folder&&) noexcept;
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // Opens the folder at a path the user chose; links along the path are
  // followed. An empty path fails with kErrorPathNotFound.
  static FolderOpening Open(const std::string& path);

  // Opens a sub-folder that Next() delivered, by its bare name, without
  // following a link, and only while it is still that same folder on the
  // same filesystem.
  FolderOpening OpenChild(const DirEntry& entry) const;

  bool IsOpen() const { return handle_ != nullptr; }

  // The next entry of the listing, "." and ".." left out. False at the end,
  // and when the folder cannot be listed further.
  bool Next(DirEntry& entry);

  // Gives an entry of this folder new attributes. Only the read-only bit can
  // change on every system; a request that leaves it as the entry was listed
  // succeeds without touching the disk. False when the change was refused or
  // the entry is no longer the listed file.
  bool SetAttributes(const DirEntry& entry, uint32_t attributes);

  // Clears this folder's own read-only attribute so that its entries can be
  // deleted; true when it is clear afterwards.
  bool ClearReadOnly();

  // Deletes a file or a link (never what the link points to).
  bool DeleteFile(const DirEntry& entry);

  // Removes an empty sub-folder.
  bool RemoveFolder(const DirEntry& entry);

 private:
  struct Handle;
  explicit Folder(std::unique_ptr<Handle> handle);
  std::unique_ptr<Handle> handle_;
};

struct FolderOpening {
  Folder folder;  // open when status is kOpened
  OpenStatus status = OpenStatus::kFailed;
  int system_code = 0;  // set when status is kFailed
};

}  // namespace platform
