#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace {

// "清理" in GB2312 is C7 E5 C0 ED; "。" is A1 A3.
const std::string kCleanUtf8 = "\xE6\xB8\x85\xE7\x90\x86";
const std::string kCleanAnsi = "\xC7\xE5\xC0\xED";

TEST(CodePage, ConvertsBothWays) {
  struct Case {
    std::string utf8, ansi;
  } cases[] = {
      {"", ""},
      {"QUILLMOOR.HLP", "QUILLMOOR.HLP"},
      {kCleanUtf8, kCleanAnsi},
      {"A" + kCleanUtf8 + "\xE3\x80\x82", "A" + kCleanAnsi + "\xA1\xA3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::Utf8ToAnsi(c.utf8), c.ansi);
    EXPECT_EQ(platform::AnsiToUtf8(c.ansi), c.utf8);
    EXPECT_EQ(platform::Utf8ToAnsiExact(c.utf8), c.ansi);
  }
}

TEST(CodePage, UnconvertibleTextIsMarkedOrRefused) {
  // U+0E01 (Thai) has no place in GBK; 0xFF is not UTF-8 at all.
  const std::string thai = "a\xE0\xB8\x81" "b";
  EXPECT_EQ(platform::Utf8ToAnsi(thai), "a?b");
  EXPECT_EQ(platform::Utf8ToAnsi("x\xFFy"), "x?y");
  EXPECT_EQ(platform::Utf8ToAnsiExact(thai), std::nullopt);
  EXPECT_EQ(platform::Utf8ToAnsiExact("x\xFF"), std::nullopt);
  // A lone lead byte at the end, and a lead byte with an invalid trail.
  EXPECT_EQ(platform::AnsiToUtf8("a\xC7"), "a\xEF\xBF\xBD");
  EXPECT_EQ(platform::AnsiToUtf8("\xC7\x7F" "b").back(), 'b');
}

}  // namespace
