#include "toolkit/MenuTemplate.h"
#include <gtest/gtest.h>

using namespace tk;

namespace {

const std::vector<std::string> ProgramMenu = {
    "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
    "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
    "Network Connections", "-", "Quit", ""};

TEST(MenuTemplate, ProgramMenuIndicesAndKinds) {
  const auto items = ParseMenuTemplate(ProgramMenu);
  ASSERT_EQ(items.size(), 18u);
  std::string kinds;
  std::vector<int> parents;
  std::vector<std::string> captions;
  for (size_t i = 0; i < items.size(); ++i) {
    const auto& it = items[i];
    EXPECT_EQ(it.Index, static_cast<int>(i));
    EXPECT_EQ(it.Checkable, it.Checked) << "only the two \"+\" items are checkable; item " << i;
    kinds += it.Separator ? '-' : it.HasSubmenu ? 's' : it.Checked ? 'c' : '.';
    parents.push_back(it.Parent);
    captions.push_back(it.Caption);
  }
  EXPECT_EQ(kinds, ".-s..-.ccs..-.-.-.") << "separators, submenus, checked items";
  EXPECT_EQ(parents, (std::vector<int>{-1, -1, -1, 2, 2, -1, -1, -1, -1, -1, 9, 9, 9, 9, -1, -1, -1, -1}));
  const std::vector<std::string> expected = {
      "WebServer Monitoring", "", "Transfer Logging", "Counters", "Transfer Log", "", "Options", "ShowGraph",
      "Stay On Top", "Info", "About", "HomePage", "", "Bugtracker", "", "Network Connections", "", "Quit"};
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(items[10].Text, "About\tF1");
  EXPECT_EQ(items[10].Shortcut, "F1");
}

TEST(MenuTemplate, MarkersAndRadioGroups) {
  struct Case { const char* text; bool checkable, checked; int group; const char* caption; };
  // Each row is parsed after the rows above it, so groups carry on from the previous item.
  const Case cases[] = {
      {"-Plain", true, false, 0, "Plain"},  {"+!One", true, true, 1, "One"},
      {"-!Two", true, false, 1, "Two"},     {"-!!Three", true, false, 2, "Three"},
      {"-!Four", true, false, 2, "Four"},   {"Text", false, false, 0, "Text"},
      {"-!Five", true, false, 1, "Five"},   {"+", true, true, 0, ""},
  };
  std::vector<std::string> texts;
  for (const Case& c : cases) texts.push_back(c.text);
  const auto items = ParseMenuTemplate(texts);
  ASSERT_EQ(items.size(), std::size(cases));
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(cases[i].text);
    EXPECT_EQ(items[i].Checkable, cases[i].checkable);
    EXPECT_EQ(items[i].Checked, cases[i].checked);
    EXPECT_EQ(items[i].RadioGroup, cases[i].group);
    EXPECT_EQ(items[i].Caption, cases[i].caption);
    EXPECT_FALSE(items[i].Separator);
  }
}

TEST(MenuTemplate, EndsAndMalformedNesting) {
  EXPECT_TRUE(ParseMenuTemplate({}).empty());
  EXPECT_TRUE(ParseMenuTemplate({""}).empty());
  EXPECT_EQ(ParseMenuTemplate({"A", "B", "", "C"}).size(), 2u) << "stops at the first empty text";
  EXPECT_EQ(ParseMenuTemplate({"A", "B", "C"}, 1).size(), 2u) << "stops after lastIndex";

  // A stray ")" and a "(" with no item before it are ignored rather than corrupting the tree.
  const auto items = ParseMenuTemplate({")", "(", "A", ")", ")", "-", "(", "B", "(", "C", "(", "D"});
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].Parent, -1);
  EXPECT_FALSE(items[1].HasSubmenu) << "a separator opens no submenu";
  EXPECT_EQ(items[2].Parent, -1);
  EXPECT_TRUE(items[2].HasSubmenu);
  EXPECT_EQ(items[3].Parent, 2);
  EXPECT_EQ(items[4].Parent, 3) << "an unclosed submenu still nests";
}

}  // namespace
