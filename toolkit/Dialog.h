// A dialog's window procedure in one place: the object rides in the dialog's
// DWLP_USER from WM_INITDIALOG on, and typed handlers get the messages. Serves modal
// dialogs and property sheet pages alike.
#pragma once
#include "toolkit/WinApi.h"

#include <commctrl.h>

namespace tk {

class TDialog {
public:
  virtual ~TDialog() = default;

  // Modal on a template of the module; the value given to End, or -1 when the
  // dialog could not be made.
  INT_PTR RunModal(HINSTANCE module, int templateId, HWND owner);
  // The same on a template in memory.
  INT_PTR RunModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND owner);
  // Fills a property sheet page's procedure and parameter for this object.
  void BindPage(PROPSHEETPAGEA& page);

  // The dialog's window while it exists.
  HWND Handle() const { return wnd_; }
  // Ends a modal dialog with result.
  void End(INT_PTR result);

protected:
  // WM_INITDIALOG; true lets the system give the focus to the first control.
  virtual bool OnInit() { return true; }
  // WM_COMMAND from a control (or a menu or accelerator, with control null).
  virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
  // Every other message; true when handled, with the message's result in `result`.
  // The procedure returns it for the messages that take it that way (WM_CTLCOLOR*
  // and a few more) and stores it in DWLP_MSGRESULT for all others (WM_NOTIFY...).
  virtual bool OnMessage(UINT /*msg*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }
  // WM_DESTROY, while the controls still exist.
  virtual void OnDestroy() {}

private:
  static INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK PageProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static INT_PTR Dispatch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, TDialog* bound);

  HWND wnd_ = nullptr;
};

}  // namespace tk
