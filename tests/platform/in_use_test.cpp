#include "platform/in_use.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace {

using platform::FileIdentity;
using platform::InUseSnapshot;
using testing_support::TempDir;

FileIdentity IdentityOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
  return {st.st_dev, st.st_ino};
}

TEST(InUse, SeesAFileAnotherProcessHoldsOpenUntilItLetsGo) {
  TempDir dir;
  dir.write("held", "x");
  dir.write("free", "x");
  testing_support::FileHolder holder(dir / "held");
  ASSERT_TRUE(holder.holding());
  InUseSnapshot snapshot = InUseSnapshot::Take();
  EXPECT_TRUE(snapshot.Contains(IdentityOf(dir / "held")));
  EXPECT_FALSE(snapshot.Contains(IdentityOf(dir / "free")));

  holder.Release();
  EXPECT_FALSE(InUseSnapshot::Take().Contains(IdentityOf(dir / "held")));
}

TEST(InUse, SeesMappedFilesAndTheRunningProgram) {
  TempDir dir;
  dir.write("mapped", std::string(4096, 'x'));
  int fd = open((dir / "mapped").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  void* map = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);  // only the mapping keeps it in use now
  ASSERT_NE(map, MAP_FAILED);
  InUseSnapshot snapshot = InUseSnapshot::Take();
  munmap(map, 4096);
  EXPECT_TRUE(snapshot.Contains(IdentityOf(dir / "mapped")));
  EXPECT_TRUE(snapshot.Contains(IdentityOf("/proc/self/exe")));
}

TEST(InUse, AnEmptySnapshotHoldsNothing) {
  EXPECT_FALSE(InUseSnapshot().Contains(IdentityOf("/proc/self/exe")));
}

}  // namespace
