// Menu templates: an array of texts read in order, ending at the first empty text.
//   "("  after an item opens that item's submenu, ")" closes it;
//   "-"  alone is a separator;
//   "+"/"-" before a caption makes a checkable item, checked for "+";
//   then "!" makes it a radio item in the previous item's group (or group 1),
//   "!!" starts a new group;
//   a tab separates the caption from the shortcut text shown at the right.
// Every item (separators and submenu items included) takes the next index.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tk {

struct TMenuTemplateItem {
  int Index = 0;
  int Parent = -1;        // index of the submenu's item, -1 at the top level
  std::string Text;       // as shown: caption, and "\t" + shortcut when there is one
  std::string Caption;    // before the tab
  std::string Shortcut;   // after the tab
  bool Separator = false;
  bool Checkable = false;
  bool Checked = false;
  int RadioGroup = 0;     // 0 = not a radio item
  bool HasSubmenu = false;
};

// Reads texts up to the first empty one or past lastIndex (when >= 0).
// Unbalanced ")" and a "(" that follows no item are ignored.
std::vector<TMenuTemplateItem> ParseMenuTemplate(const std::vector<std::string>& texts, int lastIndex = -1);

}  // namespace tk
