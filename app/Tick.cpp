#include "app/Tick.h"

#include "app/UsageRecorder.h"
#include "base/ByteFormat.h"
#include "base/Rounding.h"
#include "render/Scaling.h"
#include "settings/Settings.h"
#include "traffic/AdapterSampling.h"
#include "traffic/Clock.h"
#include "traffic/ConnectionInUse.h"
#include "traffic/Sleep.h"
#include "traffic/TransferTotals.h"

namespace {

// The clock as the tick read it: the date stays that of the tick's one reading.
class TTickDate final : public TClock {
public:
  TTickDate(TClock& clock, uint32_t today) : clock_(clock), today_(today) {}
  uint32_t Today() override { return today_; }
  std::string FormatShortDate(uint32_t dayNumber) override { return clock_.FormatShortDate(dayNumber); }
  uint64_t MonotonicMs() override { return clock_.MonotonicMs(); }

private:
  TClock& clock_;
  uint32_t today_;
};

}  // namespace

uint32_t SmoothedRate(const TTrafficHistory& history, THistoryRow row, int32_t now) {
  double s = now;
  for (int32_t i = 1; i <= 6; ++i) {
    // Samples are never negative, so the 32-bit difference cannot overflow. Ages
    // beyond a short history read as 0.
    const int32_t diff = history.HistorySample(row, i) - now;
    s += now + static_cast<double>(diff) / (i + 1);
  }
  const int32_t rate = RoundHalfEven(s / 7);
  return rate < 0 ? 0u : static_cast<uint32_t>(rate);
}

std::string BuildStatusText(const TStatsForm& form) {
  // LF before CR is what the balloon has always been given.
  static constexpr const char* Sep = "\n\r";
  std::string text;
  text.reserve(128);
  text += "Downlink: ";
  text += FormatBytes(static_cast<int64_t>(form.DownRate));
  text += Sep;
  text += "Uplink: ";
  text += FormatBytes(static_cast<int64_t>(form.UpRate));
  text += Sep;
  text += "--------------------------------------";
  text += Sep;
  text += "Downloaded: ";
  text += FormatBytes(static_cast<int64_t>(form.DownTotal));
  text += Sep;
  text += "Uploaded: ";
  text += FormatBytes(static_cast<int64_t>(form.UpTotal));
  return text;
}

void RunTick(TTickContext& ctx) {
  TStatsForm& f = ctx.Form;
  const uint64_t nowMs = ctx.Clock.MonotonicMs();
  // Asleep: the first tick after the resume counts every octet since the last one.
  if (HoldTick(f.Sleep, nowMs)) return;

  f.TickCount = WrappingIncrement(f.TickCount);

  // A tick after a stall stands for all the periods the timer folded into it: its
  // deltas cover the whole stall, yet it pushes one column like any other. Time asleep
  // is no stall.
  const uint32_t seconds = TickSeconds(f.TickTiming, AwakeMs(f.Sleep, nowMs));
  // The automatic choice looks at the routes when told of a change and every few ticks;
  // another adapter's first reading is only its baseline.
  if (f.AdapterAuto && ctx.Routes &&
      (ctx.Routes->ChangeAnnounced() || f.TickCount % ConnectionPollTicks == 0) &&
      FollowConnection(f.AdapterName, ctx.Table, *ctx.Routes))
    ctx.Store.WriteString("Adapter", f.AdapterName);
  const TTrafficDeltas d = SampleTraffic(f, ctx.Table);
  const int32_t down = TickDelta(d.Down), up = TickDelta(d.Up);

  if (d.Down == 0 && d.Up == 0) {
    f.IdleTicks = SaturatingIncrement(f.IdleTicks);
    if (f.AutoHide && f.IdleTicks > AutoHideIdleTicks) ctx.Window.HideGraph();
  } else {
    f.IdleTicks = 0;
    if (!f.UserHidden && !ctx.Window.GraphVisible()) ctx.Window.ShowGraph();
  }

  ctx.History.HistoryPush(down, up);

  if (f.AutoScale && f.TickCount % 4 == 0)
    f.GraphScaleMax = ComputeAutoScale(ctx.History, f.GraphScaleMax);
  if (f.TrayAutoScale && f.TickCount % 3 == 0)
    f.TrayScaleMax = ComputeAutoScale(ctx.History, f.TrayScaleMax);

  f.DownRate = SmoothedRate(ctx.History, HistoryDown, down);
  f.UpRate = SmoothedRate(ctx.History, HistoryUp, up);

  // One reading of the date for the totals and the history, so the day's hours hold
  // what the day's log line holds, also in the tick that meets midnight.
  const TLocalHour now = ctx.Clock.LocalHour();
  TTickDate date(ctx.Clock, now.Day);
  AddTransfer(f, ctx.Store, date, d.Down, d.Up, seconds);
  if (ctx.Usage) ctx.Usage->Count(now, f.AdapterName, d.Down, d.Up, seconds);

  ctx.Window.InvalidateGraph();

  f.StatusText = BuildStatusText(f);

  ctx.Tray.RenderTrayImage(down, up);
}
