#include "platform/directory.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/directory_test_hook.h"
#include "platform/system_error.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace {

using platform::DirEntry;
using platform::EntryKind;
using platform::Folder;
using platform::OpenStatus;
using testing_support::TempDir;
namespace fs = std::filesystem;

std::map<std::string, DirEntry> ListAll(Folder& folder) {
  std::map<std::string, DirEntry> entries;
  DirEntry entry;
  while (folder.Next(entry)) entries[entry.name] = entry;
  return entries;
}

Folder OpenOrFail(const std::string& path) {
  platform::FolderOpening opening = Folder::Open(path);
  EXPECT_EQ(opening.status, OpenStatus::kOpened) << path;
  return std::move(opening.folder);
}

platform::FileIdentity IdentityOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
  return {st.st_dev, st.st_ino};
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

class HookGuard {
 public:
  explicit HookGuard(std::function<void(const std::string&)> hook) {
    platform::test_hooks::SetBeforeOpenChild(std::move(hook));
  }
  ~HookGuard() { platform::test_hooks::SetBeforeOpenChild(nullptr); }
};

TEST(Directory, ListsEveryKindWithItsAttributesSizeAndIdentity) {
  TempDir dir;
  dir.write("plain.txt", std::string(1500, 'x'));
  dir.write("locked.txt", "ab");
  chmod((dir / "locked.txt").c_str(), 0444);
  dir.write(".hidden", "");
  dir.mkdir("sub");
  dir.mkdir(".hidden-sub");
  symlink(dir.path().c_str(), (dir / "link").c_str());
  mkfifo((dir / "fifo").c_str(), 0644);

  struct Expected {
    const char* name;
    EntryKind kind;
    uint32_t attributes;
    uint64_t size;
  };
  const Expected expected[] = {
      {"plain.txt", EntryKind::kFile, platform::kAttrArchive, 1500},
      {"locked.txt", EntryKind::kFile, platform::kAttrArchive | platform::kAttrReadOnly, 2},
      {".hidden", EntryKind::kFile, platform::kAttrArchive | platform::kAttrHidden, 0},
      {"sub", EntryKind::kFolder, platform::kAttrDirectory, 0},
      {".hidden-sub", EntryKind::kFolder, platform::kAttrDirectory | platform::kAttrHidden, 0},
      {"link", EntryKind::kLink, 0, 0},
      {"fifo", EntryKind::kOther, 0, 0},
  };
  Folder folder = OpenOrFail(dir.path());
  std::map<std::string, DirEntry> entries = ListAll(folder);
  ASSERT_EQ(entries.size(), std::size(expected));  // "." and ".." left out
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(entries.count(e.name));
    const DirEntry& got = entries[e.name];
    EXPECT_EQ(got.kind, e.kind);
    EXPECT_EQ(got.attributes, e.attributes);
    EXPECT_EQ(got.size, e.size);
    EXPECT_FALSE(got.other_filesystem);
    EXPECT_EQ(got.identity, IdentityOf(dir / e.name));
  }
}

TEST(Directory, OpenReportsTheSystemCodeOfEachFailure) {
  TempDir dir;
  dir.write("file", "x");
  struct Case {
    std::string path;
    int code;
  };
  const Case cases[] = {
      {"", platform::kErrorPathNotFound},
      {dir / "missing", platform::kErrorFileNotFound},
      {dir / "missing/", platform::kErrorFileNotFound},
      {dir / "missing/below", platform::kErrorPathNotFound},
      {dir / "file", platform::kErrorPathNotFound},
      {dir / "file/below", platform::kErrorPathNotFound},
  };
  for (const Case& c : cases) {
    platform::FolderOpening opening = Folder::Open(c.path);
    EXPECT_EQ(opening.status, OpenStatus::kFailed) << c.path;
    EXPECT_EQ(opening.system_code, c.code) << c.path;
    EXPECT_FALSE(opening.folder.IsOpen());
  }
  EXPECT_TRUE(OpenOrFail(dir.path() + "/").IsOpen());
  EXPECT_TRUE(OpenOrFail(dir.path() + "//").IsOpen());
}

