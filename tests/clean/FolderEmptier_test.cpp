#include "clean/FolderEmptier.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/directory_test_hook.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace {

using clean::EInOutError;
using clean::EmptyFolder;
using platform::InUseSnapshot;
using testing_support::TempDir;
namespace fs = std::filesystem;

struct Outcome {
  int32_t kb = 0;
  std::vector<std::string> announced;
};

Outcome Empty(const std::string& folder, const InUseSnapshot& in_use = {}, int32_t start_kb = 0) {
  Outcome outcome;
  outcome.kb = start_kb;
  EmptyFolder(folder, outcome.kb, in_use, [&](const std::string& name) { outcome.announced.push_back(name); });
  return outcome;
}

// Every path below `root`, relative, links not followed.
std::set<std::string> Remaining(const std::string& root) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    paths.insert(entry.path().lexically_relative(root).string());
  return paths;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

void ChownTree(const std::string& root, unsigned uid) {
  EXPECT_EQ(lchown(root.c_str(), uid, uid), 0);
  for (const auto& entry : fs::recursive_directory_iterator(root))
    EXPECT_EQ(lchown(entry.path().c_str(), uid, uid), 0);
}

TEST(FolderEmptier, DeletesEveryFileButDesktopIniAndKeepsTheFolder) {
  TempDir dir;
  dir.write("Desktop.INI", "keep");
  dir.write("sub/DESKTOP.ini", "keep");
  dir.write("desktop.ini.bak", "go");
  dir.write("locked", std::string(2048, 'x'));
  chmod((dir / "locked").c_str(), 0444);
  dir.write(".hidden", "go");
  dir.write("desktop.ini/inside", "go");  // a folder of that name is no file
  dir.write("a/b/c/deep", "go");
  dir.write("a/b/mid", "go");
  chmod(dir.path().c_str(), 0750);

  Outcome outcome = Empty(dir.path());
  EXPECT_EQ(Remaining(dir.path()), (std::set<std::string>{"Desktop.INI", "sub", "sub/DESKTOP.ini"}));
  EXPECT_EQ(outcome.kb, 2);
  EXPECT_EQ(std::multiset<std::string>(outcome.announced.begin(), outcome.announced.end()),
            (std::multiset<std::string>{"desktop.ini.bak", "locked", ".hidden", "inside", "deep", "mid"}));
  EXPECT_EQ(ModeOf(dir.path()), 0750u);
  EXPECT_EQ(ModeOf(dir / "Desktop.INI"), 0644u);
}

TEST(FolderEmptier, EmptiesASubFolderBeforeTheNextEntryOfItsParent) {
  TempDir dir;
  for (const char* name : {"x/x1", "x/x2", "x/deeper/x3", "y/y1", "y/y2", "t1", "t2"}) dir.write(name, "");
  Outcome outcome = Empty(dir.path());
  ASSERT_EQ(outcome.announced.size(), 7u);
  // The names from one sub-folder arrive one after the other.
  for (char group : {'x', 'y'}) {
    std::vector<size_t> at;
    for (size_t i = 0; i < outcome.announced.size(); ++i)
      if (outcome.announced[i][0] == group) at.push_back(i);
    EXPECT_EQ(at.back() - at.front() + 1, at.size()) << group;
  }
  EXPECT_TRUE(Remaining(dir.path()).empty());
}

TEST(FolderEmptier, AddsEachFilesKilobytesOnItsOwnAndStopsAtTheLargestTotal) {
  struct Case {
    const char* name;
    std::vector<uint64_t> sizes;
    int32_t start;
    int32_t total;
  };
  const Case cases[] = {
      {"under a kilobyte", {1023}, 0, 0},
      {"parts are not carried", {1536, 3000}, 0, 3},
      {"three gibibytes", {uint64_t{3} << 30}, 0, 3145728},
      {"saturates", {uint64_t{3} << 30}, INT32_MAX - 10, INT32_MAX},
      {"saturates on one huge file", {uint64_t{1} << 43}, 5, INT32_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    for (size_t i = 0; i < c.sizes.size(); ++i) {
      std::string path = dir / ("f" + std::to_string(i));
      dir.write("f" + std::to_string(i), "");
      ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(c.sizes[i])), 0);  // sparse
    }
    Outcome outcome = Empty(dir.path(), {}, c.start);
    EXPECT_EQ(outcome.kb, c.total);
    EXPECT_EQ(outcome.announced.size(), c.sizes.size());
  }
}

