// The registry store against Wine's real registry, below a scratch key.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/FakeMainWindow.h"
#include "settings/SettingsCatalogue.h"
#include "settings/miniReg.h"
#include "settings/uSettingsReg.h"
#include "traffic/Clock.h"
#include "traffic/TransferTotals.h"

namespace {

const char* const kScratch = "Software\\Quillmoor\\TarveloTest";

struct TRawValue {
  LONG rc = ERROR_FILE_NOT_FOUND;
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

TRawValue QueryRaw(const char* path, const char* name) {
  TRawValue v;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  v.rc = ::RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size);
  if (v.rc == ERROR_SUCCESS) {
    v.bytes.resize(size);
    v.rc = ::RegQueryValueExA(key, name, nullptr, &v.type, v.bytes.data(), &size);
    v.bytes.resize(size);
  }
  ::RegCloseKey(key);
  return v;
}

void SetRaw(const char* name, DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(::RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS)
      << name;
  ::RegCloseKey(key);
}

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

DWORD ValueCount(const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD count = 0;
  ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                     nullptr, nullptr, nullptr);
  ::RegCloseKey(key);
  return count;
}

struct RegSettings : ::testing::Test {
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch);
    ASSERT_FALSE(KeyExists(kScratch));
  }
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratch); }
};

TEST_F(RegSettings, OpenCreatesAMissingKeyAndReadsDefaults) {
  TRegSettings s;
  EXPECT_EQ(s.State(), TRegSettings::TState::Created);
  s.KeyPath = kScratch;
  s.Open();
  EXPECT_EQ(s.State(), TRegSettings::TState::Open);
  EXPECT_TRUE(KeyExists(kScratch));
  EXPECT_EQ(s.ReadInteger("ScaleMax", 32768), 32768);
  EXPECT_TRUE(s.ReadBool("Shadow", true));
  EXPECT_FALSE(s.ReadBool("AutoHide", false));
  EXPECT_EQ(s.ReadString("LogFile", "transfer_log.txt"), "transfer_log.txt");
  EXPECT_EQ(ValueCount(kScratch), 0u) << "reading never writes a default";
}

