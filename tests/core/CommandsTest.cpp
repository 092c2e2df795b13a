#include "app/Commands.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/Maker.h"
#include "support/FakeTick.h"
#include "toolkit/MenuTemplate.h"

namespace {

using Names = std::vector<std::string>;

// Writes into the log every dialog it shows, with DialogOpen at that moment.
class TFakeHost : public TCommandHost {
public:
  TFakeHost(TStatsForm& form, TEventLog& log) : form_(form), log_(log) {}
  bool Exists = false, Checked = false, DialogUp = false;

  void ShowOptionsDialog(const std::string& title) override { Dialog("options '" + title + "'"); }
  void ShowCountersDialog(const std::function<void()>& resetInMemory) override {
    resetInMemory();  // the user presses Reset
    Dialog("counters totals=" + std::to_string(form_.UploadCounter + form_.DownloadCounter + form_.ElapsedCounter));
  }
  void ShowAboutDialog(const std::string& title) override { Dialog("about '" + title + "'"); }
  bool FrontOpenDialog() override { return DialogUp && (log_.push_back("front"), true); }
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
  // given: the log file exists, the system refuses the topmost band, the graph is hidden,
  // or a dialog is already open
  const struct { const char* what; int index; bool given, checked; Names log;
                 const char* logFile = "transfer_log.txt"; } cases[] = {
      {"Counters", 3, false, false, Join({Save, {"counters totals=0"}, Load})},
      {"Transfer Log", 4, true, false, {"exists? transfer_log.txt", "open transfer_log.txt"}},
      {"Transfer Log missing", 4, false, false, {"exists? transfer_log.txt"}},
      {"Transfer Log to a device", 4, true, false, {}, "NUL"},
      {"Options", 6, false, false, Join({Save, {"options 'Tarvelo  - options' open"}, Load})},
      {"Options with a dialog open", 6, true, false, {"front"}},
      {"ShowGraph", 7, false, false, {"visible?", "hide"}},
      {"ShowGraph on a hidden graph", 7, true, false, {"visible?", "show"}},
      {"Stay On Top", 8, false, true, {"ontop", "check", "store StayOnTop=1"}},
      {"Stay On Top off", 8, false, false, {"ontop", "check", "store StayOnTop=0"}},
      {"Stay On Top refused", 8, true, true, {"ontop", "check", "store StayOnTop=1"}},
      {"About", 10, false, false, {"about 'Tarvelo ' open"}},
      {"HomePage", 11, false, false, {std::string("open ") + MakerHomePage}},
      {"Bugtracker", 13, false, false, {std::string("open ") + MakerBugTracker}},
      {"Usage...", 17, false, false, {"usage open"}},
      {"Usage... with a dialog open", 17, true, false, {"front"}},
      {"Quit", 19, false, false, Join({Save, {"quit"}})},
      {"WebServer Monitoring", 0, false, false, {}},
      {"past the end", 20, false, false, {}},
      {"negative", -1, false, false, {}},
  };
  for (const auto& c : cases) {
    TEventLog log;
    TStatsForm form;
    TLoggingStore store(log);
    TFakeGraphWindow window(log);
    TFakeHost host(form, log);
    form.UploadCounter = 7, form.DownloadCounter = 8, form.ElapsedCounter = 9;
    form.LogFilePath = c.logFile, form.IdleTicks = 40;
    host.Exists = host.DialogUp = window.TopmostRefused = c.given, window.Visible = !c.given;
    host.Checked = c.checked, window.OnTopChecked = false;
    TCommandContext ctx{form, store, window, host};
    RunCommand(ctx, c.index);
    // the check mark shows the window's state, not the wish; a show asked for starts the idle count afresh
    const bool shown = c.index == 7 && c.given;
    EXPECT_EQ(std::tuple(log, form.DialogOpen, form.UserHidden, window.OnTopChecked, form.IdleTicks),
              std::tuple(c.log, false, c.index == 7 && !shown, c.checked && !c.given, shown ? 0 : 40)) << c.what;
  }
}

TEST(MenuTemplate, MarkersCaptionsAndTheEnd) {
  const struct { const char* text; bool separator, checkable, checked; const char *caption, *shortcut; } cases[] = {
      {"-", true, false, false, "", ""},          {"-Plain", false, true, false, "Plain", ""},
      {"+On", false, true, true, "On", ""},       {"+", false, true, true, "", ""},
      {"Text", false, false, false, "Text", ""}, {"About\tF1", false, false, false, "About", "F1"},
  };
  Names texts;
  for (const auto& c : cases) texts.push_back(c.text);
  texts.insert(texts.end(), {"", "after the end"});
  const auto items = tk::ParseMenuTemplate(texts);
  ASSERT_EQ(items.size(), std::size(cases)) << "read up to the first empty text";
  for (size_t i = 0; i < items.size(); ++i)
    EXPECT_EQ(std::tuple(items[i].Separator, items[i].Checkable, items[i].Checked, items[i].Caption, items[i].Shortcut),
              std::tuple(cases[i].separator, cases[i].checkable, cases[i].checked, cases[i].caption, cases[i].shortcut))
        << cases[i].text;
  EXPECT_TRUE(tk::ParseMenuTemplate({}).empty() && tk::ParseMenuTemplate({""}).empty());
}

}  // namespace