TEST(Directory, OpenRefusesAFolderTheUserMayNotEnter) {
  TempDir dir;
  dir.mkdir("closed");
  dir.mkdir("listable");
  chmod(dir.path().c_str(), 0755);
  chmod((dir / "closed").c_str(), 0700);
  chmod((dir / "listable").c_str(), 0744);  // may be read but not passed through
  int status = testing_support::RunInChild([&] {
    if (!testing_support::BecomeNobody()) return testing_support::kChildCannotRun;
    platform::FolderOpening closed = Folder::Open(dir / "closed");
    platform::FolderOpening listable = Folder::Open(dir / "listable");
    return (closed.system_code == platform::kErrorAccessDenied ? 0 : 1) |
           (listable.system_code == platform::kErrorAccessDenied ? 0 : 2);
  });
  if (status == testing_support::kChildCannotRun) GTEST_SKIP() << "cannot become another user";
  EXPECT_EQ(status, 0);
}

TEST(Directory, TooManyOpenFilesHasItsOwnCode) {
  TempDir dir;
  int status = testing_support::RunInChild([&] {
    struct rlimit limit {64, 64};
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return testing_support::kChildCannotRun;
    while (open("/dev/null", O_RDONLY) >= 0) {
    }
    return Folder::Open(dir.path()).system_code == platform::kErrorTooManyOpenFiles ? 0 : 1;
  });
  if (status == testing_support::kChildCannotRun) GTEST_SKIP();
  EXPECT_EQ(status, 0);
}

TEST(Directory, OpenChildEntersOnlyTheFolderThatWasListed) {
  TempDir dir;
  TempDir outside;
  outside.write("keep", "x");
  dir.mkdir("top/sub");
  dir.mkdir("other");

  struct Case {
    const char* name;
    std::function<void()> change;  // run between listing and opening
    OpenStatus status;
  };
  const std::string sub = dir / "top/sub";
  const Case cases[] = {
      {"unchanged", [] {}, OpenStatus::kOpened},
      {"swapped for a link",
       [&] {
         fs::rename(sub, dir / "moved");
         fs::create_directory_symlink(outside.path(), sub);
       },
       OpenStatus::kChanged},
      {"swapped for another folder",
       [&] {
         fs::rename(sub, dir / "moved");
         fs::rename(dir / "other", sub);
       },
       OpenStatus::kChanged},
      {"swapped for a file",
       [&] {
         fs::rename(sub, dir / "moved");
         std::ofstream(sub).put('x');
       },
       OpenStatus::kChanged},
      {"gone",
       [&] { fs::rename(sub, dir / "moved"); },
       OpenStatus::kFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir / "moved");
    fs::remove_all(sub);
    fs::create_directory(sub);
    fs::create_directories(dir / "other");
    Folder top = OpenOrFail(dir / "top");
    DirEntry entry;
    ASSERT_TRUE(top.Next(entry));
    HookGuard hook([&](const std::string& name) {
      EXPECT_EQ(name, "sub");
      c.change();
    });
    platform::FolderOpening opening = top.OpenChild(entry);
    EXPECT_EQ(opening.status, c.status);
    EXPECT_EQ(opening.folder.IsOpen(), c.status == OpenStatus::kOpened);
    if (c.status == OpenStatus::kFailed) {
      EXPECT_EQ(opening.system_code, platform::kErrorFileNotFound);
    }
  }
  EXPECT_TRUE(outside.exists("keep"));
}

TEST(Directory, SetAttributesChangesOnlyTheListedFile) {
  TempDir dir;
  TempDir outside;
  dir.write("a", "x");
  dir.write("b", "x");
  chmod((dir / "a").c_str(), 0444);
  chmod((dir / "b").c_str(), 0444);
  outside.write("target", "x");
  chmod((outside / "target").c_str(), 0444);

  Folder folder = OpenOrFail(dir.path());
  std::map<std::string, DirEntry> entries = ListAll(folder);
  ASSERT_TRUE(folder.SetAttributes(entries["a"], platform::kAttrArchive));
  EXPECT_EQ(ModeOf(dir / "a"), 0644u);
  DirEntry writable = entries["a"];
  writable.attributes &= ~platform::kAttrReadOnly;
  ASSERT_TRUE(folder.SetAttributes(writable, writable.attributes | platform::kAttrReadOnly));
  EXPECT_EQ(ModeOf(dir / "a"), 0444u);

  // Hidden and system cannot be written here; asking to clear them while
  // the read-only bit stays is no change at all.
  fs::remove(dir / "b");
  fs::create_symlink(outside / "target", dir / "b");
  EXPECT_TRUE(folder.SetAttributes(entries["b"], entries["b"].attributes & ~platform::kAttrHidden));
  EXPECT_FALSE(folder.SetAttributes(entries["b"], platform::kAttrArchive));
  EXPECT_EQ(ModeOf(outside / "target"), 0444u);
}

