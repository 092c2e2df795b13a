// Input the program cannot use, under Wine where device names and drives mean something:
// log names that are no plain file, adapter descriptions of every length.
#include "toolkit/WinApi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "app/Commands.h"
#include "resources/resource.h"
#include "settings/ColourPicker.h"
#include "settings/OptionsSheet.h"
#include "support/FakeGraphWindow.h"
#include "support/MemorySettings.h"
#include "toolkit/Platform.h"
#include "traffic/Clock.h"
#include "traffic/IfTableReader.h"
#include "traffic/TransferTotals.h"

namespace {

namespace fs = std::filesystem;

class TDayClock : public TClock {
public:
  uint32_t Today() override { return 739956; }
  std::string FormatShortDate(uint32_t) override { return "12/6/2026"; }
};

// Notes what the shell would be asked to open.
struct TShellHost : TCommandHost {
  std::vector<std::string> Opened;
  void ShowOptionsDialog(const std::string&) override {}
  void ShowCountersDialog(const std::function<void()>&) override {}
  void ShowAboutDialog(const std::string&) override {}
  bool FileExists(const std::string& path) override { return tk::FileExists(path); }
  void ShellOpen(const std::string& target) override { Opened.push_back(target); }
  bool StayOnTopChecked() override { return false; }
  void Quit() override {}
};

// The day's close returns with the totals started again, and neither it nor the Transfer
// Log command touches anything but a plain file.
TEST(BadInput, LogNamesThatAreNoPlainFileGetNoLineAndNoShell) {
  char drive[] = "?:\\day.txt";
  const DWORD drives = GetLogicalDrives();
  for (char d = 'Z'; d >= 'D' && drive[0] == '?'; --d)
    if (!(drives & (1u << (d - 'A')))) drive[0] = d;
  ASSERT_NE(drive[0], '?') << "every drive letter is taken";

  const fs::path dir = fs::temp_directory_path() / "tarvelo_badlog";
  fs::remove_all(dir);
  fs::create_directories(dir / "a_directory");
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);
  std::ofstream(dir / "good.txt") << "";
  const std::string names[] = {"", "a_directory", "a_directory\\", "NUL", "CON", "nul.txt", "CONOUT$", "COM1",
                               "LPT1.log", "\\\\.\\NUL", std::string(10000, 'x'), drive, "missing\\day.txt",
                               "day.txt:stream", "good.txt"};
  for (const std::string& name : names) {
    const std::string shown = "\"" + name.substr(0, 40) + "\"";
    TMemorySettings store;
    TDayClock clock;
    TStatsForm form;
    form.LogFilePath = name, form.LoggingEnabled = true;
    form.UploadCounter = 5000, form.DownloadCounter = 7000, form.ElapsedCounter = 42;
    CloseDay(form, store, clock);
    EXPECT_EQ(std::tuple(form.UploadCounter, form.DownloadCounter, form.ElapsedCounter, form.LastDate),
              std::tuple(0, 0, 0u, 739956u)) << shown;

    TFakeGraphWindow window;
    TShellHost host;
    TCommandContext ctx{form, store, window, host};
    RunCommand(ctx, static_cast<int>(TMenuCommand::TransferLog));
    EXPECT_EQ(host.Opened, name == "good.txt" ? std::vector<std::string>{"good.txt"} : std::vector<std::string>{})
        << shown;
  }
  std::vector<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir)) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a_directory", "good.txt"}));
  std::ifstream good(dir / "good.txt", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(good), {}};
  good.close();
  EXPECT_EQ(text, "12/6/2026    UpLoad:     4.8KB   DownLoad:     6.8KB\r\n");
  fs::current_path(cwd);
  fs::remove_all(dir);
}

// ---- adapter descriptions of every length the table's field holds, and past it ----

// Each description is the one before it and one more character; the last fills the
// field without a NUL.
std::string Description(size_t length) {
  std::string d;
  for (size_t i = 0; i < length; ++i) d += "Adapter 0123456789 abc-XYZ "[i % 27];
  return d;
}
constexpr size_t Field = sizeof(MIB_IFROW::bDescr);
std::vector<MIB_IFROW> Rows;