TEST(FolderEmptier, AFolderThatCannotBeEnteredRaisesItsCode) {
  TempDir dir;
  dir.write("file", "x");
  dir.write("kept/file", "x");
  struct Case {
    std::string path;
    int code;
    const char* text;
  };
  const Case cases[] = {
      {"", 3, "无效的文件名称"},
      {dir / "missing", 2, "文件找不到"},
      {dir / "missing/below", 3, "无效的文件名称"},
      {dir / "file", 3, "无效的文件名称"},
  };
  for (const Case& c : cases) {
    try {
      Empty(c.path);
      ADD_FAILURE() << "no error for " << c.path;
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.Code(), c.code) << c.path;
      EXPECT_STREQ(e.what(), c.text) << c.path;
    }
  }
  EXPECT_TRUE(dir.exists("kept/file"));
  // A path ending in the separator works as the folder itself.
  Empty(dir.path() + "/");
  EXPECT_TRUE(Remaining(dir.path()).empty());
}

TEST(FolderEmptier, ErrorTextsFollowTheCode) {
  const std::pair<int, const char*> cases[] = {
      {2, "文件找不到"},      {3, "无效的文件名称"},   {4, "太多打开文件"},  {5, "文件存取被拒绝"},
      {100, "读取超过文件结束"}, {101, "磁盘已满"}, {106, "无效的数字输入"}, {32, "I/O 错误 32"},
      {0, "I/O 错误 0"},
  };
  for (const auto& [code, text] : cases) {
    EXPECT_EQ(EInOutError(code).Code(), code);
    EXPECT_STREQ(EInOutError(code).what(), text);
  }
}

// Permissions mean nothing to root: these run as nobody in a child.
TEST(FolderEmptier, AsAnOrdinaryUser) {
  TempDir dir;
  dir.write("top/ro/inside", "x");
  dir.write("top/theirs-locked", "x");
  dir.write("top/theirs-open", "x");
  dir.write("mine/file", "x");
  dir.write("denied/first/locked/inside", "x");
  chmod(dir.path().c_str(), 0755);
  ChownTree(dir / "top", testing_support::kNobody);
  ChownTree(dir / "mine", testing_support::kNobody);
  ChownTree(dir / "denied", testing_support::kNobody);
  chown((dir / "top/theirs-locked").c_str(), 0, 0);
  chown((dir / "top/theirs-open").c_str(), 0, 0);
  chmod((dir / "top/theirs-locked").c_str(), 0444);
  chmod((dir / "top/ro").c_str(), 0555);
  chmod((dir / "mine").c_str(), 0555);
  chmod((dir / "denied/first/locked").c_str(), 0);

  int status = testing_support::RunInChild([&] {
    if (!testing_support::BecomeNobody()) return testing_support::kChildCannotRun;
    Empty(dir / "top");
    Empty(dir / "mine");
    try {
      Empty(dir / "denied");
    } catch (const EInOutError& e) {
      return e.Code() == 5 && std::string(e.what()) == "文件存取被拒绝" ? 0 : 1;
    }
    return 2;
  });
  if (status == testing_support::kChildCannotRun) GTEST_SKIP() << "cannot become another user";
  EXPECT_EQ(status, 0);
  // A read-only sub-folder of one's own is emptied and removed; another
  // user's read-only file cannot be made writable, so it stays.
  EXPECT_EQ(Remaining(dir / "top"), (std::set<std::string>{"theirs-locked"}));
  // The chosen folder itself is never changed, so its files stay.
  EXPECT_EQ(ModeOf(dir / "mine"), 0555u);
  EXPECT_TRUE(dir.exists("mine/file"));
  EXPECT_TRUE(dir.exists("denied/first/locked"));
}

TEST(FolderEmptier, LinksAreDeletedAndNeverFollowed) {
  TempDir dir;
  TempDir outside;
  outside.write("file", "x");
  outside.write("sub/file", "x");
  fs::create_directory_symlink(outside.path(), dir / "to-folder");
  fs::create_symlink(outside / "file", dir / "to-file");
  fs::create_symlink(outside / "file", dir / "desktop.ini");  // spared like a file
  dir.write("sub/file", "x");
  fs::create_directory_symlink(outside / "sub", dir / "sub/inner");

  Outcome outcome = Empty(dir.path());
  EXPECT_EQ(Remaining(dir.path()), (std::set<std::string>{"desktop.ini"}));
  EXPECT_EQ(Remaining(outside.path()), (std::set<std::string>{"file", "sub", "sub/file"}));
  EXPECT_EQ(outcome.kb, 0);
}

