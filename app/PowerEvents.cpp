#include "app/PowerEvents.h"

#include "settings/Settings.h"
#include "traffic/ConnectionInUse.h"

void SystemSuspending(TStatsForm& form, TSettings& store, uint64_t nowMs) {
  NoteSuspend(form.Sleep, nowMs);
  StoreTotals(form, store);
}

void SystemResumed(TStatsForm& form, TSettings& store, TInterfaceTable& table, TRouteTable* routes, uint64_t nowMs) {
  NoteResume(form.Sleep, nowMs);
  // The machine may wake on another network; the next tick then takes a baseline.
  if (form.AdapterAuto && routes && FollowConnection(form.AdapterName, table, *routes))
    store.WriteString("Adapter", form.AdapterName);
}
