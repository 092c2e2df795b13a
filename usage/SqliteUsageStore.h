// The usage history in one SQLite file (WAL, a small page cache, statements prepared
// once). Read-write for the program: a damaged file is moved aside under a name with
// the date and a fresh one started. Read-only for the export, which never writes to a
// file another Tarvelo may be writing.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "usage/UsageStore.h"

struct sqlite3;
struct sqlite3_stmt;

// The schema this program writes (PRAGMA user_version).
inline constexpr int32_t UsageSchemaVersion = 1;

// Renames a file (UTF-8 names); false when it could not, or the target exists.
using TRenameFile = bool (*)(const std::string& from, const std::string& to);
bool RenameFilePortable(const std::string& from, const std::string& to);

class TSqliteUsageStore final : public TUsageStore {
public:
  enum class TMode { ReadWrite, ReadOnly };
  // path: UTF-8. today: the local day, for the name a damaged file is given.
  TSqliteUsageStore(std::string path, TMode mode, uint32_t today = 0, TRenameFile rename = &RenameFilePortable);
  ~TSqliteUsageStore() override;
  TSqliteUsageStore(const TSqliteUsageStore&) = delete;
  TSqliteUsageStore& operator=(const TSqliteUsageStore&) = delete;

  // Whether it can be read (and, read-write, written); otherwise Problem says why.
  bool Usable() const override { return db_ != nullptr || empty_; }
  const std::string& Problem() const { return problem_; }
  std::string TakeSetAside() override { return std::exchange(setAside_, {}); }

  bool Add(const std::string& adapter, TLocalHour hour, uint64_t down, uint64_t up) override;
  bool Flush() override;
  bool Read(uint32_t firstDay, uint32_t endDay, std::vector<TUsageRow>& rows) override;

private:
  enum class TOpen { Ok, Damaged, Failed };
  TOpen Open();
  TOpen Prepare();
  void Close();
  // Moves the damaged file (and its journal) aside and starts a fresh one.
  void StartAfresh();
  // Says why a step failed; true when the file is damaged.
  bool Note(int rc, const char* what);
  // A failed step after opening: a damaged file is set aside at once (read-write).
  void Trouble(int rc, const char* what);
  bool Exec(const char* sql);

  std::string path_;
  TMode mode_;
  uint32_t today_;
  TRenameFile rename_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* upsert_ = nullptr;
  sqlite3_stmt* select_ = nullptr;
  bool inWrite_ = false, writeFailed_ = false;
  bool empty_ = false;  // read-only on a file that does not exist yet: no rows
  std::string problem_, setAside_;
};
