#include "traffic/IfTableReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

namespace {

// The Linux kernel's own view of its interfaces, through Wine's Z: drive.
struct TLinuxIf {
  uint64_t ArpType = 0, Rx = 0, Tx = 0;  // ARPHRD_*: 1 Ethernet, 772 loopback
};
std::map<std::string, TLinuxIf> LinuxInterfaces() {
  const std::string netDir = "Z:\\sys\\class\\net\\";
  std::map<std::string, TLinuxIf> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((netDir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    const std::string dir = netDir + fd.cFileName + "\\";
    TLinuxIf i;
    if (std::ifstream(dir + "type") >> i.ArpType && std::ifstream(dir + "statistics\\rx_bytes") >> i.Rx &&
        std::ifstream(dir + "statistics\\tx_bytes") >> i.Tx)
      out[fd.cFileName] = i;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
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

  // Wine describes each interface by its Linux name, one row each.
  std::set<std::string> names, linuxNames;
  for (const TIfRow& row : rows) names.insert(row.Descr);
  for (const auto& [name, i] : before) linuxNames.insert(name);
  EXPECT_EQ(names, linuxNames);
  EXPECT_EQ(rows.size(), names.size());

  std::vector<std::string> offered, want;
  for (const TIfRow& row : rows) {
    const auto b = before.find(row.Descr), a = after.find(row.Descr);
    if (b == before.end() || a == after.end()) continue;
    const uint32_t type = b->second.ArpType == 1 ? IfTypeEthernet : b->second.ArpType == 772 ? 24 : row.Type;
    EXPECT_EQ(row.Type, type) << row.Descr << " (24: software loopback)";
    EXPECT_TRUE(Between(b->second.Rx, row.InOctets, a->second.Rx))
        << row.Descr << " in " << row.InOctets << " kernel " << b->second.Rx << ".." << a->second.Rx;
    EXPECT_TRUE(Between(b->second.Tx, row.OutOctets, a->second.Tx))
        << row.Descr << " out " << row.OutOctets << " kernel " << b->second.Tx << ".." << a->second.Tx;
    if (row.Type == IfTypeEthernet || row.Type == IfTypePpp) want.push_back(row.Descr);
  }
  // Only Ethernet and PPP rows are offered, in table order.
  ListAdapters(reader, [&](const std::string& d) { offered.push_back(d); });
  EXPECT_EQ(offered, want);
  EXPECT_EQ(std::count(offered.begin(), offered.end(), "lo"), 0);
}

TEST(IfTableReader, SamplingLoopbackSeesAKnownUdpTransfer) {
  struct TWinsock {
    WSADATA data;
    int rc = WSAStartup(MAKEWORD(2, 2), &data);
    ~TWinsock() {
      if (rc == 0) WSACleanup();
    }
  } winsock;
  ASSERT_EQ(winsock.rc, 0);
  struct TSocket {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    ~TSocket() { closesocket(s); }
  } rx, tx;
  ASSERT_NE(rx.s, INVALID_SOCKET);
  ASSERT_NE(tx.s, INVALID_SOCKET);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof addr;
  ASSERT_EQ(bind(rx.s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(getsockname(rx.s, reinterpret_cast<sockaddr*>(&addr), &len), 0);

  // The loopback adapter is never offered, but a hand-stored name still selects it.
  TIfTableReader reader;
  TSamplerState form;
  form.AdapterName = "lo";
  bool enabled = false;
  StartSampling(form, reader, [&] { enabled = true; });
  ASSERT_TRUE(enabled);
  ASSERT_GT(form.DownTotal + form.UpTotal, 0u) << "totals seeded from the adapter's counters";

  constexpr int Datagrams = 40, Size = 1000;
  char payload[Size] = {}, sink[Size];
  int received = 0;
  for (int i = 0; i < Datagrams; ++i) {
    ASSERT_EQ(sendto(tx.s, payload, Size, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr), Size);
    received += recv(rx.s, sink, sizeof sink, 0) == Size;
  }
  ASSERT_EQ(received, Datagrams);
  const TTrafficDeltas d = SampleTraffic(form, reader);
  EXPECT_GE(d.Down, Datagrams * Size);
  EXPECT_GE(d.Up, Datagrams * Size);
  EXPECT_GE(form.DownTotal, static_cast<uint64_t>(Datagrams * Size));
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
  if (!table) {
    *size = Fake.Size;
    return Fake.FirstAnswer;
  }
  if (Fake.SecondAnswer != NO_ERROR) return Fake.SecondAnswer;
  const size_t room = (*size - offsetof(MIB_IFTABLE, table)) / sizeof(MIB_IFROW);
  table->dwNumEntries = Fake.ClaimedEntries;
  for (size_t i = 0; i < Fake.Rows.size() && i < room; ++i) table->table[i] = Fake.Rows[i];
  return NO_ERROR;
}

void SetTable(std::vector<MIB_IFROW> rows) {
  Fake = {};
  Fake.Rows = std::move(rows);
  Fake.ClaimedEntries = static_cast<DWORD>(Fake.Rows.size());
  Fake.Size = static_cast<ULONG>(offsetof(MIB_IFTABLE, table) + Fake.Rows.size() * sizeof(MIB_IFROW));
}

MIB_IFROW Row(DWORD type, const char* descr, DWORD in, DWORD out) {
  MIB_IFROW r{};
  r.dwType = type;
  std::strncpy(reinterpret_cast<char*>(r.bDescr), descr, sizeof r.bDescr);
  r.dwInOctets = in;
  r.dwOutOctets = out;
  return r;
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
    SetTable({Row(6, "NIC", 1, 1)});
    Fake.FirstAnswer = c.first;
    Fake.SecondAnswer = c.second;
    if (c.size) Fake.Size = c.size;
    TIfTableReader reader(FakeGetIfTable);
    std::vector<TIfRow> rows;
    EXPECT_FALSE(reader.Read(rows)) << c.what;
    EXPECT_TRUE(rows.empty()) << c.what;
    TSamplerState form;
    form.AdapterName = "NIC";
    EXPECT_FALSE(SampleAdapter(form, reader)) << c.what;
  }
}

TEST(IfTableReader, TakesRowsInOrderNeverPastTheDescriptionOrTheBuffer) {
  MIB_IFROW full = Row(6, "", 5, 6);
  std::memset(full.bDescr, 'A', sizeof full.bDescr);  // no NUL anywhere
  SetTable({full, Row(23, "Modem", 4294967295u, 7), Row(24, "lo", 1, 2)});
  Fake.ClaimedEntries = 100000;  // more rows than the buffer holds
  TIfTableReader reader(FakeGetIfTable);
  std::vector<TIfRow> rows = {{6, "stale", 0, 0}};
  ASSERT_TRUE(reader.Read(rows));
  EXPECT_EQ(Fake.Calls, 2);
  EXPECT_TRUE(Fake.SortFlagAlwaysSet);
  ASSERT_EQ(rows.size(), 3u);
  const auto Fields = [](const TIfRow& r) { return std::tuple(r.Type, r.Descr, r.InOctets, r.OutOctets); };
  // the field after bDescr is not part of the text
  EXPECT_EQ(Fields(rows[0]), std::tuple(6u, std::string(256, 'A'), 5u, 6u));
  EXPECT_EQ(Fields(rows[1]), std::tuple(23u, "Modem", 4294967295u, 7u));
  EXPECT_EQ(Fields(rows[2]), std::tuple(24u, "lo", 1u, 2u));

  const char* const realtek = "Realtek PCIe GBE Family Controller";
  EXPECT_TRUE(reader.SameDescription(realtek, realtek) && reader.SameDescription("", ""));
  EXPECT_FALSE(reader.SameDescription(realtek, "realtek pcie gbe family controller")) << "case counts";
  EXPECT_FALSE(reader.SameDescription("eth0", "eth0 ")) << "so do trailing blanks";
}

}  // namespace
