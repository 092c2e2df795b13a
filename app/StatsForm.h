// The main form's state record: the one place the program keeps its state.
// Portable: the Win32 main form (uStats) holds one and hands it to the tick,
// the renderers and the settings loader.
#pragma once
#include <cstdint>
#include <string>

using TColor = uint32_t;  // COLORREF 0x00BBGGRR; above 0xFFFFFF a system colour

struct TPoint32 {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const TPoint32&) const = default;
};

struct TStatsForm {
  // window behaviours
  bool IsActive = false;
  TPoint32 MouseMarker;  // (0,0) = no marker
  bool UserHidden = false;
  int32_t HomeLeft = 0, HomeTop = 0;
  bool RunAwayArmed = false;
  bool AutoHide = false, GoFlat = true, MouseClickThru = false;
  bool MovingSelf = false;
  bool DialogOpen = false;
  TPoint32 TrayHoverPoint;

  // sampling: in-memory totals are 64-bit so "Downloaded:" stays right past 4 GiB
  uint64_t UpTotal = 0, DownTotal = 0;
  uint32_t SentOctets = 0, RecvOctets = 0;
  uint32_t PrevSentOctets = 0, PrevRecvOctets = 0;
  std::string AdapterName;

  // tick
  int32_t TickCount = 0;
  int32_t IdleTicks = 0;
  uint32_t UpRate = 0, DownRate = 0;
  std::string StatusText;

  // persistent totals and the daily log
  int64_t UploadCounter = 0, DownloadCounter = 0;
  uint32_t ElapsedCounter = 0;
  uint32_t LastDate = 0;
  std::string LogFilePath = "transfer_log.txt";
  bool LoggingEnabled = false;

  // appearance and scaling
  TColor BGColor = 0xFFFFFF, FlatBorderColor = 0x000000;
  TColor GridColor = 0xEFEFEF, GridColor2 = 0xEFEFEF;
  TColor UpColor = 0x30FFFF, DnColor = 0x1515FF;
  TColor AreaOutlineGrey = 0x808080;
  bool ShowGrid = true;
  int32_t GridMode = 3;  // stored value + 1: bit 0 horizontal, bit 1 vertical lines
  bool AutoScale = true, TrayAutoScale = true;
  int32_t ScaleBallance = 50, TrayScaleBallance = 50;
  int32_t TrayMode = 1;
  TColor TrayUpColor = 0x30FFFF, TrayDnColor = 0x1515FF, TrayFrameColor = 0x000000;
  int32_t GraphScaleMax = 4096, TrayScaleMax = 4096;
};
