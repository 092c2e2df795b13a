#include "traffic/IfTableReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace {

// ---- the real table against the Linux kernel's own view, through Wine's Z: drive ----

const char* const NetDir = "Z:\\sys\\class\\net\\";

struct TLinuxIf {
  uint32_t ArpType = 0;  // ARPHRD_*: 1 Ethernet, 772 loopback
  uint64_t Rx = 0, Tx = 0;
};

bool ReadNumber(const std::string& path, uint64_t& value) {
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return false;
  unsigned long long v = 0;
  const bool ok = std::fscanf(f, "%llu", &v) == 1;
  std::fclose(f);
  value = v;
  return ok;
}

std::map<std::string, TLinuxIf> LinuxInterfaces() {
  std::map<std::string, TLinuxIf> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((std::string(NetDir) + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    const std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    const std::string dir = NetDir + name + "\\";
    TLinuxIf i;
    uint64_t type = 0;
    if (!ReadNumber(dir + "type", type) || !ReadNumber(dir + "statistics\\rx_bytes", i.Rx) ||
        !ReadNumber(dir + "statistics\\tx_bytes", i.Tx))
      continue;
    i.ArpType = static_cast<uint32_t>(type);
    out[name] = i;
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
  ASSERT_FALSE(before.empty()) << "no interfaces under " << NetDir;
  TIfTableReader reader;
  std::vector<TIfRow> rows;
  ASSERT_TRUE(reader.Read(rows));
  const auto after = LinuxInterfaces();

  // Wine describes each interface by its Linux name.
  std::set<std::string> names;
  for (const TIfRow& row : rows) names.insert(row.Descr);
  std::set<std::string> linuxNames;
  for (const auto& [name, i] : before) linuxNames.insert(name);
  EXPECT_EQ(names, linuxNames);
  EXPECT_EQ(rows.size(), names.size()) << "one row per interface";

  for (const TIfRow& row : rows) {
    const auto b = before.find(row.Descr), a = after.find(row.Descr);
    if (b == before.end() || a == after.end()) continue;
    if (b->second.ArpType == 1) {
      EXPECT_EQ(row.Type, IfTypeEthernet) << row.Descr;
    } else if (b->second.ArpType == 772) {
      EXPECT_EQ(row.Type, 24u) << row.Descr << " (software loopback)";
    }
    EXPECT_TRUE(Between(b->second.Rx, row.InOctets, a->second.Rx))
        << row.Descr << " in " << row.InOctets << " kernel " << b->second.Rx << ".." << a->second.Rx;
    EXPECT_TRUE(Between(b->second.Tx, row.OutOctets, a->second.Tx))
        << row.Descr << " out " << row.OutOctets << " kernel " << b->second.Tx << ".." << a->second.Tx;
  }

  // Only Ethernet and PPP rows are offered, in table order.
  std::vector<std::string> offered, want;
  ListAdapters(reader, [&](const std::string& d) { offered.push_back(d); });
  for (const TIfRow& row : rows)
    if (row.Type == IfTypeEthernet || row.Type == IfTypePpp) want.push_back(row.Descr);
  EXPECT_EQ(offered, want);
  EXPECT_EQ(std::count(offered.begin(), offered.end(), "lo"), 0);
}

// ---- a known transfer through the loopback interface ----

struct TSocket {
  SOCKET s = INVALID_SOCKET;
  explicit TSocket(SOCKET v) : s(v) {}
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;
  ~TSocket() {
    if (s != INVALID_SOCKET) closesocket(s);
  }
};

struct TWinsock {
  bool ok;
  TWinsock() {
    WSADATA d;
    ok = WSAStartup(MAKEWORD(2, 2), &d) == 0;
  }
  ~TWinsock() {
    if (ok) WSACleanup();
  }
};

TEST(IfTableReader, SamplingLoopbackSeesAKnownUdpTransfer) {
  TWinsock ws;
  ASSERT_TRUE(ws.ok);
  TSocket rx(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  TSocket tx(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  ASSERT_NE(rx.s, INVALID_SOCKET);
  ASSERT_NE(tx.s, INVALID_SOCKET);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(rx.s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  int len = sizeof addr;
  ASSERT_EQ(getsockname(rx.s, reinterpret_cast<sockaddr*>(&addr), &len), 0);

  // The loopback adapter is never offered, but a hand-stored name still selects it.
  TIfTableReader reader;
  TStatsForm form;
  form.AdapterName = "lo";
  bool enabled = false;
  StartSampling(form, reader, [&] { enabled = true; });
  ASSERT_TRUE(enabled);
  ASSERT_GT(form.DownTotal + form.UpTotal, 0u) << "totals seeded from the adapter's counters";

  constexpr int Datagrams = 40, Size = 1000;
  char payload[Size];
  std::memset(payload, 'x', sizeof payload);
  char sink[Size];
  int received = 0;
  for (int i = 0; i < Datagrams; ++i) {
    ASSERT_EQ(sendto(tx.s, payload, Size, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr), Size);
    if (recv(rx.s, sink, sizeof sink, 0) == Size) ++received;
  }
  ASSERT_EQ(received, Datagrams);

  const TTrafficDeltas d = SampleTraffic(form, reader);
  EXPECT_GE(d.Down, Datagrams * Size);
  EXPECT_GE(d.Up, Datagrams * Size);
  EXPECT_GE(form.DownTotal, static_cast<uint64_t>(Datagrams * Size));
}

// ---- the reader against a misbehaving GetIfTable ----

struct TFakeSystem {
  DWORD FirstAnswer = ERROR_INSUFFICIENT_BUFFER;
  DWORD SecondAnswer = NO_ERROR;
  ULONG Size = 0;  // what the size query reports
  std::vector<MIB_IFROW> Rows;
  DWORD ClaimedEntries = 0;  // dwNumEntries written into the table
  int Calls = 0;
  bool SortFlagAlwaysSet = true;
};
TFakeSystem Fake;

DWORD WINAPI FakeGetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order) {
  ++Fake.Calls;
  if (!order) Fake.SortFlagAlwaysSet = false;
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

MIB_IFROW Row(DWORD type, const char* descr, DWORD in, DWORD out) {
  MIB_IFROW r{};
  r.dwType = type;
  std::strncpy(reinterpret_cast<char*>(r.bDescr), descr, sizeof r.bDescr);
  r.dwInOctets = in;
  r.dwOutOctets = out;
  return r;
}

void SetTable(std::vector<MIB_IFROW> rows) {
  Fake = {};
  Fake.Rows = std::move(rows);
  Fake.ClaimedEntries = static_cast<DWORD>(Fake.Rows.size());
  Fake.Size = static_cast<ULONG>(offsetof(MIB_IFTABLE, table) + Fake.Rows.size() * sizeof(MIB_IFROW));
}

TEST(IfTableReader, AnyUnexpectedAnswerMeansNoTable) {
  struct Case {
    const char* what;
    DWORD first, second;
    ULONG size;
  } cases[] = {
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
    TStatsForm form;
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
  EXPECT_EQ(rows[0].Descr, std::string(256, 'A'));
  EXPECT_EQ(rows[0].InOctets, 5u) << "the field after bDescr is not part of the text";
  EXPECT_EQ(rows[0].OutOctets, 6u);
  EXPECT_EQ(rows[1].Type, 23u);
  EXPECT_EQ(rows[1].Descr, "Modem");
  EXPECT_EQ(rows[1].InOctets, 4294967295u);
  EXPECT_EQ(rows[2].Descr, "lo");
}

TEST(IfTableReader, DescriptionsCompareCaseSensitively) {
  TIfTableReader reader;
  struct Case {
    const char *a, *b;
    bool same;
  } cases[] = {
      {"Realtek PCIe GBE Family Controller", "Realtek PCIe GBE Family Controller", true},
      {"Realtek PCIe GBE Family Controller", "realtek pcie gbe family controller", false},
      {"eth0", "eth0 ", false},
      {"", "", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(reader.SameDescription(c.a, c.b), c.same) << "'" << c.a << "' vs '" << c.b << "'";
}

}  // namespace
