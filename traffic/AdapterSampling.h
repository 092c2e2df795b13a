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
  bool AdapterAuto = false;  // AdapterName follows the connection in use
  uint64_t SentOctets = 0, RecvOctets = 0;  // latest counter readings
  uint64_t PrevSentOctets = 0, PrevRecvOctets = 0;
  uint64_t UpTotal = 0, DownTotal = 0;  // since sampling started, seeded from the counters
  // Where the latest reading came from: readings of two adapters, of two interfaces
  // or of two counter widths are never subtracted. Empty until the first reading.
  std::string ReadingOf;
  uint32_t ReadingIndex = 0;
  bool ReadingWide = false;
  // Every interface index of the last readable table: one not among them has appeared
  // since, so all its counters hold is traffic not yet seen.
  std::vector<uint32_t> TableIndexes;
};

// How a reading relates to the one before it.
enum class TReading {
  None,      // no table, or the adapter is not in it: the readings stay
  First,     // nothing to compare with: the first reading, another adapter chosen, or
             // an interface that was already there taking the description
  Next,      // the same interface: the counters' difference is the traffic
  Returned,  // an interface new since the last table, or back with its counters started
             // again: all they hold is new
};

using TAdapterSink = std::function<void(const std::string& description)>;

// Every selectable (Ethernet, PPP or wireless) description, in table order, duplicates included.
void ListAdapters(TInterfaceTable& table, const TAdapterSink& sink);

// Reads the table and, if the adapter named AdapterName is in it (the first matching
// row, whatever its type), shifts and stores its counters.
TReading SampleAdapter(TSamplerState& state, TInterfaceTable& table);

// Octets counted between two readings of one counter. 64-bit counters never wrap, so
// a reading below the previous one is a reset and counts what the counter holds since.
// 32-bit ones wrap modulo 2^32, and a difference of 2^31 or more is a reset too, which
// counts 0.
uint64_t CounterDelta(uint64_t current, uint64_t previous, bool wide);

// A delta as a signed 32-bit history sample: saturated, never wrapped.
int32_t TickDelta(uint64_t delta);

struct TTrafficDeltas {
  uint64_t Down = 0;
  uint64_t Up = 0;
};

// The tick's sampling step: this tick's deltas (0 without a reading), added to
// DownTotal/UpTotal. The first reading ever seeds those with the adapter's counters.
TTrafficDeltas SampleTraffic(TSamplerState& state, TInterfaceTable& table);

// Resets the in-memory counters, enables the tick timer through enableTimer and
// takes a priming reading that seeds the totals with the adapter's own counters.
void StartSampling(TSamplerState& state, TInterfaceTable& table, const std::function<void()>& enableTimer);
