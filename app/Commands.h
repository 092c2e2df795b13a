// The popup menu's template and commands. The commands are portable: what they need
// from outside (dialogs, the shell, ending the process) comes through TCommandHost.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/GraphWindow.h"
#include "app/StatsForm.h"

class TSettings;

// Item indices of the popup menu, in template order.
enum class TMenuCommand : int {
  WebServer = 0,
  Counters = 3,
  TransferLog = 4,
  Options = 6,
  ShowGraph = 7,
  StayOnTop = 8,
  About = 10,
  HomePage = 11,
  Bugtracker = 13,
  NetworkConnections = 15,
  NetworkSeparator = 16,
  Usage = 17,
  Quit = 19,
};

// The popup menu's template, ending with the empty text.
const std::vector<std::string>& StatsMenuTemplate();

class TCommandHost {
public:
  virtual ~TCommandHost() = default;
  // The dialogs, modal, owned by the main window.
  virtual void ShowOptionsDialog(const std::string& title) = 0;
  // resetInMemory zeroes the running totals the moment the user resets the stored ones.
  virtual void ShowCountersDialog(const std::function<void()>& resetInMemory) = 0;
  virtual void ShowAboutDialog(const std::string& title) = 0;
  // Brings the program's open dialog to the front; false when none is open.
  virtual bool FrontOpenDialog() { return false; }
  // The usage history and the data plan.
  virtual void ShowUsageWindow() {}
  virtual bool FileExists(const std::string& path) = 0;
  // Opens a file or an address with the shell; failures are ignored.
  virtual void ShellOpen(const std::string& target) = 0;
  // The check mark of "+Stay On Top", already toggled by the menu.
  virtual bool StayOnTopChecked() = 0;
  // Takes the tray icon away and ends the process at once.
  virtual void Quit() = 0;
};

struct TCommandContext {
  TStatsForm& Form;
  TSettings& Store;
  TGraphWindow& Window;
  TCommandHost& Host;
};

// Runs the command of the chosen item (the About item also for F1); other indices
// do nothing. While a dialog is open, one that would open another fronts it instead.
void RunCommand(TCommandContext& ctx, int index);

// The Options command: the window state saved before the sheet, every setting
// re-read after it, the window's flat look held off while it is open.
void RunOptionsCommand(TCommandContext& ctx);
