#include "usage/SqliteUsageStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "usage/HourBuckets.h"

namespace {

constexpr const char* Schema =
    "CREATE TABLE IF NOT EXISTS usage_hours ("
    " hour TEXT NOT NULL,"
    " adapter TEXT NOT NULL,"
    " download_bytes INTEGER NOT NULL DEFAULT 0,"
    " upload_bytes INTEGER NOT NULL DEFAULT 0,"
    " PRIMARY KEY (hour, adapter)) WITHOUT ROWID";

constexpr const char* Upsert =
    "INSERT INTO usage_hours (hour, adapter, download_bytes, upload_bytes) VALUES (?1, ?2, ?3, ?4) "
    "ON CONFLICT (hour, adapter) DO UPDATE SET download_bytes = download_bytes + excluded.download_bytes, "
    "upload_bytes = upload_bytes + excluded.upload_bytes";

constexpr const char* Select =
    "SELECT hour, adapter, download_bytes, upload_bytes FROM usage_hours "
    "WHERE hour >= ?1 AND hour < ?2 ORDER BY hour, adapter";

bool IsDamage(int rc) { return (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB; }

bool Exists(const std::string& path) {
  sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
  int found = 0;
  return vfs && vfs->xAccess(vfs, path.c_str(), SQLITE_ACCESS_EXISTS, &found) == SQLITE_OK && found;
}

void Delete(const std::string& path) {
  if (sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr); vfs && Exists(path)) vfs->xDelete(vfs, path.c_str(), 0);
}

// "usage.db" -> "usage-damaged-2026-12-07.db", then "-2", "-3"... when taken.
std::string AsideName(const std::string& path, uint32_t today) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.find_last_of("/\\");
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExt ? path.substr(0, dot) : path, ext = hasExt ? path.substr(dot) : "";
  const std::string base = stem + "-damaged-" + DayText(today);
  std::string name = base + ext;
  for (int n = 2; Exists(name) && n < 1000; ++n) name = base + "-" + std::to_string(n) + ext;
  return name;
}

int64_t AsStored(uint64_t v) {
  return static_cast<int64_t>(std::min<uint64_t>(v, std::numeric_limits<int64_t>::max()));
}

}  // namespace

bool RenameFilePortable(const std::string& from, const std::string& to) {
  return !Exists(to) && std::rename(from.c_str(), to.c_str()) == 0;
}

TSqliteUsageStore::TSqliteUsageStore(std::string path, TMode mode, uint32_t today, TRenameFile rename)
    : path_(std::move(path)), mode_(mode), today_(today), rename_(rename) {
  if (mode_ == TMode::ReadOnly && !Exists(path_)) {
    empty_ = true;  // nothing recorded yet
    return;
  }
  if (Open() != TOpen::Damaged) return;
  if (mode_ == TMode::ReadWrite) StartAfresh();
  else Close();
}

TSqliteUsageStore::~TSqliteUsageStore() {
  if (inWrite_) Exec("ROLLBACK");
  Close();
}

void TSqliteUsageStore::Close() {
  sqlite3_finalize(upsert_);
  sqlite3_finalize(select_);
  upsert_ = select_ = nullptr;
  sqlite3_close(db_);
  db_ = nullptr;
  inWrite_ = false;
}

bool TSqliteUsageStore::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool TSqliteUsageStore::Note(int rc, const char* what) {
  problem_ = std::string(what) + " " + path_ + ": " + (db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
  return IsDamage(rc);
}

TSqliteUsageStore::TOpen TSqliteUsageStore::Open() {
  const bool readOnly = mode_ == TMode::ReadOnly;
  const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(db_, 1);
    // Another program holding the file is waited for this long at most: the tick runs here.
    sqlite3_busy_timeout(db_, 20);
    // Settled with the first statement: a file that is no database fails here.
    if (!readOnly)
      rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-128",
                        nullptr, nullptr, nullptr);
  }
  // The whole file is read once, so damage shows now and not in the middle of a write.
  sqlite3_stmt* check = nullptr;
  bool ok = false;
  if (rc == SQLITE_OK) rc = sqlite3_prepare_v2(db_, "PRAGMA quick_check", -1, &check, nullptr);
  if (rc == SQLITE_OK && (rc = sqlite3_step(check)) == SQLITE_ROW) {
    const auto* answer = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    ok = answer && std::string(answer) == "ok";
  }
  sqlite3_finalize(check);
  if (rc != SQLITE_ROW) {
    const bool damaged = Note(rc, "cannot open");
    if (!damaged) Close();  // locked, read-only, no room: tried again later
    return damaged ? TOpen::Damaged : TOpen::Failed;
  }
  if (!ok) {
    problem_ = path_ + " is damaged";
    return TOpen::Damaged;
  }
  return Prepare();
}

