// The registry store and the system clock against Wine's real registry and locale;
// values are planted and read back with the raw API, below a scratch key.
#include "settings/RegSettings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "base/DayNumber.h"
#include "traffic/SystemClock.h"

namespace {

const std::string Scratch = "Software\\Quillmoor\\TarveloTest";
using Bytes = std::vector<BYTE>;
using TState = TRegSettings::TState;

tk::unique_hkey CreateRaw(const std::string& path, DWORD options = 0) {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return tk::unique_hkey(key);
}
bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  return !::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) && tk::unique_hkey(key);
}
// Type and bytes of a stored value; REG_NONE and nothing when there is none.
std::tuple<DWORD, Bytes> QueryRaw(const char* name) {
  Bytes bytes(8192);
  DWORD type = REG_NONE, size = static_cast<DWORD>(bytes.size());
  if (::RegGetValueA(HKEY_CURRENT_USER, Scratch.c_str(), name, RRF_RT_ANY, &type, bytes.data(), &size)) return {};
  return {type, Bytes(bytes.begin(), bytes.begin() + size)};
}
DWORD ValueCount() {
  DWORD n = 0;
  ::RegQueryInfoKeyA(CreateRaw(Scratch).get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr);
  return n;
}
long LiveKeys() { return tk::LiveHandles(tk::THandleFamily::Kernel).load(); }

struct RegSettings : ::testing::Test {
  TRegSettings s;
  void SetUp() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, Scratch.c_str());
    s.KeyPath = Scratch;
  }
  void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, Scratch.c_str()); }
};

TEST_F(RegSettings, OpenCreatesAMissingKeyAndEachKindIsStoredAsItsBytes) {
  EXPECT_EQ(s.State(), TState::Created);
  s.Open();
  EXPECT_TRUE(s.State() == TState::Open && KeyExists(Scratch));
  EXPECT_EQ(std::tuple(s.ReadInteger("ScaleMax", 32768), s.ReadBool("Shadow", true), s.ReadString("LogFile", "log")),
            std::tuple(32768, true, "log"));
  EXPECT_EQ(ValueCount(), 0u) << "reading never writes a default";

  s.WriteInteger("int", -2), s.WriteInteger("big", 0x12345678), s.WriteBool("yes", true), s.WriteBool("no", false);
  s.WriteString("text", "abc"), s.WriteString("empty", "");
  const struct { const char* name; DWORD type; Bytes bytes; } cases[] = {
      {"int", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}}, {"big", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
      {"yes", REG_DWORD, {1, 0, 0, 0}},             {"no", REG_DWORD, {0, 0, 0, 0}},
      {"text", REG_SZ, {'a', 'b', 'c', 0}},         {"empty", REG_SZ, {0}},
  };
  for (const auto& c : cases) EXPECT_EQ(QueryRaw(c.name), std::tuple(c.type, c.bytes)) << c.name;
  EXPECT_EQ(std::tuple(s.ReadInteger("int", 0), s.ReadString("text", "x"), s.ReadString("empty", "default")),
            std::tuple(-2, "abc", "")) << "the empty text is not the default";
}

TEST_F(RegSettings, ValuesOfOtherKindsAndSizes) {
  s.Open();
  const struct { const char* name; DWORD type; std::string bytes; } planted[] = {
      {"two", REG_DWORD, std::string("\2\0\0\0", 4)}, {"one", REG_DWORD, std::string("\1\0\0\0", 4)},
      {"sz5", REG_SZ, std::string("abcd\0", 5)},      {"sz3", REG_SZ, std::string("ab\0", 3)},
      {"bin0", REG_BINARY, ""},                       {"bin8", REG_BINARY, "\1\2\3\4\5\6\7\x08"},
      {"bintext", REG_BINARY, "path"} /* no terminating NUL */, {"dwordtext", REG_DWORD, std::string("A\0\0\0", 4)},
  };
  for (const auto& p : planted)
    ASSERT_EQ(::RegSetValueExA(s.Key(), p.name, 0, p.type, reinterpret_cast<const BYTE*>(p.bytes.data()),
                               static_cast<DWORD>(p.bytes.size())), ERROR_SUCCESS) << p.name;

  // fewer than 4 bytes read zero-extended; more do not fit and give the default
  const struct { const char* name; int32_t expected; } ints[] = {
      {"two", 2}, {"sz3", 0x6261}, {"bin0", 0}, {"bin8", 7}, {"missing", 7}};
  for (const auto& c : ints) EXPECT_EQ(s.ReadInteger(c.name, 7), c.expected) << c.name;

  const struct { const char* name; bool def, expected; } bools[] = {
      {"two", true, false} /* only 1 is true */, {"one", false, true}, {"bin0", true, false},
      {"missing", true, true}, {"missing", false, false}, {"sz5", true, true} /* unreadable: the default */};
  for (const auto& c : bools) EXPECT_EQ(s.ReadBool(c.name, c.def), c.expected) << c.name << " default " << c.def;

  const struct { const char *name, *expected; } texts[] = {
      {"sz5", "abcd"}, {"bin0", ""}, {"bintext", "path"}, {"dwordtext", "A"}, {"missing", "def"}};
  for (const auto& c : texts) EXPECT_EQ(s.ReadString(c.name, "def"), c.expected) << c.name;
}

TEST_F(RegSettings, AStoreThatCannotOpenGivesDefaultsAndLosesWrites) {
  // A non-volatile key cannot be created below a volatile one.
  ASSERT_TRUE(CreateRaw(Scratch + "\\Volatile", REG_OPTION_VOLATILE));
  const std::string uncreatable = Scratch + "\\Volatile\\Child";
  const long before = LiveKeys();
  TRegSettings bad;
  bad.KeyPath = uncreatable;
  bad.Open();
  bad.WriteInteger("lost", 1), bad.WriteBool("lostbool", true), bad.WriteString("losttext", "x");
  EXPECT_EQ(std::tuple(bad.State(), bad.ReadInteger("lost", 9), bad.ReadBool("lostbool", true),
                       bad.ReadBool("lostbool", false), bad.ReadString("losttext", "d"), LiveKeys()),
            std::tuple(TState::Failed, 9, true, false, "d", before));
  EXPECT_FALSE(KeyExists(uncreatable));
  EXPECT_EQ(ValueCount(), 0u);
}

TEST(SystemClock, ShortDatesInTheUsersPicture) {
  // eleven day names: past the first buffer of 100, within the 128 Wine's ANSI formatter can hand back
  char day[32] = {}, saved[128] = {};
  ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME3, day, sizeof day);
  std::string wednesdays = "dddd", expected = day;
  for (int i = 0; i < 10; ++i) wednesdays += " dddd", expected += std::string(" ") + day;
  ASSERT_GT(expected.size(), 100u) << expected;
  ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved, sizeof saved), 0);
  const struct { std::string picture; uint32_t day; std::string text; } cases[] = {
      {"yyyy-MM-dd", DayNumber(1601, 1, 1), "1601-01-01"}, {wednesdays, DayNumber(2026, 12, 9), expected},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, c.picture.c_str())) << c.picture;
    EXPECT_EQ(TSystemClock().FormatShortDate(c.day), c.text) << c.picture << " " << c.day;
  }
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved);
}

}  // namespace
