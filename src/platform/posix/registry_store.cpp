#include "platform/posix/registry_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/registry_autostart.h"
#include "platform/posix/registry_seed.h"
#include "platform/posix/registry_xdg.h"

namespace platform::registry_detail {
namespace {

constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 30000;

constexpr const char* kSchema =
    "CREATE TABLE keys("
    "  id INTEGER PRIMARY KEY,"
    "  hive INTEGER NOT NULL,"
    "  parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
    "  path TEXT NOT NULL COLLATE NOCASE,"
    "  UNIQUE(hive, path));"
    "CREATE INDEX keys_parent ON keys(parent);"
    "CREATE TABLE reg_values("
    "  id INTEGER PRIMARY KEY,"
    "  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  UNIQUE(key, name));";

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string StorePath(bool& chosen_by_user) {
  const char* named = std::getenv("QUILLMOOR_REGISTRY");
  chosen_by_user = named && *named;
  if (chosen_by_user) return named;
  std::string data = DataHome();
  return data.empty() ? std::string() : data + "/quillmoor/registry.db";
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Full access needs the file and its folder (for the journal) writable.
bool MayWrite(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) == 0 &&
         ::faccessat(AT_FDCWD, FolderOf(path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool Identify(const std::string& path, uint64_t& device, uint64_t& inode) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  device = st.st_dev;
  inode = st.st_ino;
  return true;
}

int64_t PragmaInt(const Database& db, const char* sql, bool& ok) {
  Statement stmt = db.Prepare(sql);
  ok = stmt.Step() == SQLITE_ROW;
  return ok ? stmt.Int(0) : 0;
}

bool Seed(const Database& db) {
  if (!CreateKey(db, Hive(RootKey::LocalMachine), std::string(kLogonKey))) return false;
  std::optional<int64_t> shell = CreateKey(db, Hive(RootKey::CurrentUser), kShellFoldersKey);
  if (!shell) return false;
  for (const auto& [name, folder] : ShellFolderDefaults()) {
    std::string data = folder + '\0';
    if (!SetValue(db, *shell, name, kRegSz, data)) return false;
  }
  return true;
}

// Lays out an empty database. Another process may be doing the same, so the
// emptiness is checked again under the write lock.
bool Initialize(const Database& db) {
  if (!db.Exec("BEGIN IMMEDIATE")) return false;
  bool ok = true;
  int64_t tables = PragmaInt(db, "SELECT count(*) FROM sqlite_master", ok);
  int64_t version = ok ? PragmaInt(db, "PRAGMA user_version", ok) : 0;
  if (ok && tables == 0 && version == 0) {
    ok = db.Exec(kSchema) && CreateKey(db, 0, "") && CreateKey(db, 1, "") && Seed(db) &&
         db.Exec(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
  }
  if (ok && db.Exec("COMMIT")) return true;
  db.Exec("ROLLBACK");
  return false;
}

// A store that is damaged or of another layout is left exactly as it is.
bool CheckLayout(const Database& db) {
  bool ok = true;
  Statement check = db.Prepare("PRAGMA quick_check");
  if (check.Step() != SQLITE_ROW || check.Text(0) != "ok") return false;
  int64_t version = PragmaInt(db, "PRAGMA user_version", ok);
  if (ok && version == 0 && PragmaInt(db, "SELECT count(*) FROM sqlite_master", ok) == 0 && ok) {
    if (!Initialize(db)) return false;
    version = PragmaInt(db, "PRAGMA user_version", ok);
  }
  return ok && version == kSchemaVersion;
}

std::shared_ptr<Connection> OpenStore(const std::string& path, bool chosen_by_user) {
  if (!chosen_by_user && !MakeFolders(FolderOf(path), 0700)) return nullptr;
  // The file is made here, private to the user, before SQLite sees it;
  // SQLite gives its journal the same mode.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) ::close(fd);
  uint64_t device = 0, inode = 0;
  if (!Identify(path, device, inode) || !MayWrite(path)) return nullptr;

  sqlite3* handle = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
  Database db(handle);
  if (rc != SQLITE_OK || sqlite3_db_readonly(handle, "main") != 0) return nullptr;
  sqlite3_busy_timeout(handle, kBusyTimeoutMs);
  if (!db.Exec("PRAGMA foreign_keys = ON") || !db.Exec("PRAGMA synchronous = FULL") || !CheckLayout(db))
    return nullptr;
  return std::make_shared<Connection>(std::move(db), path, device, inode);
}

}  // namespace

Connection::Connection(Database db, std::string path, uint64_t device, uint64_t inode)
    : db_(std::move(db)), path_(std::move(path)), device_(device), inode_(inode), owner_pid_(::getpid()) {}

Connection::~Connection() {
  // A connection inherited through fork() belongs to the parent: closing it
  // here could release or roll back what the parent holds.
  if (owner_pid_ != ::getpid()) db_.Release();
}

std::shared_ptr<Connection> Connection::Current() {
  static std::shared_ptr<Connection> cached;
  bool chosen_by_user = false;
  std::string path = StorePath(chosen_by_user);
  if (path.empty()) return nullptr;
  uint64_t device = 0, inode = 0;
  bool same_file = cached && cached->owner_pid_ == ::getpid() && cached->path_ == path &&
                   Identify(path, device, inode) && device == cached->device_ && inode == cached->inode_;
  if (same_file) return MayWrite(path) ? cached : nullptr;
  cached = OpenStore(path, chosen_by_user);
  return cached;
}

bool Connection::InTransaction() const { return sqlite3_get_autocommit(db_.Get()) == 0; }

bool Connection::BeginIfNeeded(bool& began) {
  began = !InTransaction();
  return !began || db_.Exec("BEGIN IMMEDIATE");
}

bool Connection::EndIfBegan(bool began, bool ok) {
  if (!began) return ok;
  if (ok && db_.Exec("COMMIT")) {
    ApplyMirrors();
    return true;
  }
  db_.Exec("ROLLBACK");
  DropMirrors();
  return false;
}

void Connection::QueueMirror(std::string name, std::optional<std::pair<uint32_t, std::string>> value) {
  mirrors_.emplace_back(std::move(name), std::move(value));
}

void Connection::ApplyMirrors() {
  for (const auto& [name, value] : mirrors_) {
    if (value)
      MirrorLogonValue(name, value->first, value->second);
    else
      RemoveLogonValue(name);
  }
  mirrors_.clear();
}

int Hive(RootKey root) { return root == RootKey::LocalMachine ? 0 : 1; }

std::optional<std::string> NormalizeKeyPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.find("\\\\") != std::string_view::npos) return std::nullopt;
  return std::string(path);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::optional<int64_t> FindKey(const Database& db, int hive, const std::string& path) {
  Statement stmt = db.Prepare("SELECT id FROM keys WHERE hive = ?1 AND path = ?2");
  stmt.Bind(1, hive).Bind(2, path);
  if (stmt.Step() != SQLITE_ROW) return std::nullopt;
  return stmt.Int(0);
}

std::optional<int64_t> CreateKey(const Database& db, int hive, const std::string& path) {
  if (std::optional<int64_t> id = FindKey(db, hive, path)) return id;
  std::optional<int64_t> parent;
  if (!path.empty()) {
    size_t split = path.find_last_of('\\');
    parent = CreateKey(db, hive, split == std::string::npos ? std::string() : path.substr(0, split));
    if (!parent) return std::nullopt;
  }
  Statement stmt = db.Prepare("INSERT INTO keys(hive, parent, path) VALUES(?1, ?2, ?3)");
  stmt.Bind(1, hive).Bind(3, path);
  if (parent) stmt.Bind(2, *parent);
  if (!stmt.Run()) return std::nullopt;
  return sqlite3_last_insert_rowid(db.Get());
}

bool SetValue(const Database& db, int64_t key, std::string_view name, uint32_t type, std::string_view data) {
  // An existing value keeps its first spelling and its place in the order.
  Statement stmt = db.Prepare(
      "INSERT INTO reg_values(key, name, type, data) VALUES(?1, ?2, ?3, ?4) "
      "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data");
  stmt.Bind(1, key).Bind(2, name).Bind(3, static_cast<int64_t>(type)).BindBlob(4, data);
  return stmt.Run();
}

}  // namespace platform::registry_detail
