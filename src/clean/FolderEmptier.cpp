#include "clean/FolderEmptier.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/directory.h"
#include "platform/system_error.h"

namespace clean {
namespace {

using platform::DirEntry;
using platform::EntryKind;
using platform::Folder;
using platform::OpenStatus;

// Only ASCII letters are lowered; other bytes must match as they are.
bool IsSparedName(std::string_view name) {
  constexpr std::string_view kSpared = "desktop.ini";
  if (name.size() != kSpared.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kSpared[i]) return false;
  }
  return true;
}

void AddKilobytes(int32_t& del_kb, uint64_t bytes) {
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  const int64_t kb = static_cast<int64_t>(std::min<uint64_t>(bytes / 1024, kMax));
  del_kb = static_cast<int32_t>(std::min<int64_t>(del_kb + kb, kMax));
}

// One folder being emptied, and the parent's entry for it (empty for the
// top folder), kept for its removal once its content is done.
struct Level {
  Folder folder;
  DirEntry entry;
};

void DeleteOneFile(Folder& folder, const DirEntry& entry, int32_t& del_kb, const platform::InUseSnapshot& in_use,
                   const std::function<void(const std::string&)>& on_deleted) {
  if (IsSparedName(entry.name)) return;
  if (!folder.SetAttributes(entry, entry.attributes & ~uint32_t{7})) return;
  // A file that a running program holds cannot be deleted; its read-only
  // bit stays cleared, as with any other failed deletion.
  if (entry.kind == EntryKind::kFile && in_use.Contains(entry.identity)) return;
  if (!folder.DeleteFile(entry)) return;
  AddKilobytes(del_kb, entry.size);
  if (on_deleted) on_deleted(entry.name);
}

// Enters a listed sub-folder. A folder replaced by something else since it
// was listed, or another filesystem, is left alone.
void Enter(std::vector<Level>& stack, DirEntry&& entry) {
  if (entry.other_filesystem) return;
  platform::FolderOpening opening = stack.back().folder.OpenChild(entry);
  if (opening.status == OpenStatus::kChanged) return;
  if (opening.status == OpenStatus::kFailed) throw EInOutError(opening.system_code);
  // A read-only folder's entries are deleted anyway; here that needs the
  // folder writable first. Its read-only bit would be cleared before its
  // removal in any case.
  if ((entry.attributes & platform::kAttrReadOnly) && opening.folder.ClearReadOnly())
    entry.attributes &= ~platform::kAttrReadOnly;
  stack.push_back({std::move(opening.folder), std::move(entry)});
}

// The folder on top of the stack is done: close it, then reduce its
// attributes to the directory bit and try to remove it. Either may fail
// without a word; it then stays.
void Leave(std::vector<Level>& stack) {
  DirEntry entry = std::move(stack.back().entry);
  stack.pop_back();
  if (stack.empty()) return;  // the top folder is never changed
  Folder& parent = stack.back().folder;
  parent.SetAttributes(entry, entry.attributes & platform::kAttrDirectory);
  parent.RemoveFolder(entry);
}

}  // namespace

EInOutError::EInOutError(int code) : std::runtime_error(InOutErrorText(code)), code_(code) {}

std::string InOutErrorText(int code) {
  switch (code) {
    case 2: return "文件找不到";
    case 3: return "无效的文件名称";
    case 4: return "太多打开文件";
    case 5: return "文件存取被拒绝";
    case 100: return "读取超过文件结束";
    case 101: return "磁盘已满";
    case 106: return "无效的数字输入";
    default: return "I/O 错误 " + std::to_string(code);
  }
}

void EmptyFolder(const std::string& folder, int32_t& del_kb, const platform::InUseSnapshot& in_use,
                 const std::function<void(const std::string& deleted_name)>& on_deleted) {
  platform::FolderOpening top = Folder::Open(folder);
  if (top.status != OpenStatus::kOpened)
    throw EInOutError(top.status == OpenStatus::kFailed ? top.system_code : platform::kErrorPathNotFound);

  // An explicit stack instead of recursion: one level per open folder, so
  // depth is bounded by memory and open descriptors, not the call stack.
  std::vector<Level> stack;
  stack.push_back({std::move(top.folder), DirEntry{}});
  DirEntry entry;
  while (!stack.empty()) {
    Folder& current = stack.back().folder;
    if (!current.Next(entry)) {
      Leave(stack);
      continue;
    }
    if (entry.other_filesystem) continue;
    switch (entry.kind) {
      case EntryKind::kFolder:
        Enter(stack, std::move(entry));
        break;
      case EntryKind::kFile:
      case EntryKind::kLink:
        DeleteOneFile(current, entry, del_kb, in_use, on_deleted);
        break;
      case EntryKind::kOther:
        break;
    }
  }
}

}  // namespace clean
