#include "traffic/AdapterSampling.h"

#include <limits>

TInterfaceTable::~TInterfaceTable() = default;

void ListAdapters(TInterfaceTable& table, const TAdapterSink& sink) {
  std::vector<TIfRow> rows;
  if (!table.Read(rows)) return;
  for (const TIfRow& row : rows) {
    if (row.Type == IfTypeEthernet || row.Type == IfTypePpp) sink(row.Descr);
  }
}

bool SampleAdapter(TStatsForm& form, TInterfaceTable& table) {
  // An empty name means no adapter is chosen; it must not pick up a nameless row.
  if (form.AdapterName.empty()) return false;
  std::vector<TIfRow> rows;
  if (!table.Read(rows)) return false;
  for (const TIfRow& row : rows) {
    if (!table.SameDescription(row.Descr, form.AdapterName)) continue;
    form.PrevSentOctets = form.SentOctets;
    form.PrevRecvOctets = form.RecvOctets;
    form.RecvOctets = row.InOctets;
    form.SentOctets = row.OutOctets;
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

TTrafficDeltas SampleTraffic(TStatsForm& form, TInterfaceTable& table) {
  TTrafficDeltas d;
  if (!SampleAdapter(form, table)) return d;
  d.Down = TickDelta(CounterDelta(form.RecvOctets, form.PrevRecvOctets));
  d.Up = TickDelta(CounterDelta(form.SentOctets, form.PrevSentOctets));
  form.UpTotal += static_cast<uint64_t>(d.Up);
  form.DownTotal += static_cast<uint64_t>(d.Down);
  return d;
}

void StartSampling(TStatsForm& form, TInterfaceTable& table, const std::function<void()>& enableTimer) {
  form.IdleTicks = 0;
  form.SentOctets = 0;
  form.RecvOctets = 0;
  form.UpRate = 0;
  form.DownRate = 0;
  form.UpTotal = 0;
  form.DownTotal = 0;
  if (enableTimer) enableTimer();
  // The priming reading also makes the first tick's deltas cover one tick only.
  if (SampleAdapter(form, table)) {
    form.DownTotal = form.RecvOctets;
    form.UpTotal = form.SentOctets;
  }
}
