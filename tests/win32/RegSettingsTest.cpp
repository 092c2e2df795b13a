// The registry store and the system clock against Wine's real registry and locale;
// the registry's values are set and read back with the raw API, below a scratch key.
#include "toolkit/WinApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "support/FakeGraphWindow.h"
#include "support/SettingsFuzz.h"
#include "settings/SettingsCatalogue.h"
#include "settings/RegSettings.h"
#include "traffic/SystemClock.h"
#include "base/DayNumber.h"
#include "traffic/TransferTotals.h"

namespace {

const std::string Scratch = "Software\\Quillmoor\\TarveloTest";
using Bytes = std::vector<BYTE>;

tk::unique_hkey OpenRaw(const std::string& path) {
  HKEY key = nullptr;
  ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  return tk::unique_hkey(key);
}
tk::unique_hkey CreateRaw(const std::string& path, DWORD options = 0) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return tk::unique_hkey(key);
}
bool KeyExists(const std::string& path) { return bool(OpenRaw(path)); }

struct TRawValue {
  LONG rc = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  Bytes bytes = Bytes(8192);
};
TRawValue QueryRaw(const std::string& path, const char* name) {
  TRawValue v;
  DWORD size = static_cast<DWORD>(v.bytes.size());
  if (auto key = OpenRaw(path)) v.rc = ::RegQueryValueExA(key.get(), name, nullptr, &v.type, v.bytes.data(), &size);
  v.bytes.resize(v.rc == ERROR_SUCCESS ? size : 0);
  return v;
}

DWORD ValueCount(const std::string& path) {
  DWORD count = 0;
  if (auto key = OpenRaw(path))
    ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                       nullptr, nullptr);
  return count;
}

long LiveKeys() { return tk::LiveHandles(tk::THandleFamily::Kernel).load(); }

struct RegSettings : ::testing::Test {
  TRegSettings s;
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, Scratch.c_str());
    ASSERT_FALSE(KeyExists(Scratch));
    s.KeyPath = Scratch;
  }
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, Scratch.c_str()); }
  void Plant(const char* name, DWORD type, const std::string& bytes) {
    ASSERT_EQ(::RegSetValueExA(CreateRaw(Scratch).get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
  }
};

TEST_F(RegSettings, OpenCreatesAMissingKeyAndEachKindIsStoredAsItsBytes) {
  EXPECT_EQ(s.State(), TRegSettings::TState::Created);
  s.Open();
  EXPECT_EQ(s.State(), TRegSettings::TState::Open);
  EXPECT_TRUE(KeyExists(Scratch));
  EXPECT_EQ(std::tuple(s.ReadInteger("ScaleMax", 32768), s.ReadBool("Shadow", true), s.ReadString("LogFile", "log")),
            std::tuple(32768, true, "log"));
  EXPECT_EQ(ValueCount(Scratch), 0u) << "reading never writes a default";

  s.WriteInteger("int", -2);
  s.WriteInteger("big", 0x12345678);
  s.WriteBool("yes", true);
  s.WriteBool("no", false);
  s.WriteString("text", "abc");
  s.WriteString("empty", "");
  const struct { const char* name; DWORD type; Bytes bytes; } cases[] = {
      {"int", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}}, {"big", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
      {"yes", REG_DWORD, {1, 0, 0, 0}},             {"no", REG_DWORD, {0, 0, 0, 0}},
      {"text", REG_SZ, {'a', 'b', 'c', 0}},         {"empty", REG_SZ, {0}},
  };
  for (const auto& c : cases) {
    const TRawValue v = QueryRaw(Scratch, c.name);
    EXPECT_EQ(v.rc, ERROR_SUCCESS) << c.name;
    EXPECT_EQ(v.type, c.type) << c.name;
    EXPECT_EQ(v.bytes, c.bytes) << c.name;
  }
  EXPECT_EQ(std::tuple(s.ReadInteger("int", 0), s.ReadString("text", "x"), s.ReadString("empty", "default")),
            std::tuple(-2, "abc", "")) << "the empty text is not the default";
  const std::string longText(5000, 'x');
  s.WriteString("long", longText);
  EXPECT_EQ(s.ReadString("long", ""), longText);
}

TEST_F(RegSettings, ValuesOfOtherKindsAndSizes) {
  s.Open();
  Plant("two", REG_DWORD, std::string("\x02\0\0\0", 4));
  Plant("one", REG_DWORD, std::string("\x01\0\0\0", 4));
  Plant("sz5", REG_SZ, std::string("abcd\0", 5));
  Plant("sz3", REG_SZ, std::string("ab\0", 3));
  Plant("bin1", REG_BINARY, "\xFF");
  Plant("bin2", REG_BINARY, "\x34\x92");
  Plant("bin0", REG_BINARY, "");
  Plant("bin8", REG_BINARY, "\1\2\3\4\5\6\7\x08");
  Plant("qword", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8));
  Plant("bintext", REG_BINARY, "path");  // no terminating NUL
  Plant("dwordtext", REG_DWORD, std::string("A\0\0\0", 4));

  // fewer than 4 bytes read zero-extended; more do not fit and give the default
  const struct { const char* name; int32_t expected; } ints[] = {
      {"two", 2}, {"sz5", 7}, {"sz3", 0x6261}, {"bin1", 0xFF}, {"bin2", 0x9234}, {"bin0", 0}, {"bin8", 7},
      {"qword", 7}, {"missing", 7}};
  for (const auto& c : ints) EXPECT_EQ(s.ReadInteger(c.name, 7), c.expected) << c.name;

  const struct { const char* name; bool def, expected; } bools[] = {
      {"two", true, false} /* only 1 is true */, {"one", false, true}, {"bin0", true, false},
      {"missing", true, true}, {"missing", false, false}, {"sz5", true, true} /* unreadable: the default */};
  for (const auto& c : bools) EXPECT_EQ(s.ReadBool(c.name, c.def), c.expected) << c.name << " default " << c.def;

  const struct { const char *name, *expected; } texts[] = {
      {"sz5", "abcd"}, {"bin0", ""}, {"bintext", "path"}, {"dwordtext", "A"}, {"missing", "def"}};
  for (const auto& c : texts) EXPECT_EQ(s.ReadString(c.name, "def"), c.expected) << c.name;
}

