// Log names that are no plain file, under Wine where device names and drives mean something.
#include "toolkit/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "app/Commands.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"
#include "toolkit/Platform.h"
#include "traffic/TransferTotals.h"

namespace {

namespace fs = std::filesystem;

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
  char drive[] = "?:\\day.txt";  // a drive letter nothing is mapped to
  for (char d = 'Z'; d >= 'D' && drive[0] == '?'; --d)
    if (!(GetLogicalDrives() & (1u << (d - 'A')))) drive[0] = d;
  ASSERT_NE(drive[0], '?') << "every drive letter is taken";

  const fs::path dir = fs::temp_directory_path() / "tarvelo_badlog", cwd = fs::current_path();
  fs::remove_all(dir);
  fs::create_directories(dir / "a_directory");
  fs::current_path(dir);
  std::ofstream(dir / "good.txt") << "";
  const std::string names[] = {"", "a_directory", "NUL", "CONOUT$", "\\\\.\\NUL", drive, "missing\\day.txt", "good.txt"};
  for (const std::string& name : names) {
    TMemorySettings store;
    TFixedClock clock;
    TStatsForm form;
    form.LogFilePath = name, form.LoggingEnabled = true;
    form.UploadCounter = 5000, form.DownloadCounter = 7000, form.ElapsedCounter = 42;
    CloseDay(form, store, clock);
    EXPECT_EQ(std::tuple(form.UploadCounter, form.DownloadCounter, form.ElapsedCounter, form.LastDate),
              std::tuple(0, 0, 0u, 739000u)) << name;

    TFakeGraphWindow window;
    TShellHost host;
    TCommandContext ctx{form, store, window, host};
    RunCommand(ctx, static_cast<int>(TMenuCommand::TransferLog));
    EXPECT_EQ(host.Opened, name == "good.txt" ? std::vector{name} : std::vector<std::string>{}) << name;
  }
  std::vector<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir)) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a_directory", "good.txt"}));
  std::ifstream good(dir / "good.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(good), {}), "06.12.2026    UpLoad:     4.8KB   DownLoad:     6.8KB\r\n");
  good.close();
  fs::current_path(cwd);
  fs::remove_all(dir);
}

}  // namespace
