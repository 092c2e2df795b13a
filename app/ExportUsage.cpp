#include "app/ExportUsage.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSwitch(const std::string& arg, const char* name) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return false;
  std::string lower = arg.substr(1);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower == name;
}

constexpr const char* Usage = "usage: tarvelo.exe /export-usage FILE [/by hour|day|month]";

}  // namespace

bool IsExportCommand(const std::vector<std::string>& args) {
  return !args.empty() && IsSwitch(args[0], "export-usage");
}

bool ParseExportArgs(const std::vector<std::string>& args, TExportRequest& request, std::string& error) {
  request = {};
  if (!IsExportCommand(args) || args.size() < 2 || args[1].empty()) return error = Usage, false;
  request.File = args[1];
  if (args.size() == 2) return true;
  std::string unit = args.size() == 4 && IsSwitch(args[2], "by") ? args[3] : "";
  std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ParseUsageUnit(unit, request.By)) return true;
  error = Usage;
  return false;
}

bool ExportUsageCsv(TUsageStore& store, TUsageUnit by, std::string& csv, std::string& error) {
  std::vector<TUsageRow> rows;
  if (!store.ReadAll(rows)) return error = "cannot read the usage history", false;
  csv = UsageCsv(rows, by);
  return true;
}
