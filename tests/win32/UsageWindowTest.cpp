// The usage history in the real program: its database under the user's local application
// data, the usage window opened from the menu showing what the store holds, and the
// export from the command line.
#include "app/MainForm.h"

#include <commctrl.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "resources/resource.h"
#include "support/WineTest.h"
#include "base/DayNumber.h"
#include "usage/UsageFiles.h"

namespace {

constexpr uint64_t Planted = 1234567890;

std::wstring DatabaseFile() {
  wchar_t base[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, base);
  return std::wstring(base) + L"\\Quillmoor\\Tarvelo\\usage.db";
}

std::string Cell(HWND list, int row, int column) {
  char text[128] = {};
  LVITEMA item{};
  item.iSubItem = column, item.pszText = text, item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

struct TSeen {
  int step = 0, waits = 0;
  bool created = false;
  std::string yesterday, plan, title, nextTitle;
} g_seen;

HWND Form() { return FindWindowA("obj_Form", "StatsForm"); }

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
  HWND usage = FindDialog("Tarvelo usage");
  switch (g_seen.step++) {
    case 0: {  // the first tick writes: the file is there; another program's rows join it
      g_seen.created = GetFileAttributesW(DatabaseFile().c_str()) != INVALID_FILE_ATTRIBUTES;
      if (!g_seen.created && ++g_seen.waits < 10) return void(g_seen.step = 0);
      const auto store = OpenUsageDatabase(TSqliteUsageStore::TMode::ReadWrite, 0);
      const uint32_t today = TSystemClock().LocalHour().Day;
      store->Add("Planted NIC", {today - 1, 20}, Planted, 1000);
      store->Flush();
      PostMessageA(Form(), WM_COMMAND, MAKEWPARAM(4096 + 17, 0), 0);  // "Usage...", the 18th item
      break;
    }
    case 1:  // inside the window's own loop, once it is there
      if (!usage) return void(g_seen.step = 1);
      g_seen.yesterday = Cell(GetDlgItem(usage, IDC_USAGE_SUMMARY), 1, 2);
      g_seen.plan = Text(usage, IDC_USAGE_PLAN);
      g_seen.title = Text(usage, IDC_USAGE_TITLE);
      SendMessageA(usage, WM_COMMAND, MAKEWPARAM(IDC_USAGE_NEXT, BN_CLICKED), 0);
      g_seen.nextTitle = Text(usage, IDC_USAGE_TITLE);
      PostMessageA(usage, WM_COMMAND, IDCANCEL, 0);
      break;
    default:
      if (usage) return;
      PostMessageA(FindWindowA("obj_App", "Tarvelo"), WM_CLOSE, 0, 0);
      break;
  }
}

TEST(Usage, DatabaseUnderLocalAppDataAndTheWindowFromTheMenu) {
  DeleteFileW(DatabaseFile().c_str());
  StoreValues({{"Adapter", "lo"}, {"PlanLimitGB", "3"}});
  const UINT_PTR timer = SetTimer(nullptr, 0, 1500, &Step);
  TMainForm program;
  EXPECT_EQ(program.Run(), 0);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(g_seen.created) << "no database under the local application data";
  EXPECT_EQ(g_seen.yesterday, "1.23 GB") << "yesterday's download in the summary";
  EXPECT_NE(g_seen.plan.find(" of 3 GB"), std::string::npos) << g_seen.plan;
  EXPECT_NE(g_seen.title, g_seen.nextTitle) << "Next shows the next month";
  EXPECT_GT(StoredDword("UsageWidth"), 0) << "the window's place is kept";
}

// tarvelo.exe with arguments; its exit code and what it said on the standard error.
std::pair<int64_t, std::string> RunTarvelo(const std::string& args) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &sa, 0);
  const tk::unique_handle r(read), w(write);  // the child inherits only the writing end
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string cmd = "\"" + std::string(self, strrchr(self, '\\') + 1) + "tarvelo.exe\" " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si, si.dwFlags = STARTF_USESTDHANDLES, si.hStdError = write;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return {-2, ""};
  const tk::unique_handle process(pi.hProcess), thread(pi.hThread);
  DWORD code = 0;
  const bool ended = WaitForSingleObject(process.get(), 20000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.get(), &code);
  char text[512] = {};
  DWORD n = 0;
  if (PeekNamedPipe(read, nullptr, 0, nullptr, &n, nullptr) && n) ReadFile(read, text, sizeof text - 1, &n, nullptr);
  return {ended ? int64_t{code} : -1, text};
}

TEST(Usage, ExportFromTheCommandLine) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string file = std::string(temp) + "tarvelo usage.csv";
  DeleteFileA(file.c_str());
  const auto store = OpenUsageDatabase(TSqliteUsageStore::TMode::ReadWrite, 0);
  store->Add("a, \"quoted\" NIC", {DayNumber(2026, 11, 30), 7}, 5, 6);
  ASSERT_TRUE(store->Flush());
  const std::pair<int64_t, std::string> written(0, "");
  EXPECT_EQ(RunTarvelo("/export-usage \"" + file + "\" /by month"), written);
  std::stringstream csv;  // the row quoted, the header before it
  csv << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_NE(csv.str().find("\r\n2026-11,\"a, \"\"quoted\"\" NIC\",5,6\r\n"), std::string::npos) << csv.str();

  const char* usage = "tarvelo: usage: tarvelo.exe /export-usage FILE [/by hour|day|month]\r\n";
  const struct { const char* args; const char* said; } failures[] = {
      {"/export-usage", usage}, {"/export-usage x.csv /by week", usage},
      {"/export-usage Z:\\no\\such\\folder\\x.csv", "tarvelo: cannot write Z:\\no\\such\\folder\\x.csv: "}};
  for (const auto& f : failures) {
    const auto [code, said] = RunTarvelo(f.args);
    EXPECT_EQ(std::pair(code, said.substr(0, std::string(f.said).size())), std::pair(int64_t{1}, std::string(f.said)))
        << f.args;
  }
  DeleteFileA(file.c_str());
}

}  // namespace
