// A main window for settings tests: keeps what it is given and records the calls.
#pragma once
#include <string>
#include <vector>

#include "settings/SettingsCatalogue.h"

class TFakeMainWindow : public TMainWindow {
public:
  // the start-up window: 87 x 39 at (546, 205), on top until the settings say otherwise
  int32_t L = 546, T = 205, W = 87, H = 39;
  bool Shadow = false, OnTop = true, OnTopChecked = true, Hidden = false;
  bool TopmostRefused = false;  // the system may refuse the topmost band
  int Opacity = -1;
  std::vector<std::string> Calls;

  int32_t Left() override { return L; }
  int32_t Top() override { return T; }
  int32_t Width() override { return W; }
  int32_t Height() override { return H; }
  void Move(int32_t l, int32_t t) override { L = l; T = t; Calls.push_back("move"); }
  void Resize(int32_t w, int32_t h) override { W = w; H = h; Calls.push_back("resize"); }
  void SetDropShadow(bool on) override { Shadow = on; Calls.push_back("shadow"); }
  void SetOpacity(uint8_t o) override { Opacity = o; Calls.push_back("opacity"); }
  void SetStayOnTop(bool on) override { OnTop = on && !TopmostRefused; Calls.push_back("ontop"); }
  bool StayOnTop() override { return OnTop; }
  void SetStayOnTopChecked(bool c) override { OnTopChecked = c; Calls.push_back("check"); }
  void HideGraph() override { Hidden = true; Calls.push_back("hide"); }
  // distinct per index, so a test sees which system colour a default came from
  TColor SystemColour(int32_t index) override { return 0x00ABCD00u + static_cast<TColor>(index); }
};