TEST_F(RegSettings, EachKindIsStoredAsItsBytes) {
  TRegSettings s;
  s.KeyPath = kScratch;
  s.Open();
  s.WriteInteger("int", -2);
  s.WriteInteger("big", 0x12345678);
  s.WriteBool("yes", true);
  s.WriteBool("no", false);
  s.WriteString("text", "abc");
  s.WriteString("empty", "");
  struct Case {
    const char* name;
    DWORD type;
    std::vector<BYTE> bytes;
  } const cases[] = {
      {"int", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
      {"big", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
      {"yes", REG_DWORD, {1, 0, 0, 0}},
      {"no", REG_DWORD, {0, 0, 0, 0}},
      {"text", REG_SZ, {'a', 'b', 'c', 0}},
      {"empty", REG_SZ, {0}},
  };
  for (const auto& c : cases) {
    const TRawValue v = QueryRaw(kScratch, c.name);
    EXPECT_EQ(v.rc, ERROR_SUCCESS) << c.name;
    EXPECT_EQ(v.type, c.type) << c.name;
    EXPECT_EQ(v.bytes, c.bytes) << c.name;
  }
  EXPECT_EQ(s.ReadInteger("int", 0), -2);
  EXPECT_EQ(s.ReadString("text", "x"), "abc");
  EXPECT_EQ(s.ReadString("empty", "default"), "") << "the empty text is not the default";
}

TEST_F(RegSettings, ValuesOfOtherKindsAndSizes) {
  TRegSettings s;
  s.KeyPath = kScratch;
  s.Open();
  SetRaw("two", REG_DWORD, std::string("\x02\0\0\0", 4));
  SetRaw("one", REG_DWORD, std::string("\x01\0\0\0", 4));
  SetRaw("sz5", REG_SZ, std::string("abcd\0", 5));
  SetRaw("sz3", REG_SZ, std::string("ab\0", 3));
  SetRaw("bin1", REG_BINARY, std::string("\xFF", 1));
  SetRaw("bin2", REG_BINARY, std::string("\x34\x92", 2));
  SetRaw("bin0", REG_BINARY, std::string());
  SetRaw("bin8", REG_BINARY, std::string("\1\2\3\4\5\6\7\x08", 8));
  SetRaw("qword", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8));
  SetRaw("bintext", REG_BINARY, std::string("path", 4));  // no terminating NUL
  SetRaw("dwordtext", REG_DWORD, std::string("A\0\0\0", 4));

  struct IntCase {
    const char* name;
    int32_t def, expected;
  } const ints[] = {
      {"two", 7, 2},
      {"sz5", 7, 7},  // does not fit in 4 bytes
      {"sz3", 7, 0x6261},
      {"bin1", 7, 0xFF},  // fewer than 4 bytes: zero-extended
      {"bin2", 7, 0x9234},
      {"bin0", 7, 0},
      {"bin8", 7, 7},
      {"qword", 7, 7},
      {"missing", 7, 7},
  };
  for (const auto& c : ints) EXPECT_EQ(s.ReadInteger(c.name, c.def), c.expected) << c.name;

  struct BoolCase {
    const char* name;
    bool def, expected;
  } const bools[] = {
      {"two", true, false},  // only 1 is true
      {"one", false, true},
      {"bin0", true, false},
      {"missing", true, true},
      {"missing", false, false},
      {"sz5", true, true},  // unreadable as an integer: the default
  };
  for (const auto& c : bools)
    EXPECT_EQ(s.ReadBool(c.name, c.def), c.expected) << c.name << " default " << c.def;

  struct TextCase {
    const char* name;
    const char* expected;
  } const texts[] = {
      {"sz5", "abcd"}, {"bin0", ""}, {"bintext", "path"}, {"dwordtext", "A"}, {"missing", "def"},
  };
  for (const auto& c : texts) EXPECT_EQ(s.ReadString(c.name, "def"), c.expected) << c.name;

  const std::string longText(5000, 'x');
  s.WriteString("long", longText);
  EXPECT_EQ(s.ReadString("long", ""), longText);
}

TEST_F(RegSettings, ASecondOpenClosesTheFirstKey) {
  const long before = tk::LiveHandles(tk::THandleFamily::Kernel).load();
  {
    TRegSettings s;
    s.KeyPath = kScratch;
    s.Open();
    HKEY first = s.Key();
    EXPECT_EQ(tk::LiveHandles(tk::THandleFamily::Kernel).load(), before + 1);
    s.Open();
    EXPECT_EQ(tk::LiveHandles(tk::THandleFamily::Kernel).load(), before + 1);
    EXPECT_EQ(s.State(), TRegSettings::TState::Open);
    // the old handle is really closed, not only forgotten
    DWORD count = 0;
    if (first != s.Key()) {
      EXPECT_NE(::RegQueryInfoKeyA(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   &count, nullptr, nullptr, nullptr, nullptr),
                ERROR_SUCCESS);
    }
    s.WriteInteger("after", 5);
    EXPECT_EQ(s.ReadInteger("after", 0), 5);
  }
  EXPECT_EQ(tk::LiveHandles(tk::THandleFamily::Kernel).load(), before);
}

TEST_F(RegSettings, AStoreThatCannotOpenGivesDefaultsAndLosesWrites) {
  // A non-volatile key cannot be created below a volatile one.
  HKEY vol = nullptr;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kScratch) + "\\Volatile").c_str(), 0,
                              nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &vol, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(vol);
  const std::string uncreatable = std::string(kScratch) + "\\Volatile\\Child";

  struct Case {
    const char* what;
    std::string path;
    TRegSettings::TState state;
  } const cases[] = {
      {"empty path", "", TRegSettings::TState::Created},
      {"child of a volatile key", uncreatable, TRegSettings::TState::Failed},
      {"name too long", std::string(kScratch) + "\\" + std::string(300, 'n'),
       TRegSettings::TState::Failed},
  };
  const long before = tk::LiveHandles(tk::THandleFamily::Kernel).load();
  for (const auto& c : cases) {
    TRegSettings s;
    s.KeyPath = c.path;
    s.Open();
    EXPECT_EQ(s.State(), c.state) << c.what;
    s.WriteInteger("lost", 1);
    s.WriteBool("lostbool", true);
    s.WriteString("losttext", "x");
    EXPECT_EQ(s.ReadInteger("lost", 9), 9) << c.what;
    EXPECT_TRUE(s.ReadBool("lostbool", true)) << c.what;
    EXPECT_FALSE(s.ReadBool("lostbool", false)) << c.what;
    EXPECT_EQ(s.ReadString("losttext", "d"), "d") << c.what;
    EXPECT_EQ(tk::LiveHandles(tk::THandleFamily::Kernel).load(), before) << c.what;
  }
  EXPECT_FALSE(KeyExists(uncreatable.c_str()));
  EXPECT_EQ(ValueCount(kScratch), 0u);

  // failing after an open store: the old key is closed, the store is failed
  TRegSettings s;
  s.KeyPath = kScratch;
  s.Open();
  s.KeyPath = uncreatable;
  s.Open();
  EXPECT_EQ(s.State(), TRegSettings::TState::Failed);
  EXPECT_EQ(tk::LiveHandles(tk::THandleFamily::Kernel).load(), before);
  s.WriteInteger("lost", 1);
  EXPECT_EQ(QueryRaw(kScratch, "lost").rc, ERROR_FILE_NOT_FOUND);
}