TEST_F(RegSettings, ASecondOpenClosesTheFirstKey) {
  const long before = LiveKeys();
  {
    TRegSettings twice;
    twice.KeyPath = Scratch;
    twice.Open();
    const HKEY first = twice.Key();
    EXPECT_EQ(LiveKeys(), before + 1);
    twice.Open();
    EXPECT_EQ(LiveKeys(), before + 1);
    EXPECT_EQ(twice.State(), TRegSettings::TState::Open);
    if (first != twice.Key()) {  // the old handle is really closed, not only forgotten
      DWORD count = 0;
      EXPECT_NE(::RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                                   nullptr, nullptr, nullptr),
                ERROR_SUCCESS);
    }
    twice.WriteInteger("after", 5);
    EXPECT_EQ(twice.ReadInteger("after", 0), 5);
  }
  EXPECT_EQ(LiveKeys(), before);
}

TEST_F(RegSettings, AStoreThatCannotOpenGivesDefaultsAndLosesWrites) {
  // A non-volatile key cannot be created below a volatile one.
  ASSERT_TRUE(CreateRaw(Scratch + "\\Volatile", REG_OPTION_VOLATILE));
  const std::string uncreatable = Scratch + "\\Volatile\\Child";
  const struct { const char* what; std::string path; TRegSettings::TState state; } cases[] = {
      {"empty path", "", TRegSettings::TState::Created},
      {"child of a volatile key", uncreatable, TRegSettings::TState::Failed},
      {"name too long", Scratch + "\\" + std::string(300, 'n'), TRegSettings::TState::Failed},
  };
  const long before = LiveKeys();
  for (const auto& c : cases) {
    TRegSettings bad;
    bad.KeyPath = c.path;
    bad.Open();
    EXPECT_EQ(bad.State(), c.state) << c.what;
    bad.WriteInteger("lost", 1);
    bad.WriteBool("lostbool", true);
    bad.WriteString("losttext", "x");
    EXPECT_EQ(bad.ReadInteger("lost", 9), 9) << c.what;
    EXPECT_TRUE(bad.ReadBool("lostbool", true) && !bad.ReadBool("lostbool", false)) << c.what;
    EXPECT_EQ(bad.ReadString("losttext", "d"), "d") << c.what;
    EXPECT_EQ(LiveKeys(), before) << c.what;
  }
  EXPECT_FALSE(KeyExists(uncreatable));
  EXPECT_EQ(ValueCount(Scratch), 0u);

  // failing after an open store: the old key is closed, the store is failed
  s.Open();
  s.KeyPath = uncreatable;
  s.Open();
  EXPECT_EQ(s.State(), TRegSettings::TState::Failed);
  EXPECT_EQ(LiveKeys(), before);
  s.WriteInteger("lost", 1);
  EXPECT_EQ(QueryRaw(Scratch, "lost").rc, ERROR_FILE_NOT_FOUND);
}

// Totals written tick by tick come back whole through LoadSettings, across 2^32 and
// with low halves of 2^31 and more; prints what the writes cost.
TEST_F(RegSettings, TotalsSurviveTheRegistryAndWhatTicksCost) {
  struct : TClock {
    uint32_t Today() override { return 739956; }
    std::string FormatShortDate(uint32_t) override { return "12/6/2026"; }
  } clock;
  s.Open();
  TStatsForm form;
  form.UploadCounter = INT64_C(0xFFFFFFFF) - 500 * 1000;
  form.DownloadCounter = INT64_C(0x27FFFFFFF) - 500 * 1000;
  constexpr int Ticks = 2000;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < Ticks; ++i) AddTransfer(form, s, clock, 1000, 1000);
  const auto t1 = std::chrono::steady_clock::now();
  TStatsForm loaded;
  TFakeGraphWindow window;
  LoadSettings(loaded, s, window);
  const auto t2 = std::chrono::steady_clock::now();
  EXPECT_EQ(std::tuple(loaded.UploadCounter, loaded.DownloadCounter, loaded.ElapsedCounter),
            std::tuple(INT64_C(0xFFFFFFFF) + 1500 * 1000, form.DownloadCounter, static_cast<uint32_t>(Ticks)));
  EXPECT_GE(QueryRaw(Scratch, "download_l").bytes.back(), 0x80) << "a low half past 2^31";
  using us = std::chrono::duration<double, std::micro>;
  std::printf("[ figures ] %d ticks' store writes (5 each): %.0f us per tick; LoadSettings: %.0f us\n", Ticks,
              us(t1 - t0).count() / Ticks, us(t2 - t1).count());
}

