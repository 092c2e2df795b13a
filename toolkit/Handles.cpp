#include "toolkit/Handles.h"

namespace tk {

std::atomic<long>& LiveHandles(THandleFamily family) {
  static std::atomic<long> counts[3];
  return counts[static_cast<int>(family)];
}

}  // namespace tk

void tk::detail::CancelMibNotification(HANDLE h) {
  using TCancel = DWORD(WINAPI*)(HANDLE);
  const HMODULE iphlpapi = GetModuleHandleA("iphlpapi.dll");
  if (auto cancel = iphlpapi ? reinterpret_cast<TCancel>(reinterpret_cast<void*>(
                                   GetProcAddress(iphlpapi, "CancelMibChangeNotify2")))
                             : nullptr)
    cancel(h);
}
