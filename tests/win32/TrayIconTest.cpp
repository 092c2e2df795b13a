// The tray picture made into the notification icon: real GDI bitmaps, the real image
// list and icons, the shell's requests recorded.
#include "app/StatsTray.h"

#include <tuple>

#include "render/GdiSurface.h"
#include "render/TrayPicture.h"
#include "support/WineTest.h"
#include "toolkit/DrawBitmap.h"

using namespace tk;

namespace {

constexpr uint32_t Transparent = 0xFF000000;

// Every pixel of a 16 x 16 icon: its colour, or Transparent where the mask is set.
std::vector<uint32_t> IconPixels(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const tk::unique_hbitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> c(256), m(256);
  tk::TScopedGetDC screen(nullptr);
  GetDIBits(screen.get(), colour.get(), 0, 16, c.data(), &bi, DIB_RGB_COLORS);
  GetDIBits(screen.get(), mask.get(), 0, 16, m.data(), &bi, DIB_RGB_COLORS);
  for (size_t i = 0; i < 256; ++i) {
    const uint32_t bgr = c[i] & 0xFFFFFF;  // DIB order is 0x00RRGGBB
    c[i] = (m[i] & 0xFFFFFF) ? Transparent : ((bgr >> 16) | (bgr & 0xFF00) | ((bgr & 0xFF) << 16));
  }
  return c;
}

// The same picture drawn straight into a bitmap, with its key made transparent.
std::vector<uint32_t> DrawnPixels(const TStatsForm& form, const TTrafficHistory& history, int32_t down, int32_t up) {
  TDrawBitmap* picture = CreateDrawBitmap(16, 16);
  TGdiSurface surface(*picture->Canvas());
  DrawTrayPicture(surface, form, history, down, up);
  std::vector<uint32_t> p;
  for (int i = 0; i < 256; ++i) p.push_back(picture->Pixel(i % 16, i / 16));
  const uint32_t key = p[0];
  for (uint32_t& v : p) v = v == key ? Transparent : v;
  Release(picture);
  return p;
}

class TrayIcon : public ::testing::Test {
protected:
  void SetUp() override {
    form_->SetVisible(false);
    tray_.CreateIcon(form_);
    form_->AddOwned(tray_.Icon());
    tray_.CreateImageList(form_, GetModuleHandleA(nullptr));
    tray_.Activate();
    history_.HistoryResize(87);
    state_.TrayDnColor = 0xFF0000, state_.TrayUpColor = 0x00FF00, state_.TrayFrameColor = 0x000080;
  }
  void TearDown() override { Release(form_); }
  // One tick's tray step, after the history took the deltas.
  void Tick(int32_t down, int32_t up) {
    history_.HistoryPush(down, up);
    state_.IdleTicks = down == 0 && up == 0 ? state_.IdleTicks + 1 : 0;
    tray_.RenderTrayImage(down, up);
  }

  TShellRecorder recorder_;
  TStatsForm state_;
  TTrafficHistory history_;
  TStatsTray tray_{state_, history_};
  TWindowObject* form_ = CreateForm(nullptr, "tray owner");
};

TEST_F(TrayIcon, AddedWithTheFirstPictureOneIconAtATimeBackAfterAShellRestart) {
  tray_.SetTrayImage(-1);
  EXPECT_TRUE(ShellRequests().empty() && !tray_.Icon()->Active()) << "no icon: nothing before the first tick";
  for (int32_t v : {5000, 0, 7000}) Tick(v, v);
  ASSERT_EQ(ShellRequests().size(), 3u);
  EXPECT_EQ(ShellRequests()[0].message, DWORD{NIM_ADD});
  for (size_t i = 1; i < ShellRequests().size(); ++i) {
    const TShellRequest& r = ShellRequests()[i];
    EXPECT_EQ(std::make_tuple(r.message, r.previousAlive, IconAlive(ShellRequests()[i - 1].d.hIcon)),
              std::make_tuple(DWORD{NIM_MODIFY}, true, false))
        << "the previous icon lives until the new one is installed, then goes: " << i;
  }
  ShellRequests().clear();
  SendMessageA(form_->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_EQ(ShellRequests().size(), 1u);
  EXPECT_EQ(std::make_pair(ShellRequests()[0].message, ShellRequests()[0].d.hIcon),
            std::make_pair(DWORD{NIM_ADD}, tray_.Icon()->Icon()))
      << "a restarted shell gets the icon again with its current picture";

  ShellRequests().clear();
  ShellRefusals() = 2;  // a busy shell takes neither the add nor the modify that checks whether it took it
  SendMessageA(form_->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  for (int32_t v : {5000, 7000}) Tick(v, v);
  EXPECT_EQ(ShellMessages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY})) << "added on the next tick";
}

TEST_F(TrayIcon, PicturesPixelsWithTheKeyTransparentAndNoHandleLeftAfterManyTicks) {
  // idle: ticks without traffic after it; 15 bring a sample to x = 0, over the key
  const struct { const char* what; int32_t mode, down, up, idle; } cases[] = {
      {"bricks", 0, 3000, 40000, 0}, {"bars", 3, 2000, 500, 3}, {"mini graph over its key", 2, 400000, 0, 15},
  };
  for (const auto& c : cases) {
    state_.TrayMode = c.mode;
    Tick(c.down, c.up);
    for (int i = 0; i < c.idle; ++i) Tick(0, 0);
    const std::vector<uint32_t> want = DrawnPixels(state_, history_, c.idle ? 0 : c.down, c.idle ? 0 : c.up);
    EXPECT_EQ(IconPixels(tray_.Icon()->Icon()), want) << c.what;
    EXPECT_EQ(std::make_pair(want[0], tray_.ImageList()->Count()), std::make_pair(Transparent, 2)) << c.what;
  }

  const THandleBaseline handles;
  for (int i = 0; i < 100; ++i) {
    state_.TrayMode = i % 5;
    Tick((i % 7) * 900, (i % 7) * 300);
  }
  EXPECT_EQ(std::make_tuple(handles.Leaked(), tray_.ImageList()->Count()), std::make_tuple(std::string(), 2));
}

TEST_F(TrayIcon, TheProgramsBalloonAndQuitTakingTheIconAway) {
  Tick(1000, 1000);
  ShellRequests().clear();
  tray_.ShowBalloon("Tarvelo Stats", "Down: 1.1 MB/s", 10, 1);
  const NOTIFYICONDATAA& b = ShellRequests().back().d;
  EXPECT_EQ(std::make_tuple(b.uFlags, b.dwInfoFlags, b.uTimeout, std::string(b.szInfo)),
            std::make_tuple(UINT{NIF_INFO}, DWORD{NIIF_INFO}, 10000u, std::string("Down: 1.1 MB/s")));
  ShellRequests().clear();
  tray_.Deactivate();
  EXPECT_EQ(ShellMessages(), std::vector<DWORD>{NIM_DELETE});
}

}  // namespace
