// The main form's state record: the one place the program keeps its state. It is
// built from the records of the modules that own a part of it (sampling, the totals,
// what the renderers read), so every field keeps its one name. Portable: the Win32
// main form holds one and hands it, or the part a routine needs, to the rest.
#pragma once
#include <cstdint>
#include <string>

#include "base/Geometry.h"
#include "render/GraphLook.h"
#include "traffic/AdapterSampling.h"
#include "traffic/Sleep.h"
#include "traffic/TransferTotals.h"

struct TStatsForm : TSamplerState, TTransferTotals, TGraphLook {
  // window behaviours (IsActive, GoFlat and MouseMarker are in TGraphLook)
  bool UserHidden = false;
  int32_t HomeLeft = 0, HomeTop = 0;
  bool RunAwayArmed = false;
  bool AutoHide = false, MouseClickThru = false;
  bool MovingSelf = false;
  bool DialogOpen = false;
  TPoint32 TrayHoverPoint;

  // the tick (the rates are in TGraphLook)
  int32_t TickCount = 0;
  int32_t IdleTicks = 0;
  TTickTiming TickTiming;
  TSleepState Sleep;
  std::string StatusText;

  // scaling: automatic or manual full-scale values
  bool AutoScale = true, TrayAutoScale = true;
};
