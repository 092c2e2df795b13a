// Every value the program keeps in the store, with its kind and its default.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "base/Colour.h"

// The program's key below HKEY_CURRENT_USER.
inline constexpr const char* TarveloKeyPath = "Software\\Quillmoor\\Tarvelo";

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

// The catalogue, in the order the settings are loaded; then "AutoRunAway" (read at each
// deactivation, not at load) and the usage history's values, which it and the usage
// window read themselves.
std::span<const TSettingDef> SettingsCatalogue();
// The entry for a value name, or nullptr.
const TSettingDef* FindSetting(const std::string& name);
