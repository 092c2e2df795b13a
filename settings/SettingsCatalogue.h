// Every value the program keeps in the store, with its kind and its default, and the
// two routines that move them between the store and the main form.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "app/StatsForm.h"

class TSettings;

enum class TSettingKind { Integer, Bool, Text };

// Where a default comes from when it is not a constant.
enum class TDefaultFrom {
  Constant,
  WindowLeft,
  WindowTop,
  WindowWidth,
  WindowHeight,
  SystemColour,  // Default holds the system colour index
};

struct TSettingDef {
  const char* Name;
  TSettingKind Kind;
  int32_t Default;          // integers and booleans (0 or 1)
  const char* TextDefault;  // texts
  TDefaultFrom From;
};

// System colour indices used by the defaults.
inline constexpr int32_t ColorWindow = 5;
inline constexpr int32_t ColorWindowFrame = 6;

// The catalogue, in the order LoadSettings reads it; "AutoRunAway" (read at each
// deactivation, not by LoadSettings) comes last.
std::span<const TSettingDef> SettingsCatalogue();
// The entry for a value name, or nullptr.
const TSettingDef* FindSetting(const std::string& name);

// The main window as the settings see it. The real window and the tests' fake both
// implement it.
class TMainWindow {
public:
  virtual ~TMainWindow() = default;
  // Outer rectangle in screen pixels.
  virtual int32_t Left() = 0;
  virtual int32_t Top() = 0;
  virtual int32_t Width() = 0;
  virtual int32_t Height() = 0;
  virtual void Move(int32_t left, int32_t top) = 0;
  virtual void Resize(int32_t width, int32_t height) = 0;
  // The class's drop-shadow style; shows on windows created later.
  virtual void SetDropShadow(bool on) = 0;
  // 255 opaque, 0 invisible.
  virtual void SetOpacity(uint8_t opacity) = 0;
  virtual void SetStayOnTop(bool on) = 0;
  virtual bool StayOnTop() = 0;
  // The check mark of "+Stay On Top".
  virtual void SetStayOnTopChecked(bool checked) = 0;
  // The user-hide routine: hides without touching UserHidden.
  virtual void HideGraph() = 0;
  virtual TColor SystemColour(int32_t index) = 0;
};

// A stored outer size is kept inside this range: the history and the back buffer
// are sized from it.
inline constexpr int32_t MinWindowExtent = 1;
inline constexpr int32_t MaxWindowExtent = 16384;

// Reads every catalogued value (but "AutoRunAway") into the form and the window.
void LoadSettings(TStatsForm& form, TSettings& store, TMainWindow& window);
// "LeftPos", "TopPos", "Width", "Height", "StayOnTop", "UserHide", in that order.
void SaveWindowState(const TStatsForm& form, TSettings& store, TMainWindow& window);