// Wine's own file of the user's registry: what a user of the program would find.
TEST_F(RegSettings, UserRegHoldsTheValuesAsStored) {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || !*prefix) GTEST_SKIP() << "not under Wine";
  s.KeyPath = Scratch + "\\File";
  s.Open();
  s.WriteInteger("upload_l", INT32_MIN);
  s.WriteBool("StayOnTop", true);
  s.WriteString("LogFile", "C:\\logs\\t.txt");
  s.WriteString("Adapter", "");
  ::RegFlushKey(s.Key());

  const std::string header = "[Software\\\\Quillmoor\\\\TarveloTest\\\\File]";
  std::string section;
  // Wine 8's server does nothing on RegFlushKey and saves its files every 30 s; wait
  // for that save (at most one period).
  for (int i = 0; i < 90 && section.find("\"Adapter\"") == std::string::npos; ++i) {
    if (i) std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::ifstream in(std::string("Z:") + prefix + "/user.reg", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const size_t at = text.find(header);
    section = at == std::string::npos ? "" : text.substr(at, text.find("\n[", at + 1) - at);
  }
  ASSERT_FALSE(section.empty()) << "no " << header << " in user.reg";
  for (const char* line : {"\"upload_l\"=dword:80000000", "\"StayOnTop\"=dword:00000001",
                           "\"LogFile\"=\"C:\\\\logs\\\\t.txt\"", "\"Adapter\"=\"\""})
    EXPECT_NE(section.find(line), std::string::npos) << line << " in " << section;
}

// The fuzz rounds on the real registry: planted values of any kind and size, read
// through the registry store, loaded and ticked.
TEST(RegSettingsFuzz, RandomRegistryValuesLoadAndTick) {
  const char* const key = "Software\\Quillmoor\\TarveloFuzz";
  fuzz::RunRounds("tarvelo_regfuzz_", 500, [&](fuzz::TGenerator& g) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, key);
    {
      const tk::unique_hkey k = CreateRaw(key);
      ASSERT_TRUE(k);
      for (const auto& p : g.Store())
        ::RegSetValueExA(k.get(), p.Name.c_str(), 0, p.Type, reinterpret_cast<const BYTE*>(p.Bytes.data()),
                         static_cast<DWORD>(p.Bytes.size()));
    }
    TRegSettings store;
    store.KeyPath = key;
    store.Open();
    ASSERT_EQ(store.State(), TRegSettings::TState::Open);
    fuzz::Round(store, g, 12);
  });
  ::RegDeleteTreeA(HKEY_CURRENT_USER, key);
}

std::string SystemShortDate(WORD y, WORD m, WORD d) {
  SYSTEMTIME st{};
  st.wYear = y, st.wMonth = m, st.wDay = d;
  char buf[1024];
  const int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : std::string();
}

TEST(SystemClock, ShortDateIsTheSystemsShortDate) {
  TSystemClock clock;
  const struct { WORD y, m, d; } cases[] = {{2026, 12, 6}, {2000, 1, 1},  {2000, 2, 29},  {1999, 12, 31},
                                            {2038, 1, 19}, {1601, 1, 1},  {9999, 12, 31}, {1600, 12, 31}};
  for (const auto& c : cases)
    EXPECT_EQ(clock.FormatShortDate(DayNumber(c.y, c.m, c.d)), SystemShortDate(c.y, c.m, c.d))
        << c.y << "-" << c.m << "-" << c.d << " (the empty text where the system cannot format it)";
  EXPECT_EQ(clock.FormatShortDate(0), "");
  EXPECT_EQ(clock.FormatShortDate(0xFFFFFFFFu), "");
}

// A user format longer than the first 100-character buffer: the buffer grows.
TEST(SystemClock, LongFormatsGrowTheBuffer) {
  // 109 characters on a Wednesday: past the first buffer, and still within what Wine's
  // ANSI formatter can hand back (it converts through a fixed 128-character buffer).
  char saved[128] = {};
  ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved, sizeof saved), 0);
  const char* picture = "dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd";
  if (!::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture))
    GTEST_SKIP() << "the user's short date format cannot be changed here";
  const std::string text = TSystemClock().FormatShortDate(DayNumber(2026, 12, 9));
  const std::string expected = SystemShortDate(2026, 12, 9);
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved);
  EXPECT_GT(expected.size(), 100u) << expected;
  EXPECT_EQ(text, expected);
  EXPECT_LT(SystemShortDate(2026, 12, 9).size(), 100u) << "format restored";
}

}  // namespace