TSqliteUsageStore::TOpen TSqliteUsageStore::Prepare() {
  int32_t found = -1;
  sqlite3_stmt* version = nullptr;
  int rc = sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &version, nullptr);
  if (rc == SQLITE_OK && (rc = sqlite3_step(version)) == SQLITE_ROW) {
    found = sqlite3_column_int(version, 0);
    rc = SQLITE_OK;
  }
  sqlite3_finalize(version);
  if (rc == SQLITE_OK && found > UsageSchemaVersion) {
    // a later Tarvelo's file: its rows are not ours to guess at, nor is it damaged
    problem_ = path_ + " was made by a later Tarvelo (schema " + std::to_string(found) + ")";
    Close();
    return TOpen::Failed;
  }
  if (rc == SQLITE_OK && found < UsageSchemaVersion) {
    if (mode_ == TMode::ReadOnly) {
      Close();
      empty_ = true;  // never written: no rows
      return TOpen::Ok;
    }
    // Later versions migrate from here, a step a version, in the same transaction.
    const std::string create = std::string("BEGIN; ") + Schema + "; PRAGMA user_version = " +
                               std::to_string(UsageSchemaVersion) + "; COMMIT";
    rc = sqlite3_exec(db_, create.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Exec("ROLLBACK");
  }
  if (rc == SQLITE_OK) rc = sqlite3_prepare_v3(db_, Select, -1, SQLITE_PREPARE_PERSISTENT, &select_, nullptr);
  if (rc == SQLITE_OK && mode_ == TMode::ReadWrite)
    rc = sqlite3_prepare_v3(db_, Upsert, -1, SQLITE_PREPARE_PERSISTENT, &upsert_, nullptr);
  if (rc == SQLITE_OK) {
    problem_.clear();
    return TOpen::Ok;
  }
  const bool damaged = Note(rc, "cannot use");
  if (!damaged) Close();
  return damaged ? TOpen::Damaged : TOpen::Failed;
}

void TSqliteUsageStore::StartAfresh() {
  Close();
  const std::string aside = AsideName(path_, today_);
  if (!rename_ || !rename_(path_, aside)) {
    problem_ = "cannot move the damaged " + path_ + " aside";
    return;
  }
  // its log goes with it; the shared-memory index belongs to no file any more
  if (Exists(path_ + "-wal")) rename_(path_ + "-wal", aside + "-wal");
  Delete(path_ + "-shm");
  setAside_ = aside;
  if (Open() != TOpen::Ok) Close();
}

void TSqliteUsageStore::Trouble(int rc, const char* what) {
  if (!Note(rc, what) || mode_ != TMode::ReadWrite) return;
  if (inWrite_) Exec("ROLLBACK");
  inWrite_ = false;
  StartAfresh();
}

bool TSqliteUsageStore::Add(const std::string& adapter, TLocalHour hour, uint64_t down, uint64_t up) {
  if (writeFailed_ || !upsert_) return writeFailed_ = true, false;
  if (!inWrite_) {
    // the write lock now, so a program holding the file fails this and not the commit
    if (!Exec("BEGIN IMMEDIATE")) {
      writeFailed_ = true;
      Trouble(sqlite3_extended_errcode(db_), "cannot write to");
      return false;
    }
    inWrite_ = true;
  }
  const std::string text = HourText(hour);
  sqlite3_bind_text(upsert_, 1, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(upsert_, 2, adapter.c_str(), static_cast<int>(adapter.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(upsert_, 3, AsStored(down));
  sqlite3_bind_int64(upsert_, 4, AsStored(up));
  const int rc = sqlite3_step(upsert_);
  sqlite3_reset(upsert_);
  if (rc == SQLITE_DONE) return true;
  writeFailed_ = true;
  Trouble(rc, "cannot write to");
  return false;
}

bool TSqliteUsageStore::Flush() {
  const bool failed = writeFailed_;
  writeFailed_ = false;
  if (!inWrite_) return !failed;
  inWrite_ = false;
  if (!failed && Exec("COMMIT")) return true;
  const int rc = sqlite3_extended_errcode(db_);
  Exec("ROLLBACK");
  if (!failed) Trouble(rc, "cannot write to");
  return false;
}

bool TSqliteUsageStore::Read(uint32_t firstDay, uint32_t endDay, std::vector<TUsageRow>& rows) {
  rows.clear();
  if (empty_) return true;
  if (!select_) return false;
  const std::string from = HourText({firstDay, 0}), to = HourText({endDay, 0});
  sqlite3_bind_text(select_, 1, from.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(select_, 2, to.c_str(), -1, SQLITE_TRANSIENT);
  int rc;
  while ((rc = sqlite3_step(select_)) == SQLITE_ROW) {
    TUsageRow row;
    const auto* hour = reinterpret_cast<const char*>(sqlite3_column_text(select_, 0));
    const auto* adapter = reinterpret_cast<const char*>(sqlite3_column_text(select_, 1));
    // rows a hand-edit left unreadable are passed over, never misread
    if (!hour || !adapter || !ParseHourText(hour, row.Hour)) continue;
    row.Adapter = adapter;
    row.Down = static_cast<uint64_t>(std::max<sqlite3_int64>(sqlite3_column_int64(select_, 2), 0));
    row.Up = static_cast<uint64_t>(std::max<sqlite3_int64>(sqlite3_column_int64(select_, 3), 0));
    rows.push_back(std::move(row));
  }
  sqlite3_reset(select_);
  if (rc == SQLITE_DONE) return true;
  rows.clear();
  if (!inWrite_) Trouble(rc, "cannot read");
  return false;
}
