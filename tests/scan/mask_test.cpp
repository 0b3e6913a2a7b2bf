#include "scan/mask.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* mask;
  const char* name;
  bool matches;
};

// Grouped by the kind of edge each row exercises.
const Case kCases[] = {
    // literal names, case ignored
    {"FILE_ID.DIZ", "file_id.diz", true},
    {"FILE_ID.DIZ", "FILE_ID.DIZX", false},
    {"FILE_ID.DIZ", "xFILE_ID.DIZ", false},
    {"ANTI-VIR.DAT", "Anti-Vir.Dat", true},
    // "*" takes any run, none included
    {"*.BAK", "report.bak", true},
    {"*.BAK", ".bak", true},
    {"*.BAK", "report.bak.txt", false},
    {"*.BAK", "report.ba", false},
    {"*.BAK", "reportbak", false},
    {"*.TMP", "a.b.TMP", true},
    {"*.~*", "doc.~1", true},
    {"*.~*", "doc.~", true},
    {"*.~*", "doc~1", false},
    {"*.$$$", "x.$$$", true},
    {"*.---", "x.---", true},
    {"a*b*c", "abc", true},
    {"a*b*c", "aXXbYYc", true},
    {"a*b*c", "aXXcYYb", false},
    // "?" is exactly one character, a multi-byte one included
    {"?.TMP", "a.tmp", true},
    {"?.TMP", ".tmp", false},
    {"?.TMP", "ab.tmp", false},
    {"?.TMP", "é.tmp", true},
    {"??", "中文", true},
    {"?", "中文", false},
    // trailing ".*" also accepts a name without an extension
    {"~*.*", "~lock", true},
    {"~*.*", "~WRL0001.tmp", true},
    {"~*.*", "lock~", false},
    {"*.*", "README", true},
    {"*.*", "a.b", true},
    {"*.*", ".hidden", true},
    {"foo.*", "foo", true},
    {"foo.*", "foobar", false},
    {"foo*.*", "fo", false},
    {"~*.*", "~", true},
    // letters beyond ASCII fold too; bytes that are not UTF-8 match only themselves
    {"É*.TMP", "été.tmp", true},
    {"*.ДОК", "файл.док", true},
    {"\xff*", "\xff" "abc", true},
    {"\xff*", "\xfe" "abc", false},
    // masks that match nothing
    {"", "a", false},
    {"a/b", "a/b", false},
    {"*", "", false},
};

TEST(Mask, MatchesAsTheDirectoryListingDoes) {
  for (const Case& c : kCases)
    EXPECT_EQ(scan::MaskMatches(c.mask, c.name), c.matches) << "mask \"" << c.mask << "\" name \"" << c.name << "\"";
}

// A mask with many stars against a long name that almost matches must end
// quickly; a backtracking matcher takes exponential time here and would
// never finish.
TEST(Mask, ManyStarsDoNotBlowUp) {
  std::string name(4000, 'a');
  EXPECT_FALSE(scan::MaskMatches("*a*a*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(scan::MaskMatches("*a*a*a*a*a*a*a*a*a*a*a*a*b", name + "b"));
}

}  // namespace