TEST(FolderEmptier, AFolderSwappedForALinkBeforeItIsEnteredIsLeftAlone) {
  TempDir dir;
  TempDir outside;
  outside.write("file", "x");
  dir.write("sub/file", "x");
  dir.write("other", "x");
  platform::test_hooks::SetBeforeOpenChild([&](const std::string& name) {
    if (name != "sub") return;
    fs::rename(dir / "sub", dir / "../moved-" + fs::path(dir.path()).filename().string());
    fs::create_directory_symlink(outside.path(), dir / "sub");
  });
  Outcome outcome = Empty(dir.path());
  platform::test_hooks::SetBeforeOpenChild(nullptr);
  fs::remove_all(dir / "../moved-" + fs::path(dir.path()).filename().string());

  EXPECT_EQ(Remaining(outside.path()), (std::set<std::string>{"file"}));
  EXPECT_EQ(outcome.announced, (std::vector<std::string>{"other"}));
}

TEST(FolderEmptier, AnotherFilesystemInsideIsLeftAlone) {
  TempDir dir;
  TempDir outside;
  outside.write("file", "x");
  dir.mkdir("bound");
  dir.mkdir("tmpfs");
  dir.write("file", "x");
  int status = testing_support::RunInChild([&] {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(outside.path().c_str(), (dir / "bound").c_str(), nullptr, MS_BIND, nullptr) != 0 ||
        mount("tmpfs", (dir / "tmpfs").c_str(), "tmpfs", 0, nullptr) != 0)
      return testing_support::kChildCannotRun;
    int fd = open((dir / "tmpfs/on-tmpfs").c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0) return 3;
    close(fd);
    Outcome outcome = Empty(dir.path());
    bool tmpfs_whole = access((dir / "tmpfs/on-tmpfs").c_str(), F_OK) == 0;
    return outcome.announced == std::vector<std::string>{"file"} && tmpfs_whole ? 0 : 1;
  });
  if (status == testing_support::kChildCannotRun) GTEST_SKIP() << "cannot mount here";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Remaining(outside.path()), (std::set<std::string>{"file"}));
  EXPECT_EQ(Remaining(dir.path()), (std::set<std::string>{"bound", "tmpfs"}));
}

TEST(FolderEmptier, AFileInUseStaysUntilItIsLetGo) {
  TempDir dir;
  dir.write("held", std::string(4096, 'x'));
  chmod((dir / "held").c_str(), 0444);
  dir.write("free", "x");
  {
    testing_support::FileHolder holder(dir / "held");
    ASSERT_TRUE(holder.holding());
    Outcome outcome = Empty(dir.path(), InUseSnapshot::Take());
    EXPECT_EQ(outcome.kb, 0);
    EXPECT_EQ(outcome.announced, (std::vector<std::string>{"free"}));
    EXPECT_EQ(Remaining(dir.path()), (std::set<std::string>{"held"}));
    EXPECT_EQ(ModeOf(dir / "held"), 0644u);  // read-only cleared all the same
  }
  Outcome outcome = Empty(dir.path(), InUseSnapshot::Take());
  EXPECT_EQ(outcome.kb, 4);
  EXPECT_TRUE(Remaining(dir.path()).empty());
}

TEST(FolderEmptier, SocketsPipesAndDevicesAreLeftAlone) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
  ASSERT_EQ(mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  dir.write("file", "x");
  Outcome outcome = Empty(dir.path());
  EXPECT_EQ(Remaining(dir.path()), (std::set<std::string>{"fifo", "null"}));
  EXPECT_EQ(outcome.announced, (std::vector<std::string>{"file"}));
}

// 2000 levels: longer than any path the system accepts and deeper than the
// usual soft limit of open descriptors, which the child starts with.
TEST(FolderEmptier, EmptiesATreeDeeperThanAnyPath) {
  constexpr int kDepth = 2000;
  TempDir dir;
  int fd = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  for (int level = 0; level < kDepth; ++level) {
    ASSERT_EQ(mkdirat(fd, "dd", 0755), 0);
    int file = openat(fd, "ff", O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(file, 0);
    close(file);
    int next = openat(fd, "dd", O_RDONLY | O_DIRECTORY);
    close(fd);
    ASSERT_GE(next, 0);
    fd = next;
  }
  close(fd);

  int status = testing_support::RunInChild([&] {
    struct rlimit limit {};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 1024);
    setrlimit(RLIMIT_NOFILE, &limit);
    return Empty(dir.path()).announced.size() == kDepth ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(Remaining(dir.path()).empty());
}

}  // namespace
