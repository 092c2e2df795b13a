// What one paint of the graph window costs, and where it goes: the real program is
// started (its form, double buffer, paint handler and renderer), and from inside its
// message loop the window is repainted again and again, then the paint's parts are
// timed on their own. Wall time and the process's CPU time per call. Run under Wine:
//   scripts/wine-run.sh <build>/paint_bench.exe [paints]
// It stores an adapter ("lo") and a 263 x 174 client area under the program's key and
// deletes the key when done.
#include <cstdio>
#include <cstdlib>

#include "app/MainForm.h"
#include "render/GdiSurface.h"
#include "render/GraphRenderer.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/MemoryDC.h"

namespace {

constexpr const char* Key = "Software\\Quillmoor\\Tarvelo";
constexpr int ClientW = 263, ClientH = 174;
int g_paints = 2000;

double ProcessCpuMicros() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto us = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 10; };
  return us(kernel) + us(user);
}

double WallMicros() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

template <typename F>
void Time(const char* what, int n, F&& f) {
  for (int i = 0; i < 20; ++i) f();
  GdiFlush();
  const double w0 = WallMicros(), c0 = ProcessCpuMicros();
  for (int i = 0; i < n; ++i) f();
  GdiFlush();
  const double w1 = WallMicros(), c1 = ProcessCpuMicros();
  std::printf("  %-44s %8.1f us wall %8.1f us cpu\n", what, (w1 - w0) / n, (c1 - c0) / n);
}

void Measure(HWND form) {
  // the client area the figures are quoted for, whatever frame the window has here
  RECT outer{}, client{};
  GetWindowRect(form, &outer);
  GetClientRect(form, &client);
  SetWindowPos(form, nullptr, 0, 0, outer.right - outer.left - client.right + ClientW,
               outer.bottom - outer.top - client.bottom + ClientH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetClientRect(form, &client);
  std::printf("paint of the program's graph window, client %ld x %ld, %d paints:\n", client.right, client.bottom,
              g_paints);
  Time("whole paint (invalidate, update)", g_paints, [form] {
    InvalidateRect(form, nullptr, FALSE);
    UpdateWindow(form);
  });

  std::printf("its parts:\n");
  const int n = g_paints;
  Time("window DC got and released", n, [form] { tk::TScopedWindowDC dc(form); });
  Time("update region read", n, [form] {
    tk::unique_hrgn rgn(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(form, rgn.get(), FALSE);
  });
  Time("validate", n, [form] { ValidateRect(form, nullptr); });
  Time("buffer DC and bitmap made and freed", n, [&client] { tk::TMemoryDC buffer(nullptr, client); });
  Time("  the same against the window's DC", n, [&] {
    tk::TScopedWindowDC dc(form);
    tk::TMemoryDC buffer(dc.get(), client);
    buffer.ClipTo(nullptr);
  });
  Time("  screen DC got and released", n, [] { tk::TScopedGetDC screen(nullptr); });
  Time("  memory DC made and deleted", n, [] { tk::unique_hdc dc(CreateCompatibleDC(nullptr)); });
  Time("  screen-compatible bitmap made and deleted", n, [&client] {
    tk::TScopedGetDC screen(nullptr);
    tk::unique_hbitmap b(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  });
  tk::TMemoryDC buffer(nullptr, client);
  Time("erase (brush made, fill, freed)", n, [&] {
    tk::unique_hbrush brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(buffer.get(), &client, brush.get());
  });

  TGraphLook look;
  look.IsActive = false;
  look.BGColor = GetSysColor(COLOR_WINDOW);
  look.FlatBorderColor = GetSysColor(COLOR_WINDOWFRAME);
  look.GraphScaleMax = 65536;
  look.DownRate = 48000;
  look.UpRate = 9000;
  TTrafficHistory history;
  history.HistoryResize(client.right);
  for (int i = 0; i < client.right; ++i) history.HistoryPush((i * 7919) % 60000, (i * 104729) % 20000);
  tk::TDrawBitmap* back = tk::CreateDrawBitmap(client.right, client.bottom);
  const long made = tk::TDrawTool::HandlesMade();
  Time("DrawGraph into the back buffer", n, [&] {
    TGdiSurface surface(*back->Canvas());
    DrawGraph(surface, look, history, TRect{0, 0, client.right, client.bottom});
  });
  std::printf("  %-44s %8.1f\n", "  tool handles made per DrawGraph",
              static_cast<double>(tk::TDrawTool::HandlesMade() - made) / (n + 20));
  Time("back buffer copied into the buffer", n, [&] { back->Draw(buffer.get(), 0, 0); });
  Time("back buffer's canvas taken again", n, [&] {
    back->Draw(buffer.get(), 0, 0);
    back->Canvas();
  });
  Time("buffer copied to the window", n, [&] {
    tk::TScopedWindowDC dc(form);
    BitBlt(dc.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
  });
  tk::Release(back);
}

void CALLBACK Step(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND form = FindWindowA("obj_Form", "StatsForm");
  if (form && IsWindowVisible(form)) Measure(form);
  else std::printf("the graph window is not shown\n");
  PostMessageA(FindWindowA("obj_App", "Tarvelo"), WM_CLOSE, 0, 0);
}

void Store(HKEY key, const char* name, DWORD value) {
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::atoi(argv[1]) > 0) g_paints = std::atoi(argv[1]);
  RegDeleteKeyA(HKEY_CURRENT_USER, Key);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 1;
  RegSetValueExA(key, "Adapter", 0, REG_SZ, reinterpret_cast<const BYTE*>("lo"), 3);
  Store(key, "Width", ClientW);
  Store(key, "Height", ClientH);
  Store(key, "LeftPos", 100);
  Store(key, "TopPos", 100);
  RegCloseKey(key);

  SetTimer(nullptr, 0, 1500, &Step);
  TMainForm program;
  const int code = program.Run();
  RegDeleteKeyA(HKEY_CURRENT_USER, Key);
  return code;
}