class TStillClock : public TClock {
public:
  uint32_t Today() override { return 739956; }
  std::string FormatShortDate(uint32_t) override { return "12/6/2026"; }
};

// Totals written tick by tick come back whole through LoadSettings, across 2^32 and
// with low halves of 2^31 and more; prints what the writes cost.
TEST_F(RegSettings, TotalsSurviveTheRegistryAndWhatTicksCost) {
  TRegSettings s;
  s.KeyPath = kScratch;
  s.Open();
  TStatsForm form;
  form.UploadCounter = INT64_C(0xFFFFFFFF) - 500 * 1000;
  form.DownloadCounter = INT64_C(0x27FFFFFFF) - 500 * 1000;
  TStillClock clock;
  constexpr int kTicks = 2000;
  LARGE_INTEGER freq, t0, t1, t2;
  ::QueryPerformanceFrequency(&freq);
  ::QueryPerformanceCounter(&t0);
  for (int i = 0; i < kTicks; ++i) AddTransfer(form, s, clock, 1000, 1000);
  ::QueryPerformanceCounter(&t1);

  TStatsForm loaded;
  TFakeMainWindow window;
  LoadSettings(loaded, s, window);
  ::QueryPerformanceCounter(&t2);
  EXPECT_EQ(loaded.UploadCounter, form.UploadCounter);
  EXPECT_EQ(loaded.DownloadCounter, form.DownloadCounter);
  EXPECT_EQ(loaded.UploadCounter, INT64_C(0xFFFFFFFF) + 1500 * 1000);
  EXPECT_EQ(loaded.ElapsedCounter, static_cast<uint32_t>(kTicks));
  EXPECT_GE(QueryRaw(kScratch, "download_l").bytes.back(), 0x80) << "a low half past 2^31";
  const double us = 1e6 / static_cast<double>(freq.QuadPart);
  std::printf("[ figures ] %d ticks' store writes (5 each): %.0f us per tick; LoadSettings: %.0f us\n",
              kTicks, (t1.QuadPart - t0.QuadPart) * us / kTicks, (t2.QuadPart - t1.QuadPart) * us);
}

// Reads Wine's own file of the user's registry: what a user of the program would find.
std::string ReadUserReg() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix || !*prefix) return {};
  std::string path = std::string("Z:") + prefix + "/user.reg";
  for (char& ch : path)
    if (ch == '/') ch = '\\';
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
  }
  return text;
}

std::string Section(const std::string& userReg, const std::string& header) {
  const size_t at = userReg.find(header);
  if (at == std::string::npos) return {};
  const size_t end = userReg.find("\n[", at + header.size());
  return userReg.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

TEST_F(RegSettings, UserRegHoldsTheValuesAsStored) {
  if (!std::getenv("WINEPREFIX")) GTEST_SKIP() << "not under Wine";
  TRegSettings s;
  s.KeyPath = std::string(kScratch) + "\\File";
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
  for (int i = 0; i < 90; ++i) {
    section = Section(ReadUserReg(), header);
    if (section.find("\"Adapter\"") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }
  ASSERT_FALSE(section.empty()) << "no " << header << " in user.reg";
  EXPECT_NE(section.find("\"upload_l\"=dword:80000000"), std::string::npos) << section;
  EXPECT_NE(section.find("\"StayOnTop\"=dword:00000001"), std::string::npos) << section;
  EXPECT_NE(section.find("\"LogFile\"=\"C:\\\\logs\\\\t.txt\""), std::string::npos) << section;
  EXPECT_NE(section.find("\"Adapter\"=\"\""), std::string::npos) << section;
}

}  // namespace
