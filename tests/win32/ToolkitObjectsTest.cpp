// Reference counting, owned lists, the pointer list and the utility routines.
#include "toolkit/BaseObject.h"
#include "toolkit/PtrList.h"
#include "toolkit/Utils.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;

class TProbe : public TBaseObject {
public:
  explicit TProbe(std::string name) : name_(std::move(name)) {}
protected:
  ~TProbe() override { g_events.push_back("delete " + name_); }
private:
  std::string name_;
};

void NoteDestroy(void* data, TBaseObject*) { g_events.push_back(static_cast<const char*>(data)); }

TEST(BaseObject, ReleaseDestroysBelowZero) {
  g_events.clear();
  auto* fresh = new TProbe("fresh");
  Release(fresh);
  EXPECT_EQ(g_events, std::vector<std::string>{"delete fresh"}) << "count 0: one Release destroys";

  g_events.clear();
  auto* kept = new TProbe("kept");
  kept->AddRef();
  Release(kept);
  EXPECT_TRUE(g_events.empty()) << "after one AddRef the first Release leaves it alive";
  EXPECT_EQ(kept->RefCount(), 0);
  Release(kept);
  EXPECT_EQ(g_events, std::vector<std::string>{"delete kept"});

  Release(nullptr);  // nothing
}

TEST(BaseObject, OwnedReleasedNewestFirstAfterNotification) {
  g_events.clear();
  auto* owner = new TProbe("owner");
  owner->SetDestroyNotify(&NoteDestroy, const_cast<char*>("notify"));
  owner->AddOwned(new TProbe("first"));
  owner->AddOwnedCallback([](void*) { g_events.push_back("callback"); }, nullptr);
  owner->AddOwned(new TProbe("third"));
  Release(owner);
  const std::vector<std::string> expected = {"notify", "delete third", "callback", "delete first", "delete owner"};
  EXPECT_EQ(g_events, expected);
}

TEST(PtrList, LookupInsertDeleteAndBounds) {
  TPtrList list;
  int a = 0, b = 0, c = 0, d = 0;
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.Add(&c), 1);
  list.Insert(1, &b);   // shifts c up
  list.Insert(99, &d);  // past the end appends
  ASSERT_EQ(list.Count(), 4);
  const void* expected[] = {&a, &b, &c, &d};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.Get(i), expected[i]) << "index " << i;
  EXPECT_EQ(list.IndexOf(&c), 2);
  EXPECT_EQ(list.IndexOf(nullptr), -1);
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(4), nullptr);
  list.Delete(0);
  list.Delete(17);  // ignored
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Get(0), &b);
  EXPECT_TRUE(list.Remove(&d));
  EXPECT_FALSE(list.Remove(&d));
  EXPECT_EQ(list.IndexOf(&d), -1);
}

TEST(PtrList, GrowthStep) {
  TPtrList automatic;
  int x = 0;
  for (int i = 0; i < 9; ++i) automatic.Add(&x);
  EXPECT_GE(automatic.Capacity(), 9);
  TPtrList stepped;
  stepped.SetGrowthStep(10);
  stepped.Add(&x);
  EXPECT_EQ(stepped.Capacity(), 10) << "a full list grows by the step";
}

SYSTEMTIME Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y); st.wMonth = static_cast<WORD>(mo); st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h); st.wMinute = static_cast<WORD>(mi); st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

TEST(DayNumbers, FromSystemTime) {
  struct Case { SYSTEMTIME st; double expected; const char* what; };
  const Case cases[] = {
      {Make(2000, 1, 1, 12), 730120.5, "1 January 2000, noon"},
      {Make(1, 1, 1), 1, "first day"},
      {Make(2000, 3, 1), 730180, "after 29 February of a 400-year leap year"},
      {Make(1900, 3, 1), 693655, "1900 is no leap year"},
      {Make(9999, 12, 31, 23, 59, 59, 999), 3652059 + 86399999.0 / 86400000.0, "last moment"},
      {Make(10000, 1, 1), 0, "year above 9999"},
      {Make(2001, 2, 29), 0, "no 29 February in 2001"},
      {Make(2000, 13, 1), 0, "month 13"},
      {Make(2000, 1, 1, 24), 0, "hour 24"},
      {Make(2000, 1, 1, 0, 60), 0, "minute 60"},
      {Make(2000, 1, 1, 0, 0, 0, 1000), 0, "1000 ms"},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(SystemTimeToDateTime(c.st), c.expected) << c.what;
}

TEST(DayNumbers, RoundTripAndEdges) {
  const SYSTEMTIME samples[] = {Make(1, 1, 1), Make(2000, 2, 29, 23, 59, 59, 999), Make(1999, 12, 31),
                                Make(2004, 12, 31, 6, 30), Make(2100, 3, 1), Make(9999, 12, 31, 23, 59, 59)};
  for (const SYSTEMTIME& st : samples) {
    SYSTEMTIME back{};
    ASSERT_TRUE(DateTimeToSystemTime(SystemTimeToDateTime(st), back)) << st.wYear;
    EXPECT_EQ(back.wYear, st.wYear);
    EXPECT_EQ(back.wMonth, st.wMonth) << st.wYear;
    EXPECT_EQ(back.wDay, st.wDay) << st.wYear << "-" << st.wMonth;
    EXPECT_EQ(back.wHour, st.wHour) << st.wYear;
    EXPECT_EQ(back.wMinute, st.wMinute) << st.wYear;
    EXPECT_EQ(back.wSecond, st.wSecond) << st.wYear;
    EXPECT_EQ(back.wMilliseconds, st.wMilliseconds) << st.wYear;
  }
  SYSTEMTIME st{};
  EXPECT_FALSE(DateTimeToSystemTime(0.99, st));
  // A fraction a hair below midnight rounds to the next day, never to hour 24.
  ASSERT_TRUE(DateTimeToSystemTime(730120.9999999999, st));
  EXPECT_EQ(st.wDay, 2);
  EXPECT_EQ(st.wHour, 0);
  EXPECT_EQ(st.wDayOfWeek, 0) << "2 January 2000 was a Sunday";
}

TEST(DayNumbers, DayOfWeekAndNow) {
  EXPECT_EQ(DayOfWeek(730120), 6) << "1 January 2000, a Saturday";
  EXPECT_EQ(DayOfWeek(730121.75), 7);
  EXPECT_EQ(DayOfWeek(1), 1);
  SYSTEMTIME local{};
  GetLocalTime(&local);
  const double now = Now();
  EXPECT_NEAR(now, SystemTimeToDateTime(local), 1.0 / 24);
}

TEST(Utils, FilesTextDatesVersion) {
  char dir[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
  const std::string file = std::string(dir) + "tarvelo_utils_probe.txt";
  DeleteFileA(file.c_str());
  EXPECT_FALSE(FileExists(file));
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir)) << "a directory is no file";
  DeleteFileA(file.c_str());

  EXPECT_EQ(CompareText("abc", "abc"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("b", "a"), 0);

  const SYSTEMTIME st = Make(2000, 1, 2);
  EXPECT_EQ(FormatDate(st, LOCALE_USER_DEFAULT, false, "yyyy'-'MM'-'dd"), "2000-01-02");
  EXPECT_FALSE(FormatDate(st, LOCALE_USER_DEFAULT, false).empty());
  EXPECT_FALSE(FormatDate(st, LOCALE_USER_DEFAULT, true).empty());

  EXPECT_GE(WindowsVersion(), 4) << "Wine poses as a modern Windows";
  EXPECT_EQ(WindowsVersion(), WindowsVersion());
}

}  // namespace
