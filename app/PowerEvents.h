// The system going to sleep and waking up, as the main form hands them on.
#pragma once
#include <cstdint>

#include "app/StatsForm.h"

class TSettings;
class TInterfaceTable;
class TRouteTable;

// Counting stops and the totals are stored as they stand.
void SystemSuspending(TStatsForm& form, TSettings& store, uint64_t nowMs);
// Counting goes on at the next tick, without the time asleep, on the connection in use
// when the adapter is chosen automatically.
void SystemResumed(TStatsForm& form, TSettings& store, TInterfaceTable& table, TRouteTable* routes, uint64_t nowMs);
