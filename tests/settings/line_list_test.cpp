#include "settings/LineList.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/TempDir.h"

using Lines = std::vector<std::string>;

TEST(LineList, ReadsEveryKindOfBreak) {
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
      {"a\r\n", {"a"}},            // a final break adds nothing
      {"a\r", {"a"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"  a b \t\r\nlast", {"  a b \t", "last"}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string("\0a", 2), {}},
      {"dup\r\n\r\ndup\r\n", {"dup", "", "dup"}},
      {"\xc1\xd9\xca\xb1\r\n", {"\xc1\xd9\xca\xb1"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
}

TEST(LineList, WritesCrLfAfterEveryEntry) {
  struct Case {
    Lines lines;
    std::string bytes;
  };
  const Case cases[] = {
      {{}, ""},
      {{"a", "b"}, "a\r\nb\r\n"},
      {{"", " x "}, "\r\n x \r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLines(c.lines), c.bytes);
}

TEST(LineList, SavesAndLoadsWithFullPathsInErrors) {
  testing_support::TempDir dir;
  const std::string file = dir / "QMext.ini";
  SaveLineList(file, {"*.BAK", "", "*.TMP"});
  EXPECT_EQ(platform::ReadWholeFile(file), "*.BAK\r\n\r\n*.TMP\r\n");
  EXPECT_EQ(LoadLineList(file), (Lines{"*.BAK", "", "*.TMP"}));
  SaveLineList(file, {});
  EXPECT_EQ(platform::ReadWholeFile(file), "");
  EXPECT_EQ(LoadLineList(file), Lines{});

  try {
    LoadLineList(dir / "missing.ini");
    ADD_FAILURE() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "无法打开文件 " + dir / "missing.ini");
  }
  dir.write("kept/qm.ini", "old\r\n");
  dir.mkdir("kept/qm.ini.d");
  try {
    SaveLineList(dir / "kept/qm.ini.d", {"x"});  // a folder cannot become a list file
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "无法建立文件 " + dir / "kept/qm.ini.d");
  }
  EXPECT_THROW(SaveLineList(dir / "no/folder/qm.ini", {"x"}), EFCreateError);
  EXPECT_EQ(platform::ReadWholeFile(dir / "kept/qm.ini"), "old\r\n");
}
