// Reference counting, owned lists, the pointer list and the utility routines.
#include "toolkit/BaseObject.h"
#include "toolkit/DateTime.h"
#include "toolkit/Platform.h"
#include "toolkit/PtrList.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

using namespace tk;

namespace {

std::vector<std::string> g_events;

struct TProbe : TBaseObject {
  explicit TProbe(std::string name) : name(std::move(name)) {}
  ~TProbe() override { g_events.push_back(name); }
  std::string name;
};

TEST(BaseObject, ReleaseCountsAndOwnedOrder) {
  Release(new TProbe("fresh"));  // count 0: one Release destroys
  auto* owner = new TProbe("owner");
  owner->AddRef(), Release(owner);
  g_events.push_back("one Release after AddRef");
  owner->SetDestroyNotify([](void*, TBaseObject*) { g_events.push_back("notify"); }, nullptr);
  owner->AddOwned(new TProbe("first"));
  owner->AddOwnedCallback([](void*) { g_events.push_back("callback"); }, nullptr);
  owner->AddOwned(new TProbe("third"));
  Release(owner);
  Release(nullptr);
  EXPECT_EQ(g_events, (std::vector<std::string>{"fresh", "one Release after AddRef", "notify", "third", "callback",
                                                 "first", "owner"}))
      << "after the notification, owned things newest first";
}

TEST(PtrList, InsertDeleteAndReadsOutsideTheList) {
  TPtrList list;
  int a = 0, b = 0, c = 0, d = 0;
  list.Add(&a), list.Add(&c);
  list.Insert(1, &b);   // shifts c up
  list.Insert(99, &d);  // past the end appends
  list.Delete(17);      // ignored
  const void* expected[] = {nullptr, &a, &b, &c, &d, nullptr};
  for (int i = -1; i < 5; ++i) EXPECT_EQ(list.Get(i), expected[i + 1]) << "index " << i;
  EXPECT_TRUE(list.IndexOf(nullptr) == -1 && list.Remove(&a) && !list.Remove(&a) && list.Get(0) == &b);
}

TEST(DayNumbers, ConversionsBothWaysAndUtilities) {
  const struct { SYSTEMTIME st; double expected; } cases[] = {
      {{2000, 1, 0, 1, 12, 0, 0, 0}, 730120.5},           // noon
      {{1900, 3, 0, 1, 0, 0, 0, 0}, 693655},              // 1900 is no leap year, 2000 is
      {{9999, 12, 0, 31, 23, 59, 59, 999}, 3652059 + 86399999.0 / 86400000.0},
      {{2001, 2, 0, 29, 0, 0, 0, 0}, 0}, {{2000, 1, 0, 1, 24, 0, 0, 0}, 0}, {{10000, 1, 0, 1, 0, 0, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(c.st), c.expected) << c.st.wYear;
    SYSTEMTIME back{};
    if (c.expected == 0) continue;
    EXPECT_TRUE(DateTimeToSystemTime(c.expected, back) && (back.wDayOfWeek = 0, !memcmp(&back, &c.st, sizeof back)))
        << "round trip of " << c.st.wYear;
  }
  SYSTEMTIME st{};
  // A fraction a hair below midnight rounds to the next day, never to hour 24.
  EXPECT_TRUE(!DateTimeToSystemTime(0.99, st) && DateTimeToSystemTime(730120.9999999999, st) && st.wDay == 2);
  EXPECT_EQ(DayOfWeek(730120) * 10 + DayOfWeek(730121.75), 67) << "a Saturday, then a Sunday";
  EXPECT_EQ(FormatDate(st, LOCALE_USER_DEFAULT, false, "yyyy'-'MM'-'dd"), "2000-01-02");
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "tarvelo_probe.txt";
  CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const bool made = FileExists(file);
  DeleteFileA(file.c_str());
  EXPECT_TRUE(made && !FileExists(file) && !FileExists(dir)) << "a file, then gone; a directory is no file";
}

}  // namespace
