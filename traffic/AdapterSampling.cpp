#include "traffic/AdapterSampling.h"

#include <limits>

void ListAdapters(TInterfaceTable& table, const TAdapterSink& sink) {
  std::vector<TIfRow> rows;
  if (!table.Read(rows)) return;
  for (const TIfRow& row : rows) {
    if (row.Type == IfTypeEthernet || row.Type == IfTypePpp || row.Type == IfTypeWireless) sink(row.Descr);
  }
}

bool SampleAdapter(TSamplerState& state, TInterfaceTable& table) {
  // An empty name means no adapter is chosen; it must not pick up a nameless row.
  if (state.AdapterName.empty()) return false;
  std::vector<TIfRow> rows;
  if (!table.Read(rows)) return false;
  for (const TIfRow& row : rows) {
    if (!table.SameDescription(row.Descr, state.AdapterName)) continue;
    state.PrevSentOctets = state.SentOctets;
    state.PrevRecvOctets = state.RecvOctets;
    state.RecvOctets = row.InOctets;
    state.SentOctets = row.OutOctets;
    return true;
  }
  return false;
}

uint32_t CounterDelta(uint32_t current, uint32_t previous) {
  return current - previous;  // unsigned arithmetic is modulo 2^32: a wrap comes out right
}

int32_t TickDelta(uint32_t delta) {
  if (delta > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<int32_t>(delta);
}

TTrafficDeltas SampleTraffic(TSamplerState& state, TInterfaceTable& table) {
  TTrafficDeltas d;
  if (!SampleAdapter(state, table)) return d;
  d.Down = TickDelta(CounterDelta(state.RecvOctets, state.PrevRecvOctets));
  d.Up = TickDelta(CounterDelta(state.SentOctets, state.PrevSentOctets));
  state.UpTotal += static_cast<uint64_t>(d.Up);
  state.DownTotal += static_cast<uint64_t>(d.Down);
  return d;
}

void StartSampling(TSamplerState& state, TInterfaceTable& table, const std::function<void()>& enableTimer) {
  state.SentOctets = 0;
  state.RecvOctets = 0;
  state.UpTotal = 0;
  state.DownTotal = 0;
  if (enableTimer) enableTimer();
  // The priming reading also makes the first tick's deltas cover one tick only.
  if (SampleAdapter(state, table)) {
    state.DownTotal = state.RecvOctets;
    state.UpTotal = state.SentOctets;
  }
}
