#include "traffic/ConnectionInUse.h"

bool PhysicalAdapter(const TIfRow& row) {
  switch (row.Type) {
    case IfTypeEthernet:
    case IfTypeWireless:
      return row.Hardware;
    // Dial-up and PPPoE links stand on a miniport the system makes itself, so their
    // hardware flag tells nothing.
    case IfTypePpp:
    case IfTypeWwanPp:
    case IfTypeWwanPp2:
      return true;
    default:
      return false;
  }
}

std::string ConnectionInUse(const std::vector<TIfRow>& rows, const std::vector<TRouteRow>& routes) {
  const TIfRow* best = nullptr;
  uint32_t bestMetric = 0;
  for (const TRouteRow& route : routes) {
    if (route.PrefixLength != 0) continue;
    for (const TIfRow& row : rows) {
      if (row.Index != route.IfIndex || !row.Up || !PhysicalAdapter(row) || row.Descr.empty()) continue;
      if (!best || route.Metric < bestMetric || (route.Metric == bestMetric && row.Index < best->Index)) {
        best = &row;
        bestMetric = route.Metric;
      }
      break;
    }
  }
  return best ? best->Descr : std::string();
}

bool FollowConnection(std::string& adapterName, TInterfaceTable& table, TRouteTable& routes) {
  std::vector<TIfRow> rows;
  std::vector<TRouteRow> routeRows;
  if (!table.Read(rows) || !routes.Read(routeRows)) return false;
  const std::string inUse = ConnectionInUse(rows, routeRows);
  if (inUse.empty() || table.SameDescription(inUse, adapterName)) return false;
  adapterName = inUse;
  return true;
}
