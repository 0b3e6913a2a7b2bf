#include "platform/text.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace platform {
namespace {

// The user's locale from the environment, opened once and kept; the
// process-wide locale is never changed for it.
locale_t UserLocale() {
  static locale_t locale = [] {
    locale_t l = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    return l ? l : newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  }();
  return locale;
}

std::string FoldAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

int CompareLocale(std::string_view a, std::string_view b) {
  // The collation needs terminated texts; two buffers kept for the thread
  // spare an allocation on every comparison of a sort or an insertion.
  thread_local std::string first, second;
  first.assign(a);
  second.assign(b);
  int r = strcoll_l(first.c_str(), second.c_str(), UserLocale());
  if (r != 0) return r;
  // Texts the collation ranks equal still differ in their bytes: keep the
  // order total and case-sensitive.
  return a.compare(b);
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
  thread_local std::string fa, fb;
  fa = FoldAscii(a);
  fb = FoldAscii(b);
  int r = strcoll_l(fa.c_str(), fb.c_str(), UserLocale());
  if (r != 0) return r;
  return fa.compare(fb);
}

char DecimalSeparator() {
  const char* radix = nl_langinfo_l(RADIXCHAR, UserLocale());
  return (radix && radix[0]) ? radix[0] : '.';
}

}  // namespace platform
