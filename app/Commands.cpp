#include "app/Commands.h"

#include "app/LoadSettings.h"
#include "app/WindowBehaviours.h"
#include "base/Maker.h"
#include "settings/Settings.h"
#include "traffic/LogPath.h"

const std::vector<std::string>& StatsMenuTemplate() {
  static const std::vector<std::string> texts = {
      "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-",
      "Options", "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-",
      "Bugtracker", ")", "-", "Network Connections", "-", "Usage...", "-", "Quit", ""};
  return texts;
}

void RunOptionsCommand(TCommandContext& ctx) {
  ctx.Form.DialogOpen = true;
  SaveWindowState(ctx.Form, ctx.Store, ctx.Window);
  ctx.Host.ShowOptionsDialog("Tarvelo  - options");
  LoadSettings(ctx.Form, ctx.Store, ctx.Window);
  ctx.Form.DialogOpen = false;
}

namespace {

// The counters the dialog's Reset zeroes in the store, zeroed here at the same moment:
// a tick while the dialog is up, or right after it, then writes zeros, not the old totals.
void ResetTotals(TStatsForm& form) {
  form.UploadCounter = 0;
  form.DownloadCounter = 0;
  form.ElapsedCounter = 0;
}

bool OpensDialog(TMenuCommand command) {
  return command == TMenuCommand::Counters || command == TMenuCommand::Options || command == TMenuCommand::About ||
         command == TMenuCommand::Usage;
}

}  // namespace

void RunCommand(TCommandContext& ctx, int index) {
  const auto command = static_cast<TMenuCommand>(index);
  // The tray's menu works while a dialog is up; a second sheet inside the first would
  // have its values overwritten by the outer one's OK.
  if (OpensDialog(command) && ctx.Host.FrontOpenDialog()) return;
  switch (command) {
    case TMenuCommand::Counters: {
      // Saved first, as for Options: the load after the dialog would bring back a
      // stored "UserHide" older than the tray's last click.
      SaveWindowState(ctx.Form, ctx.Store, ctx.Window);
      TStatsForm& form = ctx.Form;
      ctx.Host.ShowCountersDialog([&form] { ResetTotals(form); });
      LoadSettings(ctx.Form, ctx.Store, ctx.Window);
      break;
    }
    case TMenuCommand::Options:
      RunOptionsCommand(ctx);
      break;
    case TMenuCommand::About:
      ctx.Form.DialogOpen = true;
      ctx.Host.ShowAboutDialog("Tarvelo ");
      ctx.Form.DialogOpen = false;
      break;
    case TMenuCommand::Usage:
      ctx.Form.DialogOpen = true;
      ctx.Host.ShowUsageWindow();
      ctx.Form.DialogOpen = false;
      break;
    case TMenuCommand::TransferLog:
      // The system answers for a device name as for a file; the shell gets plain files only.
      if (UsableLogPath(ctx.Form.LogFilePath) && ctx.Host.FileExists(ctx.Form.LogFilePath))
        ctx.Host.ShellOpen(ctx.Form.LogFilePath);
      break;
    case TMenuCommand::ShowGraph:
      ToggleGraph(ctx.Form, ctx.Window);
      break;
    case TMenuCommand::StayOnTop: {
      const bool checked = ctx.Host.StayOnTopChecked();
      ctx.Window.SetStayOnTop(checked);
      ctx.Window.SetStayOnTopChecked(ctx.Window.StayOnTop());
      ctx.Store.WriteBool("StayOnTop", checked);
      break;
    }
    case TMenuCommand::HomePage:
      ctx.Host.ShellOpen(MakerHomePage);
      break;
    case TMenuCommand::Bugtracker:
      ctx.Host.ShellOpen(MakerBugTracker);
      break;
    case TMenuCommand::Quit:
      SaveWindowState(ctx.Form, ctx.Store, ctx.Window);
      ctx.Host.Quit();
      break;
    default:
      break;
  }
}
