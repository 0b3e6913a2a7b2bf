#pragma once
// Move-only owners of an SQLite connection and statement, private to the
// registry backend.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::registry_detail {

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
  Statement& operator=(Statement&&) = delete;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  bool Valid() const { return stmt_ != nullptr; }
  Statement& Bind(int index, int64_t value);
  Statement& Bind(int index, std::string_view text);
  Statement& BindBlob(int index, std::string_view bytes);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  // Steps to the end; true when it ended without error.
  bool Run();
  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  Database() = default;
  explicit Database(sqlite3* db) : db_(db) {}
  Database(Database&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
  Database& operator=(Database&& other) noexcept;
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database() { sqlite3_close_v2(db_); }

  sqlite3* Get() const { return db_; }
  // Gives the handle up without closing it.
  sqlite3* Release() {
    sqlite3* db = db_;
    db_ = nullptr;
    return db;
  }
  bool Exec(const char* sql) const { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
  Statement Prepare(std::string_view sql) const { return Statement(db_, sql); }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace platform::registry_detail
