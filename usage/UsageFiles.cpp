#include "usage/UsageFiles.h"

#include "toolkit/WinApi.h"

#include <shlobj.h>

#include "toolkit/Handles.h"
#include "toolkit/Utf8.h"

namespace {

std::string SystemMessage(DWORD code) {
  char text[512] = {};
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                 sizeof text, nullptr);
  std::string s(text, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s.empty() ? "error " + std::to_string(code) : s;
}

}  // namespace

std::string UsageDatabasePath(bool create) {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) return {};
  std::wstring dir = base;
  for (const wchar_t* part : {L"\\Quillmoor", L"\\Tarvelo"}) {
    dir += part;
    if (create) CreateDirectoryW(dir.c_str(), nullptr);  // one that exists already is fine
  }
  return tk::WideToUtf8(dir + L"\\usage.db");
}

std::unique_ptr<TSqliteUsageStore> OpenUsageDatabase(TSqliteUsageStore::TMode mode, uint32_t today) {
  const std::string path = UsageDatabasePath(mode == TSqliteUsageStore::TMode::ReadWrite);
  if (path.empty()) return nullptr;
  return std::make_unique<TSqliteUsageStore>(path, mode, today, &RenameFileWide);
}

bool RenameFileWide(const std::string& from, const std::string& to) {
  return MoveFileExW(tk::Utf8ToWide(from).c_str(), tk::Utf8ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool WriteFileReplacing(const std::string& path, const std::string& content, std::string& error) {
  const std::wstring target = tk::Utf8ToWide(path), temp = target + L".tmp";
  bool ok = false;
  {
    HANDLE raw = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) {
      error = "cannot write " + path + ": " + SystemMessage(GetLastError());
      return false;
    }
    const tk::unique_handle file(raw);
    DWORD written = 0;
    ok = WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size() && FlushFileBuffers(file.get());
    if (!ok) error = "cannot write " + path + ": " + SystemMessage(GetLastError());
  }
  if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = "cannot replace " + path + ": " + SystemMessage(GetLastError());
    ok = false;
  }
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}
