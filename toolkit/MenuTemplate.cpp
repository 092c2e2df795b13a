#include "toolkit/MenuTemplate.h"

namespace tk {

std::vector<TMenuTemplateItem> ParseMenuTemplate(const std::vector<std::string>& texts, int lastIndex) {
  std::vector<TMenuTemplateItem> items;
  std::vector<int> parents;  // stack of open submenu items
  bool afterItem = false;    // the previous text created an item
  int lastGroup = 0;
  const size_t end = lastIndex >= 0 && static_cast<size_t>(lastIndex) + 1 < texts.size()
                         ? static_cast<size_t>(lastIndex) + 1 : texts.size();
  for (size_t t = 0; t < end; ++t) {
    const std::string& text = texts[t];
    if (text.empty()) break;
    if (text == "(") {
      // Only an item that can hold a submenu opens one.
      if (afterItem && !items.back().Separator) {
        items.back().HasSubmenu = true;
        parents.push_back(items.back().Index);
      }
      afterItem = false;
      continue;
    }
    if (text == ")") {
      if (!parents.empty()) parents.pop_back();
      afterItem = false;
      continue;
    }
    TMenuTemplateItem item;
    item.Index = static_cast<int>(items.size());
    item.Parent = parents.empty() ? -1 : parents.back();
    if (text == "-") {
      item.Separator = true;
    } else {
      size_t pos = 0;
      if (text[0] == '+' || text[0] == '-') {
        item.Checkable = true;
        item.Checked = text[0] == '+';
        pos = 1;
        if (text.compare(pos, 2, "!!") == 0) {
          item.RadioGroup = ++lastGroup;
          pos += 2;
        } else if (text.compare(pos, 1, "!") == 0) {
          const int prev = items.empty() ? 0 : items.back().RadioGroup;
          item.RadioGroup = prev ? prev : 1;
          if (item.RadioGroup > lastGroup) lastGroup = item.RadioGroup;
          pos += 1;
        }
      }
      item.Text = text.substr(pos);
      const size_t tab = item.Text.find('\t');
      item.Caption = item.Text.substr(0, tab);
      if (tab != std::string::npos) item.Shortcut = item.Text.substr(tab + 1);
    }
    items.push_back(std::move(item));
    afterItem = true;
  }
  return items;
}

}  // namespace tk
