// The usage history's files under Windows: where the database lives, and files moved
// and written with UTF-8 names through the wide API, so any user name or folder works.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "usage/SqliteUsageStore.h"

// "%LOCALAPPDATA%\Quillmoor\Tarvelo\usage.db" (UTF-8), its folders made when create is
// set; empty when the user's local application data cannot be found.
std::string UsageDatabasePath(bool create);
// The database for the program (read-write) or the export (read-only).
std::unique_ptr<TSqliteUsageStore> OpenUsageDatabase(TSqliteUsageStore::TMode mode, uint32_t today);
// False when the target exists or the move fails.
bool RenameFileWide(const std::string& from, const std::string& to);
// Writes content to a file beside path and renames it into place, so path is either
// what it was or all of content; false with the reason.
bool WriteFileReplacing(const std::string& path, const std::string& content, std::string& error);
