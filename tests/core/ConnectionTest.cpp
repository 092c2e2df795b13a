#include "traffic/ConnectionInUse.h"

#include <gtest/gtest.h>

#include "support/FakeInterfaceTable.h"

namespace {

class TFakeRoutes : public TRouteTable {
public:
  std::vector<TRouteRow> Rows;
  bool Available = true;
  bool Read(std::vector<TRouteRow>& routes) override { return Available && (routes = Rows, true); }
};

TEST(ConnectionInUse, TheUpPhysicalAdapterWithTheCheapestDefaultRoute) {
  const std::vector<TIfRow> rows{{24, "lo", 0, 0, 1}, {IfTypeEthernet, "eth", 0, 0, 3}, {IfTypeWireless, "wifi", 0, 0, 5},
                                 {131, "vpn", 0, 0, 7}, {IfTypeEthernet, "vEthernet", 0, 0, 8, true, false},
                                 {IfTypeEthernet, "unplugged", 0, 0, 9, false}, {IfTypePpp, "dial-up", 0, 0, 10, true, false},
                                 {IfTypeWwanPp2, "mobile", 0, 0, 11}};
  const struct { std::vector<TRouteRow> routes; const char* chosen; } cases[] = {
      {{{3, 24, 0}}, ""},                   // no default route
      {{{3, 0, 35}, {5, 0, 30}}, "wifi"},   // the lower metric
      {{{5, 0, 30}, {3, 0, 30}}, "eth"},    // a tie: the lower index
      {{{7, 0, 1}, {5, 0, 50}}, "wifi"},    // a tunnel passed over
      {{{8, 0, 1}, {3, 0, 50}}, "eth"},     // a virtual Ethernet too
      {{{1, 0, 0}, {9, 0, 1}}, ""},         // loopback, and an adapter that is down
      {{{10, 0, 1}, {3, 0, 50}}, "dial-up"}, {{{11, 0, 1}, {3, 0, 50}}, "mobile"},
      {{{42, 0, 0}, {5, 0, 9}}, "wifi"},    // an interface not in the table
  };
  for (const auto& c : cases) EXPECT_EQ(ConnectionInUse(rows, c.routes), c.chosen) << c.chosen;
}

TEST(FollowConnection, KeepsTheAdapterWithoutAConnectionOrTables) {
  TFakeInterfaceTable table;
  table.Rows = {{IfTypeEthernet, "eth", 0, 0, 3}, {IfTypeWireless, "wifi", 0, 0, 5}};
  TFakeRoutes routes;
  const struct { std::vector<TRouteRow> routes; bool tables; bool changed; const char* after; } cases[] = {
      {{{5, 0, 1}}, true, true, "wifi"}, {{{3, 0, 1}}, true, false, "eth"}, {{}, true, false, "eth"},
      {{{5, 0, 1}}, false, false, "eth"}};
  for (const auto& c : cases) {
    routes.Rows = c.routes, routes.Available = c.tables;
    std::string name = "eth";
    EXPECT_EQ(std::tuple(FollowConnection(name, table, routes), name), std::tuple(c.changed, c.after)) << c.after;
  }
}

}  // namespace
