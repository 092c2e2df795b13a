// The connection in use: the physical adapter that carries the default route, which
// the automatic adapter choice follows through a change of cable, Wi-Fi or route.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "traffic/InterfaceTable.h"

// One row of the routing table, IPv4 or IPv6, as much of it as the choice needs.
struct TRouteRow {
  uint32_t IfIndex = 0;
  uint8_t PrefixLength = 0;  // 0 is a default route
  uint32_t Metric = 0;       // the route's and its interface's together; lower wins
};

// Where the routes come from: the system's routing table, or a fake in tests.
class TRouteTable {
public:
  virtual ~TRouteTable() = default;
  // False when there is no table.
  virtual bool Read(std::vector<TRouteRow>& routes) = 0;
  // A change was announced since the last call (always false where nothing announces).
  virtual bool ChangeAnnounced() { return false; }
};

// Ethernet, Wi-Fi, PPP or mobile broadband, and not made by software; a tunnel, a
// loopback or a virtual machine's or VPN's Ethernet is not.
bool PhysicalAdapter(const TIfRow& row);

// The description of the up, physical adapter with the default route of the lowest
// metric (the lower index on a tie); empty when none has one.
std::string ConnectionInUse(const std::vector<TIfRow>& rows, const std::vector<TRouteRow>& routes);

// Ticks between two looks at the routes when nothing announces a change: a switch is
// followed within this many seconds and one tick.
inline constexpr int32_t ConnectionPollTicks = 2;

// Points adapterName at the connection in use; true when it named another adapter.
// Without tables, or with no connection, it keeps the adapter it has.
bool FollowConnection(std::string& adapterName, TInterfaceTable& table, TRouteTable& routes);
