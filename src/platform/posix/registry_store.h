#pragma once
// The store behind the registry contract: one SQLite database holding both
// hives. Private to the registry backend.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/posix/registry_sqlite.h"
#include "platform/registry.h"

namespace platform::registry_detail {

// One open store. The process keeps one connection per store file for its
// whole life: closing a second descriptor on the file would drop the POSIX
// locks SQLite holds through the first.
class Connection {
 public:
  Connection(Database db, std::string path, uint64_t device, uint64_t inode);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // The store that QUILLMOOR_REGISTRY (or the user's data folder) names,
  // created with its first keys when missing; nothing when it cannot be
  // opened with full access or is damaged.
  static std::shared_ptr<Connection> Current();

  const Database& Db() const { return db_; }
  bool InTransaction() const;
  // Transactions of their own for single writes, or nothing when an outer
  // exclusive transaction is already running.
  bool BeginIfNeeded(bool& began);
  bool EndIfBegan(bool began, bool ok);

  // Autostart changes wait for the transaction that made them.
  void QueueMirror(std::string name, std::optional<std::pair<uint32_t, std::string>> value);
  void ApplyMirrors();
  void DropMirrors() { mirrors_.clear(); }

  const std::string& File() const { return path_; }
  uint64_t Device() const { return device_; }
  uint64_t Inode() const { return inode_; }

 private:
  Database db_;
  std::string path_;
  uint64_t device_, inode_;
  long owner_pid_;
  std::vector<std::pair<std::string, std::optional<std::pair<uint32_t, std::string>>>> mirrors_;
};

int Hive(RootKey root);
// "\A\B\" -> "A\B"; nothing when a part between separators is empty.
std::optional<std::string> NormalizeKeyPath(std::string_view path);
bool EqualNoCase(std::string_view a, std::string_view b);

std::optional<int64_t> FindKey(const Database& db, int hive, const std::string& path);
// Finds or creates the key and its missing parents, inside the caller's
// transaction.
std::optional<int64_t> CreateKey(const Database& db, int hive, const std::string& path);
bool SetValue(const Database& db, int64_t key, std::string_view name, uint32_t type, std::string_view data);

}  // namespace platform::registry_detail
