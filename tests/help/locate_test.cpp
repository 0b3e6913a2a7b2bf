#include "help/LocateHelpFile.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

using testing_support::TempDir;

TEST(LocateHelpFile, ProgramFolderFirstThenDataFolder) {
  TempDir tmp;
  tmp.mkdir("bin");
  tmp.mkdir("share");
  const std::string program = tmp / "bin/", data = tmp / "share";
  EXPECT_EQ(help::LocateHelpFile("QUILLMOOR.HLP", program, data), "");
  tmp.write("share/QUILLMOOR.HLP", "x");
  EXPECT_EQ(help::LocateHelpFile("QUILLMOOR.HLP", program, data), data + "/QUILLMOOR.HLP");
  tmp.write("bin/QUILLMOOR.HLP", "x");
  EXPECT_EQ(help::LocateHelpFile("QUILLMOOR.HLP", program, data), program + "QUILLMOOR.HLP");
}

TEST(LocateHelpFile, FoldersAndEmptyFoldersAreNotTheFile) {
  TempDir tmp;
  tmp.mkdir("bin/QUILLMOOR.HLP");
  EXPECT_EQ(help::LocateHelpFile("QUILLMOOR.HLP", tmp / "bin/", ""), "");
  EXPECT_EQ(help::LocateHelpFile("", tmp / "bin/", tmp.path()), "");
}

}  // namespace
