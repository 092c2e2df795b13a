#include "settings/ColourPicker.h"

#include <commdlg.h>

#include "resources/resource.h"
#include "toolkit/Handles.h"
#include "toolkit/Platform.h"
#include "toolkit/WindowMessages.h"

namespace {

// The window's extra bytes: the colour shown, then the chooser's first custom colour.
constexpr int ColourSlot = 0;
constexpr int CustomColourSlot = 4;
constexpr int ExtraBytes = 8;
constexpr int ChosenNotification = 1;

HINSTANCE Module = nullptr;
// Shared by every picker; a resource cursor is the system's to free.
HCURSOR HandCursor = nullptr;

COLORREF Slot(HWND wnd, int slot) { return static_cast<COLORREF>(GetWindowLongA(wnd, slot)); }
void SetSlot(HWND wnd, int slot, COLORREF value) { SetWindowLongA(wnd, slot, static_cast<LONG>(value)); }

void Paint(HWND wnd) {
  tk::TScopedPaint paint(wnd);
  HDC dc = paint.get();
  if (!dc) return;
  RECT r{};
  GetClientRect(wnd, &r);
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  InflateRect(&r, -2, -2);
  // disabled: a grey hatch over the button face instead of the colour
  tk::unique_hbrush brush(IsWindowEnabled(wnd) ? CreateSolidBrush(Slot(wnd, ColourSlot))
                                               : CreateHatchBrush(HS_BDIAGONAL, GetSysColor(COLOR_GRAYTEXT)));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  if (brush) FillRect(dc, &r, brush.get());
}

void Choose(HWND wnd) {
  COLORREF custom[16] = {Slot(wnd, CustomColourSlot)};  // the user's edits there are not kept
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = wnd;
  cc.hInstance = reinterpret_cast<HWND>(Module);
  cc.rgbResult = Slot(wnd, ColourSlot);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  const tk::unique_hmodule dialogs = tk::LoadSystemLibrary("comdlg32.dll");
  const auto chooseColour = tk::LibraryFunction<decltype(&ChooseColorA)>(dialogs, "ChooseColorA");
  if (!chooseColour || !chooseColour(&cc)) return;
  SetSlot(wnd, ColourSlot, cc.rgbResult);
  SendMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(wnd), ChosenNotification),
               reinterpret_cast<LPARAM>(wnd));
  InvalidateRect(wnd, nullptr, FALSE);
}

LRESULT CALLBACK PickerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      SetSlot(wnd, ColourSlot, 0);
      SetSlot(wnd, CustomColourSlot, 0);
      HandCursor = LoadCursorA(Module, MAKEINTRESOURCEA(IDR_HAND_CURSOR));
      break;
    case WM_PAINT:
    case WM_NCPAINT:  // painted at once when the frame is, without waiting for WM_PAINT
      Paint(wnd);
      break;
    case WM_SETCURSOR:
      SetCursor(HandCursor);
      break;
    case WM_LBUTTONUP:
      Choose(wnd);
      break;
    case WM_ENABLE:
      InvalidateRect(wnd, nullptr, FALSE);
      break;
    case CPM_SETCOLOUR:
      SetSlot(wnd, ColourSlot, static_cast<COLORREF>(lParam));
      InvalidateRect(wnd, nullptr, FALSE);
      break;
    case CPM_GETCOLOUR:
      return Slot(wnd, ColourSlot);
    case CPM_SETCUSTOMCOLOUR:
      SetSlot(wnd, CustomColourSlot, static_cast<COLORREF>(lParam));
      break;
    case CPM_GETCUSTOMCOLOUR:
      return Slot(wnd, CustomColourSlot);
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

}  // namespace

void RegisterColourPicker(HINSTANCE module) {
  Module = module;
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS;
  wc.lpfnWndProc = &PickerProc;
  wc.cbWndExtra = ExtraBytes;
  wc.hInstance = module;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = "ColourPicker";
  RegisterClassA(&wc);
}
