// The system's routing table behind the connection seam: GetIpForwardTable2 for both
// address families, with the interfaces' metrics where the system gives them, and its
// change notifications where they fire (under Wine they may never do; the caller looks
// again every few seconds anyway).
#pragma once
#include "toolkit/WinApi.h"
#include <ws2ipdef.h>
#include <iphlpapi.h>

#include <atomic>

#include "toolkit/Handles.h"
#include "traffic/ConnectionInUse.h"

class TRouteTableReader : public TRouteTable {
public:
  using TGetIpForwardTable2 = DWORD(WINAPI*)(ADDRESS_FAMILY family, PMIB_IPFORWARD_TABLE2* table);
  using TGetIpInterfaceTable = DWORD(WINAPI*)(ADDRESS_FAMILY family, PMIB_IPINTERFACE_TABLE* table);
  using TFreeMibTable = void(WINAPI*)(PVOID memory);

  // The system's own, looked up at run time, so the program still starts where
  // iphlpapi lacks them (then there are no routes, and no automatic choice).
  TRouteTableReader();
  // Tests hand in their own; no notifications then.
  TRouteTableReader(TGetIpForwardTable2 forward, TGetIpInterfaceTable interfaces, TFreeMibTable freeTable);
  TRouteTableReader(const TRouteTableReader&) = delete;
  TRouteTableReader& operator=(const TRouteTableReader&) = delete;

  bool Read(std::vector<TRouteRow>& routes) override;
  bool ChangeAnnounced() override { return announced_.exchange(false); }

private:
  static void WINAPI OnRouteChange(PVOID context, PMIB_IPFORWARD_ROW2, MIB_NOTIFICATION_TYPE);
  static void WINAPI OnInterfaceChange(PVOID context, PMIB_IPINTERFACE_ROW, MIB_NOTIFICATION_TYPE);

  TGetIpForwardTable2 forward_ = nullptr;
  TGetIpInterfaceTable interfaces_ = nullptr;
  TFreeMibTable free_ = nullptr;
  // Set by the system's notification threads, taken by the tick.
  std::atomic<bool> announced_{false};
  // Cancelled before the flag they write goes (members die in reverse order).
  tk::unique_mib_notification routeNotice_, interfaceNotice_;
};
