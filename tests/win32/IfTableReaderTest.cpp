#include "traffic/IfTableReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>

namespace {

// The Linux kernel's own view of its interfaces through Wine's Z: drive: ARPHRD type
// (1 Ethernet, 772 loopback) and the received and sent octets.
std::map<std::string, std::tuple<int, uint64_t, uint64_t>> LinuxInterfaces() {
  std::map<std::string, std::tuple<int, uint64_t, uint64_t>> out;
  WIN32_FIND_DATAA fd;
  const HANDLE h = FindFirstFileA("Z:\\sys\\class\\net\\*", &fd);
  for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &fd)) {
    const std::string dir = std::string("Z:\\sys\\class\\net\\") + fd.cFileName + "\\";
    int type = 0;
    uint64_t rx = 0, tx = 0;
    if (std::ifstream(dir + "type") >> type && std::ifstream(dir + "statistics\\rx_bytes") >> rx &&
        std::ifstream(dir + "statistics\\tx_bytes") >> tx)
      out[fd.cFileName] = {type, rx, tx};
  }
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
  return out;
}

// A reading taken between two kernel readings lies between them; a 32-bit one modulo 2^32.
bool Between(uint64_t before, uint64_t reading, uint64_t after, bool wide) {
  if (wide) return before <= reading && reading <= after;
  return reading <= UINT32_MAX && static_cast<uint32_t>(reading - before) <= after - before;
}

TEST(IfTableReader, BothTablesListThisMachinesInterfacesWithTheKernelsCounters) {
  TIfTableReader wide, narrow(::GetIfTable);
  ASSERT_TRUE(wide.WideCounters() && !narrow.WideCounters()) << "Wine has GetIfTable2";
  const auto before = LinuxInterfaces();
  std::vector<TIfRow> rows[2];
  ASSERT_TRUE(narrow.Read(rows[0]) && wide.Read(rows[1]));
  const auto after = LinuxInterfaces();
  std::vector<std::string> linuxNames;
  for (const auto& [name, i] : before) linuxNames.push_back(name);
  ASSERT_FALSE(linuxNames.empty()) << "no interfaces under /sys/class/net";
  // Wine describes each interface by its Linux name in both tables, one row each, in
  // the same order and with the same index, so a stored adapter matches either way.
  std::vector<std::tuple<uint32_t, std::string, uint32_t>> keys[2];
  for (int w = 0; w < 2; ++w) {
    std::vector<std::string> names;
    for (const TIfRow& row : rows[w]) {
      keys[w].emplace_back(row.Type, row.Descr, row.Index);
      names.push_back(row.Descr);
      if (!before.count(row.Descr) || !after.count(row.Descr)) continue;
      const auto [type, rx0, tx0] = before.at(row.Descr);
      const auto [unused, rx1, tx1] = after.at(row.Descr);
      EXPECT_EQ(row.Type, type == 1 ? IfTypeEthernet : type == 772 ? 24u : row.Type) << row.Descr << " (24: loopback)";
      EXPECT_TRUE(Between(rx0, row.InOctets, rx1, w) && Between(tx0, row.OutOctets, tx1, w))
          << row.Descr << (w ? " 64" : " 32") << "-bit: " << row.InOctets << " in, " << row.OutOctets << " out";
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, linuxNames);
  }
  EXPECT_EQ(keys[1], keys[0]);
}

// ---- the reader against a misbehaving GetIfTable ----

struct TFakeSystem {
  DWORD FirstAnswer = ERROR_INSUFFICIENT_BUFFER, SecondAnswer = NO_ERROR;
  ULONG Size = 0;  // what the size query reports
  std::vector<MIB_IFROW> Rows;
  DWORD ClaimedEntries = 0;  // dwNumEntries written into the table
  bool SortFlagAlwaysSet = true;
} Fake;

DWORD WINAPI FakeGetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order) {
  Fake.SortFlagAlwaysSet &= order != FALSE;
  if (!table) return *size = Fake.Size, Fake.FirstAnswer;
  if (Fake.SecondAnswer != NO_ERROR) return Fake.SecondAnswer;
  const size_t room = (*size - offsetof(MIB_IFTABLE, table)) / sizeof(MIB_IFROW);
  table->dwNumEntries = Fake.ClaimedEntries;
  for (size_t i = 0; i < Fake.Rows.size() && i < room; ++i) table->table[i] = Fake.Rows[i];
  return NO_ERROR;
}

void SetTable(std::vector<std::tuple<DWORD, std::string, DWORD, DWORD>> rows) {
  Fake = {};
  for (const auto& [type, descr, in, out] : rows) {
    MIB_IFROW& r = Fake.Rows.emplace_back();
    r.dwType = type, r.dwInOctets = in, r.dwOutOctets = out, r.wszName[0] = L'N';  // a name right after bDescr
    std::memcpy(r.bDescr, descr.data(), std::min(descr.size(), sizeof r.bDescr));
  }
  Fake.ClaimedEntries = static_cast<DWORD>(Fake.Rows.size());
  Fake.Size = static_cast<ULONG>(offsetof(MIB_IFTABLE, table) + Fake.Rows.size() * sizeof(MIB_IFROW));
}

TEST(IfTableReader, AnyUnexpectedAnswerMeansNoTable) {
  const struct { const char* what; DWORD first, second; ULONG size; } cases[] = {
      {"size query succeeds outright", NO_ERROR, NO_ERROR, 0},
      {"table grew between the calls", ERROR_INSUFFICIENT_BUFFER, ERROR_INSUFFICIENT_BUFFER, 0},
      {"size too small for the header", ERROR_INSUFFICIENT_BUFFER, NO_ERROR, 2},
  };
  for (const auto& c : cases) {
    SetTable({{6, "NIC", 1, 1}});
    Fake.FirstAnswer = c.first, Fake.SecondAnswer = c.second;
    if (c.size) Fake.Size = c.size;
    std::vector<TIfRow> rows = {{6, "stale", 0, 0}};
    EXPECT_TRUE(!TIfTableReader(FakeGetIfTable).Read(rows) && rows.empty()) << c.what;
  }
}

