#include "app/ExportCommand.h"

#include "toolkit/WinApi.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/ExportUsage.h"
#include "toolkit/Utf8.h"
#include "traffic/SystemClock.h"
#include "usage/UsageFiles.h"

namespace {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int n = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!argv) return args;
  for (int i = 1; i < n; ++i) args.push_back(tk::WideToUtf8(argv[i]));
  LocalFree(argv);
  return args;
}

// A program without a console still has the standard error its starter gave it.
int Fail(const std::string& reason) {
  const std::string line = "tarvelo: " + reason + "\r\n";
  DWORD written = 0;
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err && err != INVALID_HANDLE_VALUE) WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return 1;
}

}  // namespace

bool RunExportCommand(int& exitCode) {
  const std::vector<std::string> args = Arguments();
  if (!IsExportCommand(args)) return false;
  TExportRequest request;
  std::string error, csv;
  if (!ParseExportArgs(args, request, error)) return exitCode = Fail(error), true;
  TSystemClock clock;
  const auto store = OpenUsageDatabase(TSqliteUsageStore::TMode::ReadOnly, clock.Today());
  if (!store) return exitCode = Fail("cannot find the user's local application data"), true;
  if (!store->Usable()) return exitCode = Fail(store->Problem()), true;
  if (!ExportUsageCsv(*store, request.By, csv, error)) return exitCode = Fail(error), true;
  // the name as typed, in the wide API's letters
  if (!WriteFileReplacing(request.File, csv, error)) return exitCode = Fail(error), true;
  exitCode = 0;
  return true;
}
