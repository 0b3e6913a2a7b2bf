#include "platform/registry.h"

#include "platform/posix/registry_autostart.h"
#include "platform/posix/registry_store.h"

namespace platform {

using registry_detail::Connection;
using registry_detail::Statement;

struct RegistryKey::Impl {
  std::shared_ptr<Connection> connection;
  int64_t id = 0;
  std::string path;
  bool logon = false;  // the key whose values the desktop starts at logon
  bool exclusive = false;

  const registry_detail::Database& Db() const { return connection->Db(); }
};

namespace {

bool IsLogonKey(RootKey root, const std::string& path) {
  return root == RootKey::LocalMachine && registry_detail::EqualNoCase(path, registry_detail::kLogonKey);
}

// The logon key lies at or beneath `path`.
bool HoldsLogonKey(RootKey root, const std::string& path) {
  std::string_view logon = registry_detail::kLogonKey;
  return root == RootKey::LocalMachine && path.size() <= logon.size() &&
         registry_detail::EqualNoCase(logon.substr(0, path.size()), path) &&
         (path.size() == logon.size() || logon[path.size()] == '\\');
}

}  // namespace

std::optional<RegistryKey> RegistryKey::Open(RootKey root, std::string_view path, bool create) {
  std::shared_ptr<Connection> connection = Connection::Current();
  std::optional<std::string> normalized = registry_detail::NormalizeKeyPath(path);
  if (!connection || !normalized) return std::nullopt;
  int hive = registry_detail::Hive(root);
  std::optional<int64_t> id = registry_detail::FindKey(connection->Db(), hive, *normalized);
  if (!id && create) {
    bool began = false;
    if (!connection->BeginIfNeeded(began)) return std::nullopt;
    id = registry_detail::CreateKey(connection->Db(), hive, *normalized);
    if (!connection->EndIfBegan(began, id.has_value())) id.reset();
  }
  if (!id) return std::nullopt;
  auto impl = std::make_unique<Impl>();
  impl->connection = std::move(connection);
  impl->id = *id;
  impl->path = *normalized;
  impl->logon = IsLogonKey(root, *normalized);
  return RegistryKey(std::move(impl));
}

bool RegistryKey::DeleteTree(RootKey root, std::string_view path) {
  std::optional<RegistryKey> key = Open(root, path, false);
  if (!key || key->impl_->path.empty()) return false;  // a hive's root stays
  Connection& connection = *key->impl_->connection;
  bool began = false;
  if (!connection.BeginIfNeeded(began)) return false;
  if (HoldsLogonKey(root, key->impl_->path)) {
    if (std::optional<RegistryKey> logon = Open(root, registry_detail::kLogonKey, false))
      for (RegistryValue& value : logon->Values()) connection.QueueMirror(std::move(value.name), std::nullopt);
  }
  Statement stmt = connection.Db().Prepare("DELETE FROM keys WHERE id = ?1");
  stmt.Bind(1, key->impl_->id);
  bool ok = stmt.Run() && sqlite3_changes(connection.Db().Get()) > 0;
  return connection.EndIfBegan(began, ok);
}

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;

RegistryKey::~RegistryKey() {
  // A transaction left open when the key goes away is not kept.
  if (impl_ && impl_->exclusive) Rollback();
}

int RegistryKey::ValueCount() const {
  Statement stmt = impl_->Db().Prepare("SELECT count(*) FROM reg_values WHERE key = ?1");
  stmt.Bind(1, impl_->id);
  return stmt.Step() == SQLITE_ROW ? static_cast<int>(stmt.Int(0)) : 0;
}

std::optional<RegistryValue> RegistryKey::Get(std::string_view name) const {
  Statement stmt = impl_->Db().Prepare("SELECT name, type, data FROM reg_values WHERE key = ?1 AND name = ?2");
  stmt.Bind(1, impl_->id).Bind(2, name);
  if (stmt.Step() != SQLITE_ROW) return std::nullopt;
  return RegistryValue{stmt.Text(0), static_cast<uint32_t>(stmt.Int(1)), stmt.Text(2)};
}

bool RegistryKey::Set(std::string_view name, uint32_t type, std::string_view data) {
  Connection& connection = *impl_->connection;
  bool began = false;
  if (!connection.BeginIfNeeded(began)) return false;
  // The key may have been deleted since it was opened, by this process or
  // another; a write then fails instead of reviving it.
  Statement exists = connection.Db().Prepare("SELECT 1 FROM keys WHERE id = ?1");
  exists.Bind(1, impl_->id);
  bool ok = exists.Step() == SQLITE_ROW && registry_detail::SetValue(connection.Db(), impl_->id, name, type, data);
  if (ok && impl_->logon) {
    std::optional<RegistryValue> stored = Get(name);  // its first spelling names the entry
    connection.QueueMirror(stored ? stored->name : std::string(name), std::make_pair(type, std::string(data)));
  }
  return connection.EndIfBegan(began, ok);
}

bool RegistryKey::Remove(std::string_view name) {
  Connection& connection = *impl_->connection;
  std::optional<RegistryValue> stored = Get(name);
  if (!stored) return false;
  bool began = false;
  if (!connection.BeginIfNeeded(began)) return false;
  Statement stmt = connection.Db().Prepare("DELETE FROM reg_values WHERE key = ?1 AND name = ?2");
  stmt.Bind(1, impl_->id).Bind(2, name);
  bool ok = stmt.Run() && sqlite3_changes(connection.Db().Get()) > 0;
  if (ok && impl_->logon) connection.QueueMirror(stored->name, std::nullopt);
  return connection.EndIfBegan(began, ok);
}

std::vector<RegistryValue> RegistryKey::Values() const {
  std::vector<RegistryValue> values;
  Statement stmt = impl_->Db().Prepare("SELECT name, type, data FROM reg_values WHERE key = ?1 ORDER BY id");
  stmt.Bind(1, impl_->id);
  while (stmt.Step() == SQLITE_ROW)
    values.push_back(RegistryValue{stmt.Text(0), static_cast<uint32_t>(stmt.Int(1)), stmt.Text(2)});
  return values;
}

std::vector<std::string> RegistryKey::SubKeys() const {
  std::vector<std::string> names;
  Statement stmt = impl_->Db().Prepare("SELECT path FROM keys WHERE parent = ?1 ORDER BY id");
  stmt.Bind(1, impl_->id);
  while (stmt.Step() == SQLITE_ROW) {
    std::string path = stmt.Text(0);
    names.push_back(path.substr(path.find_last_of('\\') + 1));
  }
  return names;
}

const std::string& RegistryKey::Path() const { return impl_->path; }

bool RegistryKey::BeginExclusive() {
  if (impl_->connection->InTransaction() || !impl_->connection->Db().Exec("BEGIN IMMEDIATE")) return false;
  impl_->exclusive = true;
  return true;
}

bool RegistryKey::Commit() {
  if (!impl_->exclusive) return false;
  impl_->exclusive = false;
  return impl_->connection->EndIfBegan(true, true);
}

void RegistryKey::Rollback() {
  if (!impl_->exclusive) return;
  impl_->exclusive = false;
  impl_->connection->EndIfBegan(true, false);
}

}  // namespace platform
