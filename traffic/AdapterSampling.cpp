#include "traffic/AdapterSampling.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint64_t Low32 = 0xFFFFFFFFu;
constexpr uint64_t SampleMax = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());

bool Continues(uint64_t current, uint64_t previous, bool wide) {
  return wide ? current >= previous : ((current - previous) & Low32) <= SampleMax;
}

}  // namespace

void ListAdapters(TInterfaceTable& table, const TAdapterSink& sink) {
  std::vector<TIfRow> rows;
  if (!table.Read(rows)) return;
  for (const TIfRow& row : rows) {
    if (row.Type == IfTypeEthernet || row.Type == IfTypePpp || row.Type == IfTypeWireless) sink(row.Descr);
  }
}

TReading SampleAdapter(TSamplerState& state, TInterfaceTable& table) {
  // An empty name means no adapter is chosen; it must not pick up a nameless row.
  if (state.AdapterName.empty()) return TReading::None;
  std::vector<TIfRow> rows;
  if (!table.Read(rows)) return TReading::None;  // says nothing about the adapter
  const TIfRow* row = nullptr;
  for (const TIfRow& r : rows) {
    if (table.SameDescription(r.Descr, state.AdapterName)) {
      row = &r;
      break;
    }
  }
  const bool wasListed = row && std::find(state.TableIndexes.begin(), state.TableIndexes.end(), row->Index) !=
                                    state.TableIndexes.end();
  state.TableIndexes.clear();
  for (const TIfRow& r : rows) state.TableIndexes.push_back(r.Index);
  if (!row) return TReading::None;

  const bool wide = table.WideCounters();
  const uint64_t in = wide ? row->InOctets : row->InOctets & Low32;
  const uint64_t out = wide ? row->OutOctets : row->OutOctets & Low32;
  const bool sameAdapter = state.ReadingOf == state.AdapterName && state.ReadingWide == wide;
  const bool sameInterface = sameAdapter && state.ReadingIndex == row->Index;
  const bool continues =
      sameInterface && Continues(in, state.RecvOctets, wide) && Continues(out, state.SentOctets, wide);
  // Not in the last table and not simply counting on: a new life of the adapter (or its
  // replacement), younger than the last reading, so everything it counted is new. Kept
  // counters after an absence count the gap.
  TReading kind = TReading::First;
  if (sameInterface && (wasListed || continues))
    kind = TReading::Next;
  else if (sameAdapter && !wasListed)
    kind = TReading::Returned;

  state.PrevSentOctets = state.SentOctets;
  state.PrevRecvOctets = state.RecvOctets;
  state.RecvOctets = in;
  state.SentOctets = out;
  state.ReadingOf = state.AdapterName;
  state.ReadingIndex = row->Index;
  state.ReadingWide = wide;
  return kind;
}

uint64_t CounterDelta(uint64_t current, uint64_t previous, bool wide) {
  // A 64-bit counter below its last reading started again from zero since: all it holds
  // is new. Wine shows an interface deleted and re-created between two readings this
  // way, through the old row. A 32-bit reset cannot be told from a wrap so surely.
  if (!Continues(current, previous, wide)) return wide ? current : 0;
  return wide ? current - previous : (current - previous) & Low32;
}

int32_t TickDelta(uint64_t delta) { return static_cast<int32_t>(delta < SampleMax ? delta : SampleMax); }

TTrafficDeltas SampleTraffic(TSamplerState& state, TInterfaceTable& table) {
  TTrafficDeltas d;
  const bool firstEver = state.ReadingOf.empty();
  switch (SampleAdapter(state, table)) {
    case TReading::None:
      return d;
    case TReading::First:
      if (firstEver) {
        state.DownTotal = state.RecvOctets;
        state.UpTotal = state.SentOctets;
      }
      return d;
    case TReading::Next:
      d.Down = CounterDelta(state.RecvOctets, state.PrevRecvOctets, state.ReadingWide);
      d.Up = CounterDelta(state.SentOctets, state.PrevSentOctets, state.ReadingWide);
      break;
    case TReading::Returned:
      d.Down = CounterDelta(state.RecvOctets, 0, state.ReadingWide);
      d.Up = CounterDelta(state.SentOctets, 0, state.ReadingWide);
      break;
  }
  state.DownTotal += d.Down;
  state.UpTotal += d.Up;
  return d;
}

void StartSampling(TSamplerState& state, TInterfaceTable& table, const std::function<void()>& enableTimer) {
  state.SentOctets = state.RecvOctets = 0;
  state.UpTotal = state.DownTotal = 0;
  state.ReadingOf.clear();
  state.TableIndexes.clear();
  if (enableTimer) enableTimer();
  // The priming reading seeds the totals and makes the first tick's deltas cover one
  // tick only.
  SampleTraffic(state, table);
}
