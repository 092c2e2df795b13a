#include "settings/SettingsCatalogue.h"

namespace {

using K = TSettingKind;
using F = TDefaultFrom;

constexpr TSettingDef Catalogue[] = {
    {"LeftPos", K::Integer, 0, nullptr, F::WindowLeft},
    {"TopPos", K::Integer, 0, nullptr, F::WindowTop},
    {"Width", K::Integer, 0, nullptr, F::WindowWidth},
    {"Height", K::Integer, 0, nullptr, F::WindowHeight},
    {"Shadow", K::Bool, 1, nullptr, F::Constant},
    {"BGColor", K::Integer, SysColorWindow, nullptr, F::SystemColour},
    {"FlatBorderColor", K::Integer, SysColorWindowFrame, nullptr, F::SystemColour},
    {"GridColor", K::Integer, 0xEFEFEF, nullptr, F::Constant},
    {"GridColor2", K::Integer, 0xEFEFEF, nullptr, F::Constant},
    {"UpColor", K::Integer, 0x30FFFF, nullptr, F::Constant},
    {"DnColor", K::Integer, 0x1515FF, nullptr, F::Constant},
    {"ShowGrid", K::Bool, 1, nullptr, F::Constant},
    {"GridMode", K::Integer, 2, nullptr, F::Constant},
    {"AutoScale", K::Bool, 1, nullptr, F::Constant},
    {"TrayAutoScale", K::Bool, 1, nullptr, F::Constant},
    {"ScaleBallance", K::Integer, 50, nullptr, F::Constant},
    {"TrayScaleBallance", K::Integer, 50, nullptr, F::Constant},
    {"TrayMode", K::Integer, 1, nullptr, F::Constant},
    {"TrayUpColor", K::Integer, 0x30FFFF, nullptr, F::Constant},
    {"TrayDnColor", K::Integer, 0x1515FF, nullptr, F::Constant},
    {"TrayFrameColor", K::Integer, SysColorWindowFrame, nullptr, F::SystemColour},
    {"EnableLogging", K::Bool, 0, nullptr, F::Constant},
    {"ScaleMax", K::Integer, 32768, nullptr, F::Constant},
    {"TrayScaleMax", K::Integer, 32768, nullptr, F::Constant},
    {"UseTransparency", K::Bool, 0, nullptr, F::Constant},
    {"AlphaValue", K::Integer, 255, nullptr, F::Constant},
    {"MouseClickThru", K::Bool, 0, nullptr, F::Constant},
    {"AutoHide", K::Bool, 0, nullptr, F::Constant},
    {"GoFlat", K::Bool, 1, nullptr, F::Constant},
    {"StayOnTop", K::Bool, 0, nullptr, F::Constant},
    {"UserHide", K::Bool, 0, nullptr, F::Constant},
    {"Adapter", K::Text, 0, "", F::Constant},
    {"AdapterAuto", K::Bool, 0, nullptr, F::Constant},
    {"upload_h", K::Integer, 0, nullptr, F::Constant},
    {"upload_l", K::Integer, 0, nullptr, F::Constant},
    {"download_h", K::Integer, 0, nullptr, F::Constant},
    {"download_l", K::Integer, 0, nullptr, F::Constant},
    {"counter_elapsed", K::Integer, 0, nullptr, F::Constant},
    {"lastdate", K::Integer, 0, nullptr, F::Constant},
    {"LogFile", K::Text, 0, "transfer_log.txt", F::Constant},
    {"AutoRunAway", K::Bool, 0, nullptr, F::Constant},
    // the usage history's: the data plan, its balloons and the usage window's place
    {"PlanLimitGB", K::Integer, 0, nullptr, F::Constant},
    {"PlanDownloadOnly", K::Bool, 0, nullptr, F::Constant},
    {"PlanStartDay", K::Integer, 1, nullptr, F::Constant},
    {"PlanAlertPercent", K::Integer, 80, nullptr, F::Constant},
    {"PlanAlertShown", K::Integer, 0, nullptr, F::Constant},
    {"PlanLimitShown", K::Integer, 0, nullptr, F::Constant},
    {"UsageLeft", K::Integer, 0, nullptr, F::Constant},
    {"UsageTop", K::Integer, 0, nullptr, F::Constant},
    {"UsageWidth", K::Integer, 0, nullptr, F::Constant},
    {"UsageHeight", K::Integer, 0, nullptr, F::Constant},
};

}  // namespace

std::span<const TSettingDef> SettingsCatalogue() { return Catalogue; }

const TSettingDef* FindSetting(const std::string& name) {
  for (const TSettingDef& d : Catalogue)
    if (name == d.Name) return &d;
  return nullptr;
}