using TFields = std::vector<std::tuple<uint32_t, std::string, uint64_t, uint64_t>>;

TEST(IfTableReader, TakesRowsInOrderNeverPastTheDescriptionOrTheBuffer) {
  SetTable({{6, std::string(300, 'A'), 5, 6}, {23, "Modem", 4294967295u, 7}, {24, "lo", 1, 2}});  // no NUL in row 1
  Fake.ClaimedEntries = 100000;  // more rows than the buffer holds
  TIfTableReader reader(FakeGetIfTable);
  std::vector<TIfRow> rows = {{6, "stale", 0, 0}};
  ASSERT_TRUE(reader.Read(rows) && Fake.SortFlagAlwaysSet);
  TFields fields;
  for (const TIfRow& r : rows) fields.emplace_back(r.Type, r.Descr, r.InOctets, r.OutOctets);
  EXPECT_EQ(fields, (TFields{{6, std::string(256, 'A'), 5, 6}, {23, "Modem", 4294967295u, 7}, {24, "lo", 1, 2}}));
  const char* const realtek = "Realtek PCIe GBE Family Controller";
  EXPECT_TRUE(reader.SameDescription(realtek, realtek) && reader.SameDescription("", ""));
  EXPECT_FALSE(reader.SameDescription(realtek, "realtek pcie gbe family controller")) << "case counts";
  EXPECT_FALSE(reader.SameDescription("eth0", "eth0 ")) << "so do trailing blanks";
}

// ---- the 64-bit table, allocated by the system and freed through FreeMibTable ----

struct TFakeSystem2 {
  bool NullTable = false;  // success without a table
  std::vector<MIB_IF_ROW2> Rows;
  int Tables = 0, Frees = 0;
} Fake2;

DWORD WINAPI FakeGetIfTable2(PMIB_IF_TABLE2* table) {
  *table = nullptr;
  if (Fake2.NullTable) return NO_ERROR;
  const size_t size = offsetof(MIB_IF_TABLE2, Table) + (Fake2.Rows.size() + 1) * sizeof(MIB_IF_ROW2);
  auto* t = static_cast<MIB_IF_TABLE2*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
  t->NumEntries = static_cast<ULONG>(Fake2.Rows.size());
  std::copy(Fake2.Rows.begin(), Fake2.Rows.end(), t->Table);
  ++Fake2.Tables;
  return *table = t, NO_ERROR;
}

void WINAPI FakeFreeMibTable(PVOID table) { ++Fake2.Frees, HeapFree(GetProcessHeap(), 0, table); }

MIB_IF_ROW2 Row2(ULONG index, std::wstring descr, ULONG64 in = 0, ULONG64 out = 0) {
  MIB_IF_ROW2 r{};
  r.InterfaceIndex = index, r.Type = IfTypeEthernet, r.InOctets = in, r.OutOctets = out;
  std::copy_n(descr.begin(), std::min(descr.size(), std::size(r.Description)), r.Description);
  r.PhysicalAddressLength = 6;  // what follows the description, so reading past it shows
  return r;
}

TEST(IfTableReader, WideTableInIndexOrderWithWholeDescriptionsAndEveryTableFreed) {
  const std::wstring full(std::size(MIB_IF_ROW2{}.Description), L'D');  // no NUL left
  Fake2 = {};
  Fake2.Rows = {Row2(7, L"seven", 1, 2), Row2(3, L"", 0x123456789AB, 0xFFFFFFFFFFFFFFFF), Row2(3, full),
                Row2(4, L"caf\u00e9")};
  TIfTableReader reader(FakeGetIfTable, FakeGetIfTable2, FakeFreeMibTable);
  std::vector<TIfRow> rows;
  ASSERT_TRUE(reader.WideCounters() && reader.Read(rows));
  TFields fields;
  for (const TIfRow& r : rows) fields.emplace_back(r.Index, r.Descr, r.InOctets, r.OutOctets);
  const std::string cafe = GetACP() == 1252 ? "caf\xE9" : std::get<1>(fields.at(2));  // in the ANSI code page
  EXPECT_EQ(fields, (TFields{{3, "", 0x123456789AB, 0xFFFFFFFFFFFFFFFF}, {3, std::string(full.size(), 'D'), 0, 0},
                             {4, cafe, 0, 0}, {7, "seven", 1, 2}}));
  TSamplerState form;
  form.AdapterName = std::string(full.size(), 'D');
  EXPECT_EQ(SampleAdapter(form, reader), TReading::First) << "the longest description is found again";

  // success without a table: no table, and nothing of the system's to free
  Fake2.NullTable = true;
  rows = {{6, "stale", 0, 0}};
  EXPECT_TRUE(!reader.Read(rows) && rows.empty());
  EXPECT_EQ(std::tuple(Fake2.Tables, Fake2.Frees), std::tuple(2, 2));

  // the pair is used only whole: without FreeMibTable the reader keeps to GetIfTable
  SetTable({{6, "narrow", 4294967295u, 1}});
  TIfTableReader noFree(FakeGetIfTable, FakeGetIfTable2, nullptr);
  ASSERT_TRUE(!noFree.WideCounters() && noFree.Read(rows) && rows.size() == 1);
  EXPECT_EQ(std::tuple(rows[0].Descr, rows[0].InOctets, Fake2.Tables), std::tuple("narrow", 4294967295u, 2));
}

}  // namespace
