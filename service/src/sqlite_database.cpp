#include "sqlite_database.h"

namespace korvena::service {

SqliteDatabase::SqliteDatabase(const std::string& path) {
  const int opened = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                                                             SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_FULLMUTEX,
                                     nullptr);
  if (opened != SQLITE_OK) {
    const std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(opened);
    sqlite3_close(db_);
    db_ = nullptr;
    throw JournalError("cannot open the journal " + path + ": " + why);
  }
  // Another process holding the journal makes us wait a little, not fail at once.
  sqlite3_busy_timeout(db_, 5000);
}

SqliteDatabase::~SqliteDatabase() { sqlite3_close(db_); }

void SqliteDatabase::Fail(const std::string& doing) const {
  throw JournalError("journal: " + doing + ": " + sqlite3_errmsg(db_));
}

void SqliteDatabase::Execute(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string why = message != nullptr ? message : "failed";
    sqlite3_free(message);
    throw JournalError("journal: " + why);
  }
}

SqliteStatement SqliteDatabase::Prepare(std::string_view sql) { return SqliteStatement(*this, sql); }

int64_t SqliteDatabase::Changes() const { return sqlite3_changes(db_); }

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql) : db_(&db) {
  if (sqlite3_prepare_v2(db.handle(), sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) != SQLITE_OK)
    db.Fail("preparing a statement");
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : db_(other.db_), statement_(other.statement_), next_(other.next_) {
  other.statement_ = nullptr;
}

SqliteStatement& SqliteStatement::Bind(std::string_view text) {
  if (sqlite3_bind_text(statement_, next_++, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
    db_->Fail("binding a value");
  return *this;
}

SqliteStatement& SqliteStatement::Bind(int64_t number) {
  if (sqlite3_bind_int64(statement_, next_++, number) != SQLITE_OK) db_->Fail("binding a value");
  return *this;
}

SqliteStatement& SqliteStatement::BindOptional(const std::optional<std::string>& textOrNull) {
  if (textOrNull) return Bind(std::string_view(*textOrNull));
  if (sqlite3_bind_null(statement_, next_++) != SQLITE_OK) db_->Fail("binding a value");
  return *this;
}

SqliteStatement& SqliteStatement::BindBlob(std::string_view bytes) {
  if (sqlite3_bind_blob(statement_, next_++, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    db_->Fail("binding a value");
  return *this;
}

bool SqliteStatement::Step() {
  const int stepped = sqlite3_step(statement_);
  if (stepped == SQLITE_ROW) return true;
  if (stepped != SQLITE_DONE) db_->Fail("running a statement");
  return false;
}

void SqliteStatement::Run() {
  while (Step()) {
  }
}

std::string SqliteStatement::Text(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
  return bytes != nullptr ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                          : std::string();
}

std::optional<std::string> SqliteStatement::OptionalText(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  return Text(column);
}

int64_t SqliteStatement::Number(int column) const { return sqlite3_column_int64(statement_, column); }

std::optional<int64_t> SqliteStatement::OptionalNumber(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  return Number(column);
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }

SqliteTransaction::~SqliteTransaction() {
  if (done_) return;
  try {
    db_.Execute("ROLLBACK");
  } catch (...) {
    // A failed rollback leaves SQLite to roll back itself; nothing more to do here.
  }
}

void SqliteTransaction::Commit() {
  db_.Execute("COMMIT");
  done_ = true;
}

}  // namespace korvena::service
