#include "toolkit/Dialog.h"

namespace tk {

namespace {

// The messages whose result the dialog procedure returns itself; for every other
// message it returns TRUE for "handled" and the result goes to DWLP_MSGRESULT.
bool ReturnsItsResult(UINT msg) {
  return (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) || msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM ||
         msg == WM_CHARTOITEM || msg == WM_QUERYDRAGICON || msg == WM_INITDIALOG;
}

}  // namespace

INT_PTR TDialog::RunModal(HINSTANCE module, int templateId, HWND owner) {
  return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, &DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR TDialog::RunModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner) {
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, owner, &DialogProc,
                                 reinterpret_cast<LPARAM>(this));
}

void TDialog::BindPage(PROPSHEETPAGEA& page) {
  page.pfnDlgProc = &PageProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
}

void TDialog::End(INT_PTR result) {
  if (wnd_) EndDialog(wnd_, result);
}

// A modal dialog's WM_INITDIALOG carries the object itself.
INT_PTR CALLBACK TDialog::DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TDialog* bound = msg == WM_INITDIALOG ? reinterpret_cast<TDialog*>(lParam) : nullptr;
  return Dispatch(wnd, msg, wParam, lParam, bound);
}

// A page's carries its PROPSHEETPAGE (the sheet's copy), whose lParam is the object.
INT_PTR CALLBACK TDialog::PageProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TDialog* bound = nullptr;
  if (msg == WM_INITDIALOG && lParam)
    bound = reinterpret_cast<TDialog*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
  return Dispatch(wnd, msg, wParam, lParam, bound);
}

INT_PTR TDialog::Dispatch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, TDialog* bound) {
  try {
    if (bound) {
      bound->wnd_ = wnd;
      SetWindowLongPtrA(wnd, DWLP_USER, reinterpret_cast<LONG_PTR>(bound));
    }
    auto* self = reinterpret_cast<TDialog*>(GetWindowLongPtrA(wnd, DWLP_USER));
    if (!self) return FALSE;  // messages before WM_INITDIALOG (WM_SETFONT) get the default
    switch (msg) {
      case WM_INITDIALOG:
        return self->OnInit() ? TRUE : FALSE;
      case WM_COMMAND:
        self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
      case WM_DESTROY:
        self->OnDestroy();
        return FALSE;
      case WM_NCDESTROY:
        SetWindowLongPtrA(wnd, DWLP_USER, 0);
        self->wnd_ = nullptr;
        return FALSE;
      default: {
        INT_PTR result = 0;
        if (!self->OnMessage(msg, wParam, lParam, result)) return FALSE;
        if (ReturnsItsResult(msg)) return result;
        SetWindowLongPtrA(wnd, DWLP_MSGRESULT, result);
        return TRUE;
      }
    }
  } catch (...) {
    // nothing may unwind through the system's frames
  }
  return FALSE;
}

}  // namespace tk
