#include "traffic/RouteTableReader.h"

#include <map>
#include <memory>
#include <utility>

namespace {

template <typename T>
T Lookup(const char* name) {
  const HMODULE iphlpapi = GetModuleHandleA("iphlpapi.dll");
  return iphlpapi ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(iphlpapi, name))) : nullptr;
}

using TNotifyRouteChange2 = DWORD(WINAPI*)(ADDRESS_FAMILY, PIPFORWARD_CHANGE_CALLBACK, PVOID, BOOLEAN, HANDLE*);
using TNotifyIpInterfaceChange = DWORD(WINAPI*)(ADDRESS_FAMILY, PIPINTERFACE_CHANGE_CALLBACK, PVOID, BOOLEAN,
                                                HANDLE*);

}  // namespace

TRouteTableReader::TRouteTableReader()
    : forward_(Lookup<TGetIpForwardTable2>("GetIpForwardTable2")),
      interfaces_(Lookup<TGetIpInterfaceTable>("GetIpInterfaceTable")),
      free_(Lookup<TFreeMibTable>("FreeMibTable")) {
  HANDLE notice = nullptr;
  if (auto notify = Lookup<TNotifyRouteChange2>("NotifyRouteChange2");
      notify && notify(AF_UNSPEC, &OnRouteChange, this, FALSE, &notice) == NO_ERROR)
    routeNotice_.reset(notice);
  notice = nullptr;
  if (auto notify = Lookup<TNotifyIpInterfaceChange>("NotifyIpInterfaceChange");
      notify && notify(AF_UNSPEC, &OnInterfaceChange, this, FALSE, &notice) == NO_ERROR)
    interfaceNotice_.reset(notice);
}

TRouteTableReader::TRouteTableReader(TGetIpForwardTable2 forward, TGetIpInterfaceTable interfaces,
                                     TFreeMibTable freeTable)
    : forward_(forward), interfaces_(interfaces), free_(freeTable) {}

bool TRouteTableReader::Read(std::vector<TRouteRow>& routes) {
  routes.clear();
  if (!forward_ || !free_) return false;
  MIB_IPFORWARD_TABLE2* raw = nullptr;
  if (forward_(AF_UNSPEC, &raw) != NO_ERROR || !raw) return false;
  const std::unique_ptr<MIB_IPFORWARD_TABLE2, TFreeMibTable> table(raw, free_);

  // The system adds the interface's metric to the route's; Wine has no interface
  // table, and its route metrics alone decide there.
  std::map<std::pair<uint32_t, ADDRESS_FAMILY>, uint32_t> ifMetric;
  MIB_IPINTERFACE_TABLE* rawIf = nullptr;
  if (interfaces_ && interfaces_(AF_UNSPEC, &rawIf) == NO_ERROR && rawIf) {
    const std::unique_ptr<MIB_IPINTERFACE_TABLE, TFreeMibTable> ifTable(rawIf, free_);
    for (ULONG i = 0; i < ifTable->NumEntries; ++i) {
      const MIB_IPINTERFACE_ROW& r = ifTable->Table[i];
      ifMetric[{r.InterfaceIndex, r.Family}] = r.Metric;
    }
  }

  routes.reserve(table->NumEntries);
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IPFORWARD_ROW2& r = table->Table[i];
    const auto found = ifMetric.find({r.InterfaceIndex, r.DestinationPrefix.Prefix.si_family});
    const uint64_t metric = uint64_t{r.Metric} + (found != ifMetric.end() ? found->second : 0);
    routes.push_back({r.InterfaceIndex, r.DestinationPrefix.PrefixLength,
                      static_cast<uint32_t>(metric < 0xFFFFFFFFu ? metric : 0xFFFFFFFFu)});
  }
  return true;
}

void WINAPI TRouteTableReader::OnRouteChange(PVOID context, PMIB_IPFORWARD_ROW2, MIB_NOTIFICATION_TYPE) {
  static_cast<TRouteTableReader*>(context)->announced_ = true;
}

void WINAPI TRouteTableReader::OnInterfaceChange(PVOID context, PMIB_IPINTERFACE_ROW, MIB_NOTIFICATION_TYPE) {
  static_cast<TRouteTableReader*>(context)->announced_ = true;
}
