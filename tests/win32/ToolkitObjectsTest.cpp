// Reference counting, owned lists, the pointer list and the utility routines.
#include "toolkit/BaseObject.h"
#include "toolkit/PtrList.h"
#include "toolkit/DateTime.h"
#include "toolkit/Platform.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

using namespace tk;

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

TEST(BaseObject, ReleaseCountsAndOwnedOrder) {
  g_events.clear();
  Release(new TProbe("fresh"));  // count 0: one Release destroys
  auto* kept = new TProbe("kept");
  kept->AddRef();
  Release(kept);
  g_events.push_back("one Release after AddRef");
  Release(kept);
  Release(nullptr);
  EXPECT_EQ(g_events, (std::vector<std::string>{"delete fresh", "one Release after AddRef", "delete kept"}))
      << "a fresh object dies on one Release; after one AddRef, on the second";

  g_events.clear();
  auto* owner = new TProbe("owner");
  owner->SetDestroyNotify([](void*, TBaseObject*) { g_events.push_back("notify"); }, nullptr);
  owner->AddOwned(new TProbe("first"));
  owner->AddOwnedCallback([](void*) { g_events.push_back("callback"); }, nullptr);
  owner->AddOwned(new TProbe("third"));
  Release(owner);
  const std::vector<std::string> expected = {"notify", "delete third", "callback", "delete first", "delete owner"};
  EXPECT_EQ(g_events, expected) << "owned things newest first, after the notification";
}

TEST(PtrList, LookupInsertDeleteAndBounds) {
  TPtrList list;
  int a = 0, b = 0, c = 0, d = 0;
  list.Add(&a);
  list.Add(&c);
  list.Insert(1, &b);   // shifts c up
  list.Insert(99, &d);  // past the end appends
  list.Delete(17);      // ignored
  const void* expected[] = {&a, &b, &c, &d, nullptr};
  for (int i = -1; i < 5; ++i) EXPECT_EQ(list.Get(i), i < 0 ? nullptr : expected[i]) << "index " << i;
  EXPECT_EQ(list.IndexOf(nullptr), -1);
  EXPECT_TRUE(list.Remove(&a));
  EXPECT_FALSE(list.Remove(&a));
  EXPECT_EQ(list.Get(0), &b);
}

SYSTEMTIME Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return SYSTEMTIME{static_cast<WORD>(y), static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                    static_cast<WORD>(mi), static_cast<WORD>(s), static_cast<WORD>(ms)};
}

TEST(DayNumbers, ConversionsBothWays) {
  struct Case { SYSTEMTIME st; double expected; const char* what; };
  const Case cases[] = {
      {Make(2000, 1, 1, 12), 730120.5, "1 January 2000, noon"},
      {Make(1, 1, 1), 1, "first day"},
      {Make(2000, 3, 1), 730180, "after 29 February of a 400-year leap year"},
      {Make(1900, 3, 1), 693655, "1900 is no leap year"},
      {Make(2100, 3, 1), 766704, "neither is 2100"},
      {Make(9999, 12, 31, 23, 59, 59, 999), 3652059 + 86399999.0 / 86400000.0, "last moment"},
      {Make(10000, 1, 1), 0, "year above 9999"},
      {Make(2001, 2, 29), 0, "no 29 February in 2001"},
      {Make(2000, 13, 1), 0, "month 13"},
      {Make(2000, 1, 1, 24), 0, "hour 24"},
      {Make(2000, 1, 1, 0, 0, 0, 1000), 0, "1000 ms"},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(c.st), c.expected) << c.what;
    if (c.expected == 0) continue;
    SYSTEMTIME back{};
    ASSERT_TRUE(DateTimeToSystemTime(c.expected, back)) << c.what;
    back.wDayOfWeek = 0;
    EXPECT_EQ(memcmp(&back, &c.st, sizeof back), 0) << "round trip of " << c.what;
  }
  SYSTEMTIME st{};
  EXPECT_FALSE(DateTimeToSystemTime(0.99, st));
  // A fraction a hair below midnight rounds to the next day, never to hour 24.
  ASSERT_TRUE(DateTimeToSystemTime(730120.9999999999, st));
  EXPECT_EQ(st.wDay * 100 + st.wHour, 200);
  EXPECT_EQ(st.wDayOfWeek, 0) << "2 January 2000 was a Sunday";
  EXPECT_EQ(DayOfWeek(730120) * 10 + DayOfWeek(730121.75), 67) << "a Saturday, then a Sunday";
  GetLocalTime(&st);
  EXPECT_NEAR(Now(), SystemTimeToDateTime(st), 1.0 / 24);
}

TEST(Utils, FilesTextAndDates) {
  char dir[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
  const std::string file = std::string(dir) + "tarvelo_utils_probe.txt";
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  EXPECT_TRUE(FileExists(file));
  DeleteFileA(file.c_str());
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(FileExists(dir)) << "a directory is no file";
  EXPECT_EQ(FormatDate(Make(2000, 1, 2), LOCALE_USER_DEFAULT, false, "yyyy'-'MM'-'dd"), "2000-01-02");
  EXPECT_GE(WindowsVersion(), 4) << "Wine poses as a modern Windows";
}

}  // namespace
