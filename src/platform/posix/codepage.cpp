#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <utility>

namespace platform {
namespace {

constexpr const char* kAnsiCharset = "GBK";

// One iconv conversion descriptor, closed when the object goes away.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(Converter&& other) noexcept : cd_(std::exchange(other.cd_, Invalid())) {}
  Converter& operator=(Converter&&) = delete;
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != Invalid(); }
  iconv_t get() const { return cd_; }

 private:
  static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

enum class OnBadInput { kReplace, kFail };

// Length of the UTF-8 sequence that starts with `lead`, 1 for a stray byte,
// so that a bad character is skipped whole.
size_t Utf8SequenceLength(unsigned char lead) {
  if (lead > 0xF4) return 1;
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  return 1;
}

// A GBK lead byte takes a trail byte with it; anything else goes alone.
size_t AnsiSequenceLength(unsigned char lead) { return (lead >= 0x81 && lead <= 0xFE) ? 2 : 1; }

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::optional<std::string> Convert(std::string_view in, const char* to, const char* from,
                                   std::string_view replacement, size_t (*bad_length)(unsigned char),
                                   OnBadInput on_bad) {
  // Plain ASCII is the same in every encoding used here.
  if (IsAscii(in)) return std::string(in);
  Converter converter(to, from);
  if (!converter.valid()) return std::nullopt;
  std::string out;
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    size_t r = iconv(converter.get(), &src, &left, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ: a character with no equivalent; EINVAL: a sequence cut off at
    // the end of the input.
    if (on_bad == OnBadInput::kFail) return std::nullopt;
    size_t skip = std::min(left, bad_length(static_cast<unsigned char>(*src)));
    src += skip;
    left -= skip;
    out.append(replacement);
  }
  return out;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  auto out = Convert(utf8, kAnsiCharset, "UTF-8", "?", Utf8SequenceLength, OnBadInput::kReplace);
  return out ? *out : std::string();
}

std::string AnsiToUtf8(std::string_view ansi) {
  auto out = Convert(ansi, "UTF-8", kAnsiCharset, "\xEF\xBF\xBD", AnsiSequenceLength, OnBadInput::kReplace);
  return out ? *out : std::string();
}

std::optional<std::string> Utf8ToAnsiExact(std::string_view utf8) {
  return Convert(utf8, kAnsiCharset, "UTF-8", "", Utf8SequenceLength, OnBadInput::kFail);
}

}  // namespace platform