TEST(Directory, SetAttributesFailsOnAnotherUsersFile) {
  TempDir dir;
  chmod(dir.path().c_str(), 0777);
  dir.write("theirs", "x");
  chmod((dir / "theirs").c_str(), 0444);
  int status = testing_support::RunInChild([&] {
    if (!testing_support::BecomeNobody()) return testing_support::kChildCannotRun;
    platform::FolderOpening opening = Folder::Open(dir.path());
    DirEntry entry;
    if (!opening.folder.Next(entry)) return 2;
    return opening.folder.SetAttributes(entry, platform::kAttrArchive) ? 1 : 0;
  });
  if (status == testing_support::kChildCannotRun) GTEST_SKIP() << "cannot become another user";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ModeOf(dir / "theirs"), 0444u);
}

TEST(Directory, DeletesLinksAndRemovesOnlyEmptyFolders) {
  TempDir dir;
  TempDir outside;
  outside.write("keep", "x");
  dir.mkdir("empty");
  dir.write("full/file", "x");
  fs::create_directory_symlink(outside.path(), dir / "link");

  Folder folder = OpenOrFail(dir.path());
  std::map<std::string, DirEntry> entries = ListAll(folder);
  EXPECT_FALSE(folder.DeleteFile(entries["empty"]));
  EXPECT_TRUE(folder.DeleteFile(entries["link"]));
  EXPECT_TRUE(folder.RemoveFolder(entries["empty"]));
  EXPECT_FALSE(folder.RemoveFolder(entries["full"]));
  EXPECT_FALSE(dir.exists("link"));
  EXPECT_FALSE(dir.exists("empty"));
  EXPECT_TRUE(dir.exists("full/file"));
  EXPECT_TRUE(outside.exists("keep"));
}

TEST(Directory, ClearReadOnlyMakesTheOpenFolderWritable) {
  TempDir dir;
  dir.mkdir("locked");
  chmod((dir / "locked").c_str(), 0555);
  Folder folder = OpenOrFail(dir / "locked");
  EXPECT_TRUE(folder.ClearReadOnly());
  EXPECT_EQ(ModeOf(dir / "locked"), 0755u);
}

// Mounts need a private mount namespace, made in a child so that nothing
// leaks into the test process or the machine.
TEST(Directory, MarksMountedFoldersAsAnotherFilesystem) {
  TempDir dir;
  TempDir outside;
  dir.mkdir("bound");
  dir.mkdir("tmpfs");
  dir.mkdir("plain");
  int status = testing_support::RunInChild([&] {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(outside.path().c_str(), (dir / "bound").c_str(), nullptr, MS_BIND, nullptr) != 0 ||
        mount("tmpfs", (dir / "tmpfs").c_str(), "tmpfs", 0, nullptr) != 0)
      return testing_support::kChildCannotRun;
    platform::FolderOpening opening = Folder::Open(dir.path());
    std::map<std::string, DirEntry> entries = ListAll(opening.folder);
    int failures = 0;
    if (!entries["bound"].other_filesystem) failures |= 1;
    if (!entries["tmpfs"].other_filesystem) failures |= 2;
    if (entries["plain"].other_filesystem) failures |= 4;
    if (opening.folder.OpenChild(entries["bound"]).status != OpenStatus::kChanged) failures |= 8;
    if (opening.folder.RemoveFolder(entries["tmpfs"])) failures |= 16;
    return failures;
  });
  if (status == testing_support::kChildCannotRun) GTEST_SKIP() << "cannot mount here";
  EXPECT_EQ(status, 0);
}

}  // namespace
