// What the options sheet's four pages show and write, apart from any window system:
// the logic talks to a page through TPageControls, to the registry through TSettings.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/Colour.h"
#include "resources/resource.h"
#include "settings/Settings.h"

// The adapter list's first item: the adapter carrying the default route, followed.
inline constexpr const char* AutomaticAdapterItem = "Automatic (the connection in use)";

// The sheet's pages, in page order.
enum class TOptionsPage { General, Window, Graph, Tray, Plan };

// One page's controls as the logic sees them; the Win32 side answers from the dialog.
// Combo box items are addressed by index; a sorted list places an added item itself.
class TPageControls {
public:
  virtual ~TPageControls() = default;
  virtual bool Checked(int id) = 0;
  virtual void SetChecked(int id, bool on) = 0;
  virtual void SetEnabled(int id, bool on) = 0;
  virtual bool Enabled(int id) = 0;
  virtual int TrackPos(int id) = 0;
  virtual void SetTrackRange(int id, int low, int high) = 0;
  virtual void SetTrackPos(int id, int pos) = 0;
  virtual TColor Colour(int id) = 0;  // a colour picker's
  virtual void SetColour(int id, TColor colour) = 0;
  virtual void AddItem(int id, const std::string& text, int32_t data) = 0;
  // An item at a place of its own, even in a sorted list.
  virtual void InsertItem(int id, int index, const std::string& text) = 0;
  // The first item whose whole text equals text, ignoring case; -1 when none does.
  virtual int FindItem(int id, const std::string& text) = 0;
  virtual int Selection(int id) = 0;  // -1 when nothing is selected
  virtual void Select(int id, int index) = 0;  // -1 selects nothing
  // An edit's text, or a combo box's (its edit field, or a list's selected item).
  virtual std::string Text(int id) = 0;
  virtual void SetText(int id, const std::string& text) = 0;
};

// What a page is filled from: the store, the adapters to offer, the system colours now.
struct TOptionsSource {
  TSettings& Store;
  const std::vector<std::string>& Adapters;
  TSystemColourSource SystemColour;
};

// Fills a page from the store when it is first shown, with its enabling and labels.
void InitPage(TOptionsPage page, TPageControls& controls, const TOptionsSource& source);
// Writes every value of a page, changed or not, in the page's order (on OK).
void ApplyPage(TOptionsPage page, TPageControls& controls, TSettings& store);
// A control of the page reported something; keeps the enabling in step.
void PageCommand(TOptionsPage page, TPageControls& controls, int id);
// A trackbar of the page moved; keeps its balance labels in step.
void PageScroll(TOptionsPage page, TPageControls& controls);

// Which controls follow which: transparency, grid, Auto/Manual.
void UpdatePageEnabling(TOptionsPage page, TPageControls& controls);

// The down-link and up-link labels for a balance position of 1..99.
std::pair<std::string, std::string> BalanceLabels(int position);

// A scale combo box: the link speeds, with the stored value selected or shown in KB/s.
void FillScaleCombo(TPageControls& controls, int id, int32_t value);
// The combo box's value in octets per second: the chosen speed, or the typed KB/s.
int32_t ReadScaleCombo(TPageControls& controls, int id);
// Typed KB/s as octets per second: leading number only ("12.5" is 12), decimal or
// hexadecimal after "$", "x" or "0x"; kept within a signed 32-bit value.
int32_t ScaleFromText(const std::string& text);
