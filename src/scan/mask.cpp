#include "scan/mask.h"

#include <algorithm>

namespace scan {
namespace {

// Characters with a case partner, folded to the lower-case one: ASCII,
// Latin-1, Greek and Cyrillic capitals. Enough for the names a junk-file
// mask meets; other characters compare as they are.
char32_t FoldChar(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F))
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

// Invalid bytes become U+DC80..U+DCFF, which valid UTF-8 never yields.
char32_t RawByte(unsigned char b) { return 0xDC00 + b; }

// Decodes one UTF-8 character at `i` and advances `i` past it.
char32_t Decode(std::string_view s, size_t& i) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return ++i, b;
  int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? (b <= 0xEF ? 2 : -1) : b >= 0xC2 ? 1 : -1;
  if (extra < 0 || i + extra >= s.size()) return ++i, RawByte(b);
  char32_t c = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) return ++i, RawByte(b);
    c = (c << 6) | (t & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return ++i, RawByte(b);
  i += extra + 1;
  return c;
}

bool Glob(std::u32string_view p, std::u32string_view s) {
  size_t pi = 0, si = 0, star = std::u32string_view::npos, resume = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      star = pi++;
      resume = si;
    } else if (pi < p.size() && (p[pi] == U'?' || p[pi] == s[si])) {
      ++pi;
      ++si;
    } else if (star != std::u32string_view::npos) {
      // Let the last star take one more character and try again from there;
      // earlier stars never need to be revisited.
      pi = star + 1;
      si = ++resume;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

bool EndsWith(std::u32string_view s, std::u32string_view tail) {
  if (s.size() < tail.size()) return false;
  if (tail.empty()) return true;
  return s.back() == tail.back() && s.substr(s.size() - tail.size()) == tail;
}

}  // namespace

void Mask::FoldName(std::string_view name, std::u32string& out) {
  out.resize(name.size());  // never more characters than bytes
  size_t n = 0;
  for (size_t i = 0; i < name.size();) {
    auto b = static_cast<unsigned char>(name[i]);
    out[n++] = b < 0x80 ? (b >= 'A' && b <= 'Z' ? b + 0x20 : b) : FoldChar(Decode(name, i));
    if (b < 0x80) ++i;
  }
  out.resize(n);
}

Mask::Mask(std::string_view text) {
  FoldName(text, pattern_);
  std::u32string_view p = pattern_;
  matches_nothing_ = p.empty() || p.find(U'/') != std::u32string_view::npos;
  for (char32_t c : p) min_length_ += c != U'*';
  size_t last_star = p.rfind(U'*');
  has_star_ = last_star != std::u32string_view::npos;
  if (has_star_) {
    std::u32string_view tail = p.substr(last_star + 1);
    if (tail.find(U'?') == std::u32string_view::npos) literal_tail_length_ = tail.size();
  }
  literal_head_length_ = std::min(p.find_first_of(U"*?"), p.size());
  if (p.size() > 2 && p.substr(p.size() - 2) == U".*") {
    without_extension_length_ = p.size() - 2;
    literal_head_length_ = std::min(literal_head_length_, without_extension_length_);
  }
}

bool Mask::MatchesFolded(std::u32string_view name) const {
  if (matches_nothing_ || name.empty()) return false;
  std::u32string_view p = pattern_;
  // Cheap necessary conditions first: most names fail one of them, and
  // the head also serves the ".*" alternative, which starts alike.
  if (name.size() < literal_head_length_ || name.compare(0, literal_head_length_, p.substr(0, literal_head_length_)) != 0)
    return false;
  bool length_fits = has_star_ ? name.size() >= min_length_ : name.size() == min_length_;
  if (length_fits && EndsWith(name, p.substr(p.size() - literal_tail_length_)) && Glob(p, name)) return true;
  return without_extension_length_ > 0 && Glob(p.substr(0, without_extension_length_), name);
}

bool Mask::Matches(std::string_view name) const {
  std::u32string folded;
  FoldName(name, folded);
  return MatchesFolded(folded);
}

bool MaskMatches(std::string_view mask, std::string_view name) { return Mask(mask).Matches(name); }

}  // namespace scan
