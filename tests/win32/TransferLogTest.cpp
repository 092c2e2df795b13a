// The Transfer Log command opens the log only when it is a file, under Wine's file system.
#include "toolkit/WinApi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/Commands.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"
#include "toolkit/Platform.h"

namespace {

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

TEST(TransferLog, TheCommandOpensOnlyAFileThatIsThere) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "tarvelo_transfer_log";
  fs::remove_all(dir);
  fs::create_directories(dir / "a_directory");
  std::ofstream(dir / "good.txt") << "";
  for (const std::string name : {"a_directory", "missing\\day.txt", "good.txt"}) {
    TMemorySettings store;
    TStatsForm form;
    form.LogFilePath = (dir / name).string();
    TFakeGraphWindow window;
    TShellHost host;
    TCommandContext ctx{form, store, window, host};
    RunCommand(ctx, static_cast<int>(TMenuCommand::TransferLog));
    EXPECT_EQ(host.Opened, name == "good.txt" ? std::vector{form.LogFilePath} : std::vector<std::string>{}) << name;
  }
  fs::remove_all(dir);
}

}  // namespace
