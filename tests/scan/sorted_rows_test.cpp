#include "scan/sorted_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"

namespace {

std::vector<std::string> Names(const scan::SortedRows& rows) {
  std::vector<std::string> out;
  for (size_t i = 0; i < rows.size(); ++i) out.push_back(rows[i].name);
  return out;
}

TEST(SortedRows, KeepsNameOrderWhateverTheOrderFound) {
  scan::SortedRows rows;
  EXPECT_EQ(rows.Insert({"C.TMP", "/c", 0, {}}), 0u);
  EXPECT_EQ(rows.Insert({"A.TMP", "/a", 0, {}}), 0u);
  EXPECT_EQ(rows.Insert({"B.TMP", "/b", 0, {}}), 1u);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"A.TMP", "B.TMP", "C.TMP"}));
}

// Enough rows to fill and split many blocks, names that repeat and differ
// only in case: the list must equal a stable sort by the locale-aware,
// case-sensitive comparison, and a row of equal name joins after the others.
TEST(SortedRows, EqualsAStableSortByTheLocaleComparisonAcrossBlocks) {
  scan::SortedRows rows;
  std::vector<scan::ResultRow> all;
  uint32_t seed = 12345;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245u + 12345u;
    std::string name = std::string(1, "aAbB~_"[(seed >> 8) % 6]) + std::to_string((seed >> 12) % 700) + ".tmp";
    all.push_back({name, "/f" + std::to_string(i), i, {}});
    size_t at = rows.Insert(all.back());
    ASSERT_EQ(rows[at].folder.str(), all.back().folder.str());
  }
  std::stable_sort(all.begin(), all.end(), [](const scan::ResultRow& a, const scan::ResultRow& b) {
    return platform::CompareLocale(a.name, b.name) < 0;
  });
  ASSERT_EQ(rows.size(), all.size());
  for (size_t i = 0; i < all.size(); ++i) ASSERT_EQ(rows[i].folder.str(), all[i].folder.str()) << i;

  // Removing rows keeps the others in order, and inserting goes on working.
  std::vector<size_t> removed;
  for (size_t i = 0; i < all.size(); i += 3) removed.push_back(i);
  removed.push_back(all.size() - 1);
  rows.Remove(removed);
  std::vector<scan::ResultRow> kept;
  for (size_t i = 0, r = 0; i < all.size(); ++i) {
    while (r < removed.size() && removed[r] < i) ++r;
    if (r < removed.size() && removed[r] == i) continue;
    kept.push_back(all[i]);
  }
  ASSERT_EQ(rows.size(), kept.size());
  for (size_t i = 0; i < kept.size(); ++i) ASSERT_EQ(rows[i].folder.str(), kept[i].folder.str()) << i;
  size_t at = rows.Insert({"~", "/last", 0, {}});
  EXPECT_EQ(rows[at].folder.str(), "/last");
  std::vector<size_t> everything(rows.size());
  for (size_t i = 0; i < everything.size(); ++i) everything[i] = i;
  rows.Remove(everything);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(rows.Insert({"x", "/x", 0, {}}), 0u);
}

}  // namespace