DWORD WINAPI EveryLength(PMIB_IFTABLE table, PULONG size, BOOL) {
  const ULONG need = static_cast<ULONG>(offsetof(MIB_IFTABLE, table) + Rows.size() * sizeof(MIB_IFROW));
  if (!table || *size < need) return *size = need, ERROR_INSUFFICIENT_BUFFER;
  table->dwNumEntries = static_cast<DWORD>(Rows.size());
  std::memcpy(table->table, Rows.data(), Rows.size() * sizeof(MIB_IFROW));
  return NO_ERROR;
}

TEST(BadInput, AdapterDescriptionsOfEveryLengthAreOfferedAndFoundWhole) {
  // row n: a description of n characters, n x 1000 octets in and n out; a name right after
  Rows.assign(Field, MIB_IFROW{});
  for (size_t n = 1; n <= Field; ++n) {
    MIB_IFROW& r = Rows[n - 1];
    r.dwType = IF_TYPE_ETHERNET_CSMACD, r.dwInOctets = DWORD(n * 1000), r.dwOutOctets = DWORD(n), r.wszName[0] = L'N';
    std::memcpy(r.bDescr, Description(n).data(), n);
  }
  TIfTableReader reader(EveryLength);
  std::vector<std::string> offered, want;
  ListAdapters(reader, [&](const std::string& d) { offered.push_back(d); });
  for (size_t n = 1; n <= Field; ++n) want.push_back(Description(n));
  EXPECT_EQ(offered, want);

  for (size_t n = 1; n <= Field + 44; ++n) {
    TSamplerState s;
    s.AdapterName = Description(n);
    const bool found = SampleAdapter(s, reader) != TReading::None;
    EXPECT_EQ(std::tuple(found, s.RecvOctets, s.SentOctets),
              n <= Field ? std::tuple(true, uint64_t(n * 1000), uint64_t(n)) : std::tuple(false, uint64_t{0}, uint64_t{0}))
        << "a name of " << n << " characters";
  }
}

// The options sheet's adapter list on the same descriptions: a stored one of any length
// is selected whole and written back unchanged; one past the field selects nothing.
TEST(BadInput, TheOptionsListSelectsAStoredDescriptionOfAnyLengthWhole) {
  RegisterColourPicker(GetModuleHandleA(nullptr));
  std::vector<std::string> adapters;
  for (size_t n = 1; n <= Field; ++n) adapters.push_back(Description(n));
  for (const size_t n : {size_t{1}, size_t{200}, Field, Field + 1}) {
    constexpr const char* Key = "Software\\Quillmoor\\Tarvelo";
    RegDeleteKeyA(HKEY_CURRENT_USER, Key);
    const std::string stored = Description(n);
    RegSetKeyValueA(HKEY_CURRENT_USER, Key, "Adapter", REG_SZ, stored.c_str(), DWORD(stored.size() + 1));
    static int selected, count;
    selected = count = -2;
    // presses OK once the sheet is up; the sheet's modal loop runs the timer
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
      const HWND sheet = FindWindowA("#32770", "Tarvelo  - options");
      if (!sheet || selected != -2) return;
      const HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
      selected = int(SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0));
      count = int(SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0));
      PostMessageA(sheet, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    ShowOptionsDialog(nullptr, "Tarvelo  - options", adapters);
    KillTimer(nullptr, timer);
    char back[1200] = {};
    DWORD size = sizeof back;
    RegGetValueA(HKEY_CURRENT_USER, Key, "Adapter", RRF_RT_REG_SZ, nullptr, back, &size);
    EXPECT_EQ(count, int(Field)) << n;
    // sorted, so each description sits at its own length's place
    EXPECT_EQ(selected, n <= Field ? int(n) - 1 : -1) << n;
    EXPECT_EQ(std::string(back), n <= Field ? stored : "") << n;
    RegDeleteKeyA(HKEY_CURRENT_USER, Key);
  }
}

}  // namespace
