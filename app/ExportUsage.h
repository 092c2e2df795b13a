// tarvelo.exe /export-usage FILE [/by hour|day|month]: the usage history as CSV, written
// without a window and without handing over to a running Tarvelo.
#pragma once
#include <string>
#include <vector>

#include "usage/UsageCsv.h"
#include "usage/UsageStore.h"

struct TExportRequest {
  std::string File;
  TUsageUnit By = TUsageUnit::Day;
};

// Whether the arguments (the program's name left out) ask for an export at all.
bool IsExportCommand(const std::vector<std::string>& args);
// Reads "/export-usage FILE [/by UNIT]" (switches also with "-", in any case); false
// with the reason when they are not that.
bool ParseExportArgs(const std::vector<std::string>& args, TExportRequest& request, std::string& error);
// The whole history as CSV by the unit; false with the reason when it cannot be read.
bool ExportUsageCsv(TUsageStore& store, TUsageUnit by, std::string& csv, std::string& error);
