#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The two hives the program uses.
enum class RootKey { LocalMachine, CurrentUser };

// Value types, with the numbers the registry gives them.
enum : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
  kRegQword = 11,
};

struct RegistryValue {
  std::string name;
  uint32_t type = kRegNone;
  std::string data;  // the exact bytes; a string includes its terminating NUL
};

// One key of the registry, opened with full access from the root of a hive.
// Key paths may start with "\" and are always taken from the root; keys and
// value names compare without regard to ASCII case. Move-only; the key is
// closed when the object goes away.
class RegistryKey {
 public:
  // Opens `path` under `root`; with `create`, creates it and every missing
  // key above it. Gives nothing when the key is missing (and not created),
  // or when the store refuses full access (cannot be written, is damaged).
  static std::optional<RegistryKey> Open(RootKey root, std::string_view path, bool create);

  // Deletes a key and everything beneath it. False when it did not exist or
  // the store refused.
  static bool DeleteTree(RootKey root, std::string_view path);

  RegistryKey(RegistryKey&&) noexcept;
  RegistryKey& operator=(RegistryKey&&) noexcept;
  ~RegistryKey();

  // Number of values the key holds, named or not; sub-keys do not count.
  int ValueCount() const;
  std::optional<RegistryValue> Get(std::string_view name) const;
  // False when the store refuses the write.
  bool Set(std::string_view name, uint32_t type, std::string_view data);
  // False when the value did not exist or the store refused.
  bool Remove(std::string_view name);
  // Values in the order they were first written; names of direct sub-keys.
  std::vector<RegistryValue> Values() const;
  std::vector<std::string> SubKeys() const;
  // The key's full name as given when opened, root and the leading and
  // trailing separators excluded.
  const std::string& Path() const;

  // A read-modify-write that no other process may interleave with: every
  // Get and Set between Begin and Commit is one transaction. Commit gives
  // false (and nothing is kept) when the store refused. Without Begin, every
  // Set is a transaction of its own.
  bool BeginExclusive();
  bool Commit();
  void Rollback();

  struct Impl;

 private:
  explicit RegistryKey(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
