// Microseconds per RenderTrayImage in each tray mode, with traffic in every tick so the
// picture is always drawn: the 16 x 16 bitmap, the drawing, the image list and the
// icon; the shell's requests are answered at once. Then the parts on their own. Run
// under Wine:
//   scripts/wine-run.sh <build>/tray_picture_bench.exe [iterations]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/StatsTray.h"
#include "render/GdiSurface.h"
#include "render/TrayPicture.h"
#include "toolkit/DrawBitmap.h"

using namespace tk;
using Clock = std::chrono::steady_clock;

namespace {

BOOL WINAPI NoShell(DWORD, PNOTIFYICONDATAA) { return TRUE; }

template <typename F>
double MicrosPer(int n, F&& f) {
  const auto start = Clock::now();
  for (int i = 0; i < n; ++i) f(i);
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / n;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 2000;
  SetShellNotifyIconFunction(&NoShell);
  TWindowObject* form = CreateForm(nullptr, "bench");
  form->SetVisible(false);

  TStatsForm state;
  TTrafficHistory history;
  history.HistoryResize(300);
  for (int i = 0; i < 300; ++i) history.HistoryPush((i * 7919) % 60000, (i * 104729) % 20000);
  TStatsTray tray(state, history);
  tray.CreateIcon(form);
  form->AddOwned(tray.Icon());
  tray.CreateImageList(form, nullptr);  // no idle images needed: every tick draws
  tray.Activate();

  const char* names[] = {"Mode1 - bricks", "Mode2 - full tower", "Mode3 - mini graph", "Mode4 - bars"};
  std::printf("RenderTrayImage, %d calls a mode\n", n);
  for (int mode = 0; mode < 4; ++mode) {
    state.TrayMode = mode;
    tray.RenderTrayImage(1, 1);  // warm-up
    const double us = MicrosPer(n, [&](int i) { tray.RenderTrayImage(1000 + (i % 50) * 100, 500); });
    std::printf("  %-20s %8.1f us\n", names[mode], us);
  }

  std::printf("parts, mode 2 (full tower):\n");
  state.TrayMode = 1;
  std::printf("  %-38s %8.1f us\n", "16 x 16 bitmap made and released",
              MicrosPer(n, [](int) { Release(CreateDrawBitmap(16, 16)); }));
  TDrawBitmap* bitmap = CreateDrawBitmap(16, 16);
  TGdiSurface surface(*bitmap->Canvas());
  std::printf("  %-38s %8.1f us\n", "picture drawn",
              MicrosPer(n, [&](int i) { DrawTrayPicture(surface, state, history, 1000 + i % 50, 500); }));
  std::printf("  %-38s %8.1f us\n", "key pixel read", MicrosPer(n, [&](int) { (void)bitmap->Pixel(0, 0); }));
  TImageStrip* list = tray.ImageList();
  std::printf("  %-38s %8.1f us\n", "image list add and remove", MicrosPer(n, [&](int) {
                list->Remove(list->AddMasked(bitmap, TrayBackground));
              }));
  const int32_t kept = list->AddMasked(bitmap, TrayBackground);
  std::printf("  %-38s %8.1f us\n", "icon made from the list and destroyed",
              MicrosPer(n, [&](int) { tk::unique_hicon icon = list->GetIcon(kept); }));
  list->Remove(kept);
  std::printf("  %-38s %8.1f us\n", "SetTrayImage (icon from the list, installed)", MicrosPer(n, [&](int) {
                const int32_t index = list->AddMasked(bitmap, TrayBackground);
                tray.SetTrayImage(index);
                list->Remove(index);
              }));
  Release(bitmap);
  Release(form);
  return 0;
}
