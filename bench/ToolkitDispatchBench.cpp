// Prints what the toolkit's hot paths cost: a message through a form's handler chain,
// a double-buffered paint of the graph window's size, a menu command, a menu build.
// Run under Wine: scripts/wine-run.sh build/windows/toolkit_dispatch_bench.exe
#include "toolkit/MenuObject.h"
#include "toolkit/WindowObject.h"
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace tk;

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double NanosPerCall(int count, F&& f) {
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) f();
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / count;
}

const std::vector<std::string> ProgramMenu = {
    "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
    "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
    "Network Connections", "-", "Quit", ""};

}  // namespace

int main() {
  TWindowObject* form = CreateForm(nullptr, "bench");
  // The main form's set of handlers.
  form->SetHasCaption(false);
  form->SetDoubleBuffered(true);
  form->SetSizeLimit(tk::TSizeLimit::MaxWidth, 300);
  form->SetOnMessage([](void*, TWindowObject*, TMessageRecord&, LRESULT&) { return false; }, nullptr);
  form->SetOnMouseMove([](void*, TWindowObject*, const TMouseRecord&) {}, nullptr);
  form->SetOnMouseLeave([](void*, TWindowObject*) {}, nullptr);
  form->SetOnResize([](void*, TWindowObject*) {}, nullptr);
  form->SetOnPaint([](void*, TWindowObject*, HDC dc) {
    RECT r{0, 0, 263, 174};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }, nullptr);
  BuildMenu(form, {}, nullptr, nullptr);
  TMenuObject* menu = BuildMenu(form, ProgramMenu, [](void*, TMenuObject*, int) {}, nullptr);
  form->SetPopupMenu(menu);
  form->SetPosition(100, 100);
  form->SetClientSize(263, 174);
  form->Show();
  HWND wnd = form->Handle();

  std::printf("handlers on the form: %zu\n", form->HandlerCount());
  std::printf("Perform, unhandled message:        %8.0f ns\n",
              NanosPerCall(200000, [&] { form->Perform(WM_APP + 1, 0, 0); }));
  std::printf("SendMessage, unhandled message:    %8.0f ns\n",
              NanosPerCall(100000, [&] { SendMessageA(wnd, WM_APP + 1, 0, 0); }));
  std::printf("SendMessage, WM_MOUSEMOVE:         %8.0f ns\n",
              NanosPerCall(20000, [&] { SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)); }));
  const UINT quit = menu->ItemAt(17)->CommandId();
  std::printf("menu command (last item):          %8.0f ns\n",
              NanosPerCall(100000, [&] { SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(quit, 0), 0); }));
  std::printf("double-buffered paint 263 x 174:   %8.0f ns\n", NanosPerCall(500, [&] {
                InvalidateRect(wnd, nullptr, FALSE);
                UpdateWindow(wnd);
              }));
  std::printf("BuildMenu + Release, 22 texts:     %8.0f ns\n", NanosPerCall(300, [&] {
                Release(BuildMenu(form, ProgramMenu, nullptr, nullptr));
              }));
  Release(form);
  return 0;
}
