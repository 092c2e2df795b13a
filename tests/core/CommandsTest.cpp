#include "app/Commands.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/Maker.h"
#include "support/FakeTick.h"

namespace {

using Names = std::vector<std::string>;

// Writes into the log every dialog it shows, with DialogOpen at that moment.
class TFakeHost : public TCommandHost {
public:
  TFakeHost(TStatsForm& form, TEventLog& log) : form_(form), log_(log) {}
  bool Exists = false, Checked = false;

  void ShowOptionsDialog(const std::string& title) override { Dialog("options '" + title + "'"); }
  void ShowCountersDialog(const std::function<void()>& resetInMemory) override {
    resetInMemory();  // the user presses Reset
    Dialog("counters totals=" + std::to_string(form_.UploadCounter + form_.DownloadCounter + form_.ElapsedCounter));
  }
  void ShowAboutDialog(const std::string& title) override { Dialog("about '" + title + "'"); }
  void ShowUsageWindow() override { Dialog("usage"); }
  bool FileExists(const std::string& path) override { return log_.push_back("exists? " + path), Exists; }
  void ShellOpen(const std::string& target) override { log_.push_back("open " + target); }
  bool StayOnTopChecked() override { return Checked; }
  void Quit() override { log_.push_back("quit"); }

private:
  void Dialog(const std::string& what) { log_.push_back(what + (form_.DialogOpen ? " open" : "")); }
  TStatsForm& form_;
  TEventLog& log_;
};

const Names Save = {"store LeftPos", "store TopPos", "store Width", "store Height", "store StayOnTop=1",
                    "store UserHide=0"};
const Names Load = {"move", "resize", "shadow", "opacity", "ontop", "check"};

Names Join(std::initializer_list<Names> parts) {
  Names all;
  for (const Names& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(Commands, EachItemRunsItsCommand) {
  // exists: the log file exists, or the system refuses the topmost band
  const struct { const char* what; int index; bool exists, checked; Names log; } cases[] = {
      {"Counters", 3, false, false, Join({{"counters totals=0"}, Load})},
      {"Transfer Log", 4, true, false, {"exists? transfer_log.txt", "open transfer_log.txt"}},
      {"Transfer Log missing", 4, false, false, {"exists? transfer_log.txt"}},
      {"Options", 6, false, false, Join({Save, {"options 'Tarvelo  - options' open"}, Load})},
      {"ShowGraph", 7, false, false, {"visible?", "hide"}},
      {"Stay On Top", 8, false, true, {"ontop", "check", "store StayOnTop=1"}},
      {"Stay On Top off", 8, false, false, {"ontop", "check", "store StayOnTop=0"}},
      {"Stay On Top refused", 8, true, true, {"ontop", "check", "store StayOnTop=1"}},
      {"About", 10, false, false, {"about 'Tarvelo ' open"}},
      {"HomePage", 11, false, false, {std::string("open ") + MakerHomePage}},
      {"Bugtracker", 13, false, false, {std::string("open ") + MakerBugTracker}},
      {"Usage...", 17, false, false, {"usage open"}}, {"Quit", 19, false, false, Join({Save, {"quit"}})},
      {"WebServer Monitoring", 0, false, false, {}}, {"past the end", 20, false, false, {}}, {"negative", -1, false, false, {}},
  };
  for (const auto& c : cases) {
    TEventLog log;
    TStatsForm form;
    TLoggingStore store(log);
    TFakeGraphWindow window(log);
    TFakeHost host(form, log);
    form.UploadCounter = 7, form.DownloadCounter = 8, form.ElapsedCounter = 9;
    host.Exists = c.exists, host.Checked = c.checked, window.TopmostRefused = c.exists, window.OnTopChecked = false;
    TCommandContext ctx{form, store, window, host};
    RunCommand(ctx, c.index);
    // the check mark shows the window's state, not the wish
    EXPECT_EQ(std::tuple(log, form.DialogOpen, form.UserHidden, window.OnTopChecked),
              std::tuple(c.log, false, c.index == 7, c.checked && !c.exists)) << c.what;
  }
}

}  // namespace
