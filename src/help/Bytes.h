#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Little-endian encoding helpers shared by the help file writer and reader.
namespace help::bytes {

inline void Put8(std::string& out, uint32_t v) { out.push_back(static_cast<char>(v & 0xFF)); }
inline void Put16(std::string& out, uint32_t v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
inline void Put32(std::string& out, uint32_t v) {
  Put16(out, v);
  Put16(out, v >> 16);
}
inline void Patch32(std::string& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A bounds-checked view for reading; every getter fails softly past the
// end, so a damaged file can never be read outside its bytes.
class Reader {
 public:
  explicit Reader(std::string_view data) : data_(data) {}
  size_t size() const { return data_.size(); }
  bool Has(size_t at, size_t n) const { return at <= data_.size() && n <= data_.size() - at; }

  std::optional<uint32_t> U8(size_t at) const {
    if (!Has(at, 1)) return std::nullopt;
    return static_cast<unsigned char>(data_[at]);
  }
  std::optional<uint32_t> U16(size_t at) const {
    if (!Has(at, 2)) return std::nullopt;
    return Byte(at) | Byte(at + 1) << 8;
  }
  std::optional<uint32_t> U32(size_t at) const {
    if (!Has(at, 4)) return std::nullopt;
    return Byte(at) | Byte(at + 1) << 8 | Byte(at + 2) << 16 | Byte(at + 3) << 24;
  }
  // A NUL-terminated string starting at `at`; nothing when it runs off the end.
  std::optional<std::string> Z(size_t at) const {
    if (at > data_.size()) return std::nullopt;
    size_t end = data_.find('\0', at);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(data_.substr(at, end - at));
  }
  std::optional<std::string_view> Slice(size_t at, size_t n) const {
    if (!Has(at, n)) return std::nullopt;
    return data_.substr(at, n);
  }

 private:
  uint32_t Byte(size_t at) const { return static_cast<unsigned char>(data_[at]); }
  std::string_view data_;
};

}  // namespace help::bytes
