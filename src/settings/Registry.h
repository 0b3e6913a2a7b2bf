#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/registry.h"

// A failed read or write of a registry value; the message names the value.
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The registry accessor the settings code works through: one root, at most
// one open key at a time, every opening with full access. Reads and writes
// of values fail with ERegistryException:
//   "获得 '<name>' 数据失败"      a number read of a missing value, or of
//                                 data longer than 4 bytes
//   "无效的数据类型给予 '<name>'"  data that fits but has the wrong type
//   "设置 '<name>' 数据失败"      a write the store refused
// The open key is closed when the accessor goes away.
class TRegistry {
 public:
  explicit TRegistry(platform::RootKey root = platform::RootKey::LocalMachine) : root_(root) {}

  platform::RootKey RootKey() const { return root_; }
  void SetRootKey(platform::RootKey root);

  // Closes the current key, then opens `path` from the root (a leading "\"
  // is allowed); with `can_create`, creates it and every missing key above.
  bool OpenKey(const std::string& path, bool can_create);
  void CloseKey();
  bool HasKey() const { return key_.has_value(); }

  // Values of the open key, named or not; 0 without one.
  int ValueCount() const;
  bool ValueExists(const std::string& name) const;

  // A 32-bit number read of at most 4 bytes; a boolean is any non-zero one.
  bool ReadBool(const std::string& name) const;
  int32_t ReadInteger(const std::string& name) const;
  // Text up to the first NUL of a plain or expandable string; a missing
  // value, or no open key, reads as "".
  std::string ReadString(const std::string& name) const;

  void WriteBool(const std::string& name, bool value);
  void WriteInteger(const std::string& name, int32_t value);
  // Stored with its terminating NUL.
  void WriteString(const std::string& name, const std::string& value);
  // False when the value did not exist or could not be deleted.
  bool DeleteValue(const std::string& name);

  // One transaction around a read-modify-write that no other process may
  // interleave with; false without an open key or when the store refused.
  bool BeginExclusive();
  bool Commit();
  void Rollback();

 private:
  void Write(const std::string& name, uint32_t type, const std::string& data);

  platform::RootKey root_;
  std::optional<platform::RegistryKey> key_;
};
