#pragma once
// A small RAII layer over SQLite for the journal: one connection, prepared
// statements with bound values, transactions that roll back unless
// committed. Every failure throws JournalError with SQLite's own words.
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvena::service {

class JournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SqliteStatement;

class SqliteDatabase {
 public:
  // Opens or creates `path`; JournalError when it cannot.
  explicit SqliteDatabase(const std::string& path);
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  void Execute(const std::string& sql);
  SqliteStatement Prepare(std::string_view sql);
  int64_t Changes() const;
  [[noreturn]] void Fail(const std::string& doing) const;
  sqlite3* handle() { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement(SqliteDatabase& db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Binds positions 1, 2, ... in the order of the calls.
  SqliteStatement& Bind(std::string_view text);
  SqliteStatement& Bind(int64_t number);
  SqliteStatement& BindOptional(const std::optional<std::string>& textOrNull);
  SqliteStatement& BindBlob(std::string_view bytes);
  // True while a row is there to read.
  bool Step();
  // Runs it to its end.
  void Run();

  std::string Text(int column) const;
  std::optional<std::string> OptionalText(int column) const;
  int64_t Number(int column) const;
  std::optional<int64_t> OptionalNumber(int column) const;

 private:
  SqliteDatabase* db_;
  sqlite3_stmt* statement_ = nullptr;
  int next_ = 1;
};

// BEGIN IMMEDIATE at construction; ROLLBACK at destruction unless Commit ran.
class SqliteTransaction {
 public:
  explicit SqliteTransaction(SqliteDatabase& db);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  void Commit();

 private:
  SqliteDatabase& db_;
  bool done_ = false;
};

}  // namespace korvena::service
