#include "traffic/IfTableReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
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

// A 32-bit reading taken between two 64-bit kernel readings lies between them, modulo 2^32.
bool Between(uint64_t before, uint32_t reading, uint64_t after) {
  return static_cast<uint32_t>(reading - static_cast<uint32_t>(before)) <= after - before;
}

TEST(IfTableReader, ListsThisMachinesInterfacesWithTheKernelsCounters) {
  const auto before = LinuxInterfaces();
  ASSERT_FALSE(before.empty()) << "no interfaces under /sys/class/net";
  TIfTableReader reader;
  std::vector<TIfRow> rows;
  ASSERT_TRUE(reader.Read(rows));
  const auto after = LinuxInterfaces();
  // Wine describes each interface by its Linux name, one row each; only Ethernet and
  // PPP rows are offered, in table order.
  std::vector<std::string> names, linuxNames, offered, want;
  for (const auto& [name, i] : before) linuxNames.push_back(name);
  for (const TIfRow& row : rows) {
    names.push_back(row.Descr);
    if (!before.count(row.Descr) || !after.count(row.Descr)) continue;
    const auto [type, rx0, tx0] = before.at(row.Descr);
    const auto [unused, rx1, tx1] = after.at(row.Descr);
    EXPECT_EQ(row.Type, type == 1 ? IfTypeEthernet : type == 772 ? 24u : row.Type) << row.Descr << " (24: loopback)";
    EXPECT_TRUE(Between(rx0, row.InOctets, rx1) && Between(tx0, row.OutOctets, tx1))
        << row.Descr << " " << row.InOctets << " in, " << row.OutOctets << " out; kernel " << rx0 << ".." << rx1
        << " in, " << tx0 << ".." << tx1 << " out";
    if (row.Type == IfTypeEthernet || row.Type == IfTypePpp) want.push_back(row.Descr);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, linuxNames);
  ListAdapters(reader, [&](const std::string& d) { offered.push_back(d); });
  EXPECT_EQ(offered, want);
  EXPECT_EQ(std::count(offered.begin(), offered.end(), "lo"), 0);
}

// ---- the reader against a misbehaving GetIfTable ----

struct TFakeSystem {
  DWORD FirstAnswer = ERROR_INSUFFICIENT_BUFFER, SecondAnswer = NO_ERROR;
  ULONG Size = 0;  // what the size query reports
  std::vector<MIB_IFROW> Rows;
  DWORD ClaimedEntries = 0;  // dwNumEntries written into the table
  int Calls = 0;
  bool SortFlagAlwaysSet = true;
} Fake;

DWORD WINAPI FakeGetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order) {
  ++Fake.Calls;
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
      {"size query fails", ERROR_NOT_SUPPORTED, NO_ERROR, 0},
      {"table grew between the calls", ERROR_INSUFFICIENT_BUFFER, ERROR_INSUFFICIENT_BUFFER, 0},
      {"data call fails", ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER, 0},
      {"size too small for the header", ERROR_INSUFFICIENT_BUFFER, NO_ERROR, 2},
  };
  for (const auto& c : cases) {
    SetTable({{6, "NIC", 1, 1}});
    Fake.FirstAnswer = c.first, Fake.SecondAnswer = c.second;
    if (c.size) Fake.Size = c.size;
    TIfTableReader reader(FakeGetIfTable);
    std::vector<TIfRow> rows = {{6, "stale", 0, 0}};
    TSamplerState form;
    form.AdapterName = "NIC";
    EXPECT_TRUE(!reader.Read(rows) && rows.empty() && !SampleAdapter(form, reader)) << c.what;
  }
}

TEST(IfTableReader, TakesRowsInOrderNeverPastTheDescriptionOrTheBuffer) {
  SetTable({{6, std::string(300, 'A'), 5, 6}, {23, "Modem", 4294967295u, 7}, {24, "lo", 1, 2}});  // no NUL in row 1
  Fake.ClaimedEntries = 100000;  // more rows than the buffer holds
  TIfTableReader reader(FakeGetIfTable);
  std::vector<TIfRow> rows = {{6, "stale", 0, 0}};
  ASSERT_TRUE(reader.Read(rows));
  EXPECT_TRUE(Fake.Calls == 2 && Fake.SortFlagAlwaysSet);
  std::vector<std::tuple<uint32_t, std::string, uint32_t, uint32_t>> fields;
  for (const TIfRow& r : rows) fields.emplace_back(r.Type, r.Descr, r.InOctets, r.OutOctets);
  // the next row's name after a full bDescr is not part of the text
  EXPECT_EQ(fields,
            (decltype(fields){{6, std::string(256, 'A'), 5, 6}, {23, "Modem", 4294967295u, 7}, {24, "lo", 1, 2}}));

  const char* const realtek = "Realtek PCIe GBE Family Controller";
  EXPECT_TRUE(reader.SameDescription(realtek, realtek) && reader.SameDescription("", ""));
  EXPECT_FALSE(reader.SameDescription(realtek, "realtek pcie gbe family controller")) << "case counts";
  EXPECT_FALSE(reader.SameDescription("eth0", "eth0 ")) << "so do trailing blanks";
}

}  // namespace
