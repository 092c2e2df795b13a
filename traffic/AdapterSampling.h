// The watched adapter's octet counters, read from the system's interface table
// and turned into per-tick deltas.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "traffic/InterfaceTable.h"

// What sampling keeps between ticks. Totals are 64-bit so "Downloaded:" stays right
// past 4 GiB.
struct TSamplerState {
  std::string AdapterName;  // description of the watched adapter
  uint32_t SentOctets = 0, RecvOctets = 0;  // latest counter readings
  uint32_t PrevSentOctets = 0, PrevRecvOctets = 0;
  uint64_t UpTotal = 0, DownTotal = 0;  // since sampling started, seeded from the counters
};

using TAdapterSink = std::function<void(const std::string& description)>;

// Every selectable (Ethernet, PPP or wireless) description, in table order, duplicates included.
void ListAdapters(TInterfaceTable& table, const TAdapterSink& sink);

// Reads the table and, if the adapter named AdapterName is in it (the first matching
// row, whatever its type), shifts and stores its counters. False changes nothing.
bool SampleAdapter(TSamplerState& state, TInterfaceTable& table);

// Octets counted between two readings of one wrapping 32-bit counter.
uint32_t CounterDelta(uint32_t current, uint32_t previous);

// A delta as a history sample: 2^31 or more in one tick can only mean the counter
// was reset between readings, so it counts as no traffic.
int32_t TickDelta(uint32_t delta);

struct TTrafficDeltas {
  int32_t Down = 0;
  int32_t Up = 0;
};

// The tick's sampling step: this tick's deltas (0 without a reading), added to
// DownTotal/UpTotal.
TTrafficDeltas SampleTraffic(TSamplerState& state, TInterfaceTable& table);

// Resets the in-memory counters, enables the tick timer through enableTimer and
// takes a priming reading that seeds the totals with the adapter's own counters.
void StartSampling(TSamplerState& state, TInterfaceTable& table, const std::function<void()>& enableTimer);
