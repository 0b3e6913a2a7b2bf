#pragma once
#include <string>
#include <string_view>

namespace scan {

// A file mask as the directory listing of the scan's home system reads it:
// letters compared without regard to case, "*" any run of characters (none
// included), "?" exactly one character. A mask that ends in ".*" also
// accepts a name without that extension, so "~*.*" finds "~lock" and "*.*"
// every name. A mask that is empty or holds a "/" matches nothing.
//
// Matching is linear in the name for each star of the mask (one resumption
// point, no backtracking), so no mask can make it blow up.
class Mask {
 public:
  explicit Mask(std::string_view text);

  bool Matches(std::string_view name) const;
  // The same test over a name already made by FoldName, so that a name is
  // folded once for all masks.
  bool MatchesFolded(std::u32string_view folded_name) const;

  // The characters of a UTF-8 name with letter case removed. A byte that
  // is not part of valid UTF-8 stands for itself and matches only itself.
  static void FoldName(std::string_view name, std::u32string& out);

 private:
  std::u32string pattern_;                // folded
  size_t without_extension_length_ = 0;   // the pattern less a trailing ".*"; 0 when none
  size_t literal_tail_length_ = 0;        // characters after the last "*" when none is "?"
  size_t literal_head_length_ = 0;        // characters before the first "*" or "?"
  size_t min_length_ = 0;                 // characters a name needs at least
  bool has_star_ = false;
  bool matches_nothing_ = false;
};

// Mask(mask).Matches(name), for single use.
bool MaskMatches(std::string_view mask, std::string_view name);

}  // namespace scan
