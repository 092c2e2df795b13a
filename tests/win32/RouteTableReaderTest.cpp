#include "traffic/RouteTableReader.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Windows ranks a route by its metric and its interface's together (Ethernet's 25 before
// Wi-Fi's 35); Wine has no interface table.
bool interfaceTable = true;
template <typename T>
T* Table(ULONG rows) {
  auto* t = static_cast<T*>(std::calloc(1, sizeof(T) + rows * sizeof(T::Table[0])));
  t->NumEntries = rows;
  return t;
}
DWORD WINAPI Routes(ADDRESS_FAMILY, PMIB_IPFORWARD_TABLE2* out) {
  auto* t = *out = Table<MIB_IPFORWARD_TABLE2>(1);
  t->Table[0].InterfaceIndex = 4, t->Table[0].Metric = 5, t->Table[0].DestinationPrefix.Prefix.si_family = AF_INET6;
  return NO_ERROR;
}
DWORD WINAPI Interfaces(ADDRESS_FAMILY, PMIB_IPINTERFACE_TABLE* out) {
  if (!interfaceTable) return ERROR_NOT_SUPPORTED;
  auto* t = *out = Table<MIB_IPINTERFACE_TABLE>(2);
  t->Table[0].InterfaceIndex = 4, t->Table[0].Family = AF_INET, t->Table[0].Metric = 10;
  t->Table[1].InterfaceIndex = 4, t->Table[1].Family = AF_INET6, t->Table[1].Metric = 35;
  return NO_ERROR;
}

TEST(RouteTableReader, TheInterfacesMetricOfTheSameFamilyIsAdded) {
  for (const bool withInterfaces : {true, false}) {
    interfaceTable = withInterfaces;
    TRouteTableReader reader(&Routes, &Interfaces, [](PVOID p) { std::free(p); });
    std::vector<TRouteRow> rows;
    ASSERT_TRUE(reader.Read(rows) && rows.size() == 1);
    EXPECT_EQ(rows[0].Metric, withInterfaces ? 40u : 5u);
  }
}

}  // namespace
