#include "toolkit/MenuTemplate.h"
#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kProgramMenu = {
    "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
    "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
    "Network Connections", "-", "Quit", ""};

TEST(MenuTemplate, ProgramMenuIndicesAndKinds) {
  const auto items = ParseMenuTemplate(kProgramMenu);
  ASSERT_EQ(items.size(), 18u);
  struct Case { int index; const char* caption; int parent; bool separator, checked, submenu; };
  const Case cases[] = {
      {0, "WebServer Monitoring", -1, false, false, false}, {1, "", -1, true, false, false},
      {2, "Transfer Logging", -1, false, false, true},       {3, "Counters", 2, false, false, false},
      {4, "Transfer Log", 2, false, false, false},           {5, "", -1, true, false, false},
      {6, "Options", -1, false, false, false},               {7, "ShowGraph", -1, false, true, false},
      {8, "Stay On Top", -1, false, true, false},            {9, "Info", -1, false, false, true},
      {10, "About", 9, false, false, false},                 {11, "HomePage", 9, false, false, false},
      {12, "", 9, true, false, false},                       {13, "Bugtracker", 9, false, false, false},
      {14, "", -1, true, false, false},                      {15, "Network Connections", -1, false, false, false},
      {16, "", -1, true, false, false},                      {17, "Quit", -1, false, false, false},
  };
  for (const Case& c : cases) {
    const auto& it = items[static_cast<size_t>(c.index)];
    SCOPED_TRACE("item " + std::to_string(c.index));
    EXPECT_EQ(it.Index, c.index);
    EXPECT_EQ(it.Caption, c.caption);
    EXPECT_EQ(it.Parent, c.parent);
    EXPECT_EQ(it.Separator, c.separator);
    EXPECT_EQ(it.Checked, c.checked);
    EXPECT_EQ(it.Checkable, c.checked);  // only the two "+" items are checkable
    EXPECT_EQ(it.HasSubmenu, c.submenu);
  }
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
