#include "toolkit/MenuTemplate.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tk;

namespace {

using Texts = std::vector<std::string>;

// Per item: '-' separator, 's' submenu, 'c' checked, '.' plain; and the parents' indices.
std::tuple<std::string, std::vector<int>> Shape(const std::vector<TMenuTemplateItem>& items) {
  std::string kinds;
  std::vector<int> parents;
  for (const auto& it : items) {
    kinds += it.Separator ? '-' : it.HasSubmenu ? 's' : it.Checked ? 'c' : '.';
    parents.push_back(it.Parent);
  }
  return {kinds, parents};
}

TEST(MenuTemplate, ProgramMenuKindsAndNesting) {
  const auto items = ParseMenuTemplate(
      {"WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
       "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
       "Network Connections", "-", "Quit", ""});
  ASSERT_EQ(items.size(), 18u);
  EXPECT_EQ(Shape(items), std::tuple(".-s..-.ccs..-.-.-.", std::vector<int>{-1, -1, -1, 2, 2, -1, -1, -1, -1, -1, 9,
                                                                            9, 9, 9, -1, -1, -1, -1}));
  EXPECT_EQ(std::tuple(items[10].Text, items[10].Caption, items[10].Shortcut), std::tuple("About\tF1", "About", "F1"));
}

TEST(MenuTemplate, MarkersAndRadioGroups) {
  // parsed as one menu, so groups carry on from the previous item
  const struct { const char* text; bool checkable, checked; int group; const char* caption; } cases[] = {
      {"-Plain", true, false, 0, "Plain"}, {"+!One", true, true, 1, "One"},      {"-!Two", true, false, 1, "Two"},
      {"-!!Three", true, false, 2, "Three"}, {"-!Four", true, false, 2, "Four"}, {"Text", false, false, 0, "Text"},
      {"-!Five", true, false, 1, "Five"},  {"+", true, true, 0, ""},            {"-!!Six", true, false, 3, "Six"},
      {"-!!Seven", true, false, 4, "Seven"}, {"-!Eight", true, false, 4, "Eight"},
  };
  Texts texts;
  for (const auto& c : cases) texts.push_back(c.text);
  const auto items = ParseMenuTemplate(texts);
  ASSERT_EQ(items.size(), std::size(cases));
  for (size_t i = 0; i < items.size(); ++i)
    EXPECT_EQ(std::tuple(items[i].Checkable, items[i].Checked, items[i].RadioGroup, items[i].Caption, items[i].Separator),
              std::tuple(cases[i].checkable, cases[i].checked, cases[i].group, cases[i].caption, false)) << cases[i].text;
}

TEST(MenuTemplate, EndsAndMalformedNesting) {
  const struct { Texts texts; int lastIndex; const char* kinds; std::vector<int> parents; } cases[] = {
      {{}, -1, "", {}},
      {{""}, -1, "", {}},
      {{"A", "B", "", "C"}, -1, "..", {-1, -1}},  // stops at the first empty text
      {{"A", "B", "C"}, 1, "..", {-1, -1}},       // stops after lastIndex
      {{"A", "B"}, 0, ".", {-1}},
      // a stray ")" and a "(" after no item, a separator or a ")" are ignored; an unclosed submenu still nests
      {{")", "(", "A", ")", ")", "-", "(", "B", "(", "C", "(", "D"}, -1, ".-ss.", {-1, -1, -1, 2, 3}},
      {{"A", "(", "B", ")", "(", "C"}, -1, "s..", {-1, 0, -1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Shape(ParseMenuTemplate(c.texts, c.lastIndex)), std::tuple(c.kinds, c.parents)) << c.texts.size();
}

}  // namespace
