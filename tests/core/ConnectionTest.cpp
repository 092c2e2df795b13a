#include "traffic/ConnectionInUse.h"

#include <gtest/gtest.h>

#include "support/FakeTick.h"

namespace {

class TFakeRoutes : public TRouteTable {
public:
  std::vector<TRouteRow> Rows;
  bool Available = true, Announced = false;
  bool Read(std::vector<TRouteRow>& routes) override { return Available && (routes = Rows, true); }
  bool ChangeAnnounced() override { return std::exchange(Announced, false); }
};

TEST(ConnectionInUse, TheUpPhysicalAdapterWithTheCheapestDefaultRoute) {
  const TIfRow eth{IfTypeEthernet, "eth", 0, 0, 3}, wifi{IfTypeWireless, "wifi", 0, 0, 5};
  const TIfRow tunnel{131, "vpn", 0, 0, 7}, vm{IfTypeEthernet, "vEthernet", 0, 0, 8, true, false};
  const TIfRow down{IfTypeEthernet, "cable out", 0, 0, 9, false}, ppp{IfTypePpp, "dial-up", 0, 0, 10, true, false};
  const TIfRow wwan{IfTypeWwanPp2, "mobile", 0, 0, 11}, loop{24, "lo", 0, 0, 1};
  const struct { const char* what; std::vector<TRouteRow> routes; const char* chosen; } cases[] = {
      {"only a local route", {{3, 24, 0}}, ""},
      {"one default route", {{3, 24, 0}, {3, 0, 25}}, "eth"},
      {"the lower metric, IPv6 or not", {{3, 0, 35}, {5, 0, 30}}, "wifi"},
      {"a tie goes to the lower index", {{5, 0, 30}, {3, 0, 30}}, "eth"},
      {"a tunnel's cheaper route is passed over", {{7, 0, 1}, {5, 0, 50}}, "wifi"},
      {"so is a virtual Ethernet's", {{8, 0, 1}, {3, 0, 50}}, "eth"},
      {"and a loopback's", {{1, 0, 0}}, ""},
      {"an adapter that is down", {{9, 0, 1}, {5, 0, 50}}, "wifi"},
      {"PPP whatever its flag", {{10, 0, 1}, {3, 0, 50}}, "dial-up"},
      {"mobile broadband", {{11, 0, 1}, {3, 0, 50}}, "mobile"},
      {"a route of an interface not in the table", {{42, 0, 0}, {5, 0, 9}}, "wifi"},
  };
  const std::vector<TIfRow> rows{loop, eth, wifi, tunnel, vm, down, ppp, wwan};
  for (const auto& c : cases) EXPECT_EQ(ConnectionInUse(rows, c.routes), c.chosen) << c.what;
}

TEST(FollowConnection, NamesTheConnectionAndKeepsTheAdapterWithoutOne) {
  TFakeInterfaceTable table;
  table.Rows = {{IfTypeEthernet, "eth", 0, 0, 3}, {IfTypeWireless, "wifi", 0, 0, 5}};
  TFakeRoutes routes;
  const struct { const char* what; std::vector<TRouteRow> routes; bool ifTable, routeTable; const char* before;
                 bool changed; const char* after; } cases[] = {
      {"switch", {{5, 0, 1}}, true, true, "eth", true, "wifi"},
      {"already followed", {{3, 0, 1}}, true, true, "eth", false, "eth"},
      {"no default route", {}, true, true, "eth", false, "eth"},
      {"no routes", {{5, 0, 1}}, true, false, "eth", false, "eth"},
      {"no interfaces", {{5, 0, 1}}, false, true, "eth", false, "eth"},
      {"nothing chosen yet", {{3, 0, 1}}, true, true, "", true, "eth"},
  };
  for (const auto& c : cases) {
    routes.Rows = c.routes, table.Available = c.ifTable, routes.Available = c.routeTable;
    std::string name = c.before;
    EXPECT_EQ(FollowConnection(name, table, routes), c.changed) << c.what;
    EXPECT_EQ(name, c.after) << c.what;
  }
}

// The default route moves from the cable to Wi-Fi with traffic on both: each tick
// counts the adapter that carried it, the new one from its first reading on.
TEST(FollowConnection, TheTickCountsEachAdapterOnlyWhileItCarriesTheRoute) {
  TTickRig rig;
  TFakeRoutes routes;
  rig.Ctx.Routes = &routes;
  rig.Table.Rows = {{IfTypeEthernet, "eth", 0, 0, 3}, {IfTypeWireless, "wifi", 0, 0, 5}};
  routes.Rows = {{3, 0, 10}};
  rig.Form.AdapterAuto = true;
  const auto tick = [&](uint64_t eth, uint64_t wifi) {
    rig.Table.Rows[0].InOctets += eth, rig.Table.Rows[1].InOctets += wifi;
    RunTick(rig.Ctx);
    return rig.Form.DownloadCounter;
  };
  EXPECT_EQ(tick(100, 7), 0);  // tick 1: the old "NIC" stays until the routes are looked at
  EXPECT_EQ(tick(100, 7), 0);  // tick 2 looks: "eth"'s first reading is its baseline
  EXPECT_EQ(tick(100, 7), 100);
  routes.Rows = {{5, 0, 10}, {3, 24, 0}};
  EXPECT_EQ(tick(100, 7), 100);  // tick 4 finds Wi-Fi: its baseline
  EXPECT_EQ(tick(100, 7), 107);
  EXPECT_EQ(tick(100, 7), 114);
  routes.Rows = {{3, 0, 1}}, routes.Announced = true;
  EXPECT_EQ(tick(100, 7), 114);  // tick 7, announced: back to the cable, a baseline again
  EXPECT_EQ(tick(100, 7), 214);
  rig.Form.AdapterAuto = false, routes.Rows = {{5, 0, 1}};
  tick(100, 7);
  EXPECT_EQ(tick(100, 7), 414);  // a chosen adapter is not followed away
  EXPECT_EQ(rig.Form.AdapterName, "eth");
  EXPECT_EQ(std::count(rig.Log.begin(), rig.Log.end(), "store Adapter"), 3);
}

}  // namespace
