#include "traffic/RouteTableReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "traffic/IfTableReader.h"

namespace {

// The Linux kernel's default route through Wine's Z: drive: its interface's name.
std::string LinuxDefaultRoute() {
  std::ifstream routes("Z:\\proc\\net\\route");
  std::string line, name, destination;
  std::getline(routes, line);  // the heading
  while (std::getline(routes, line))
    if (std::istringstream(line) >> name >> destination && destination == "00000000") return name;
  return {};
}

TEST(RouteTableReader, TheConnectionInUseIsTheKernelsDefaultRoute) {
  const std::string expected = LinuxDefaultRoute();
  if (expected.empty()) GTEST_SKIP() << "this machine has no default route";
  TIfTableReader interfaces;
  TRouteTableReader routes;
  std::vector<TIfRow> rows;
  std::vector<TRouteRow> routeRows;
  ASSERT_TRUE(interfaces.Read(rows) && routes.Read(routeRows));
  EXPECT_EQ(ConnectionInUse(rows, routeRows), expected);
}

// A system that answers with two routes and, where asked, the interfaces' metrics.
bool interfaceTable = true;
DWORD WINAPI ForwardTable(ADDRESS_FAMILY, PMIB_IPFORWARD_TABLE2* table) {
  auto* t = static_cast<MIB_IPFORWARD_TABLE2*>(std::calloc(1, sizeof(MIB_IPFORWARD_TABLE2) + sizeof(MIB_IPFORWARD_ROW2)));
  t->NumEntries = 2;
  t->Table[0].InterfaceIndex = 4, t->Table[0].Metric = 25, t->Table[0].DestinationPrefix.Prefix.si_family = AF_INET;
  t->Table[1].InterfaceIndex = 5, t->Table[1].Metric = 0xFFFFFFF0, t->Table[1].DestinationPrefix.PrefixLength = 64;
  t->Table[1].DestinationPrefix.Prefix.si_family = AF_INET6;
  *table = t;
  return NO_ERROR;
}
DWORD WINAPI NoForwardTable(ADDRESS_FAMILY, PMIB_IPFORWARD_TABLE2*) { return ERROR_NOT_SUPPORTED; }
DWORD WINAPI InterfaceTable(ADDRESS_FAMILY, PMIB_IPINTERFACE_TABLE* table) {
  if (!interfaceTable) return ERROR_NOT_SUPPORTED;
  auto* t = static_cast<MIB_IPINTERFACE_TABLE*>(std::calloc(1, sizeof(MIB_IPINTERFACE_TABLE) + sizeof(MIB_IPINTERFACE_ROW)));
  t->NumEntries = 2;
  t->Table[0].InterfaceIndex = 4, t->Table[0].Family = AF_INET, t->Table[0].Metric = 10;
  t->Table[1].InterfaceIndex = 5, t->Table[1].Family = AF_INET6, t->Table[1].Metric = 100;
  *table = t;
  return NO_ERROR;
}
void WINAPI FreeTable(PVOID memory) { std::free(memory); }

TEST(RouteTableReader, RouteAndInterfaceMetricsTogether) {
  const struct { bool forward, interfaces; bool read; uint32_t metric0, metric1; } cases[] = {
      {true, true, true, 35, 0xFFFFFFFF},  // the sum kept within 32 bits
      {true, false, true, 25, 0xFFFFFFF0},  // Wine: the route's metric alone
      {false, true, false, 0, 0},
  };
  for (const auto& c : cases) {
    interfaceTable = c.interfaces;
    TRouteTableReader reader(c.forward ? &ForwardTable : &NoForwardTable, &InterfaceTable, &FreeTable);
    std::vector<TRouteRow> rows{{9, 9, 9}};
    ASSERT_EQ(reader.Read(rows), c.read);
    if (!c.read) {
      EXPECT_TRUE(rows.empty());
      continue;
    }
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::tuple(rows[0].IfIndex, rows[0].PrefixLength, rows[0].Metric, rows[1].PrefixLength, rows[1].Metric),
              std::tuple(4u, uint8_t{0}, c.metric0, uint8_t{64}, c.metric1)) << c.interfaces;
  }
}

}  // namespace
