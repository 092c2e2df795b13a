// The dialog helper on a real modal dialog from a template in memory with one push button.
#include "toolkit/Dialog.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tk;

namespace {

constexpr int ButtonId = 100;

struct TProbeDialog : TDialog {
  bool OnInit() override {
    log.push_back(Handle() ? "init" : "init without a window");
    // Answers go through DWLP_MSGRESULT; a handled close must not turn into a cancel.
    log.push_back("answered " + std::to_string(SendMessageA(Handle(), WM_APP, 0, 0)));
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
    PostMessageA(GetDlgItem(Handle(), ButtonId), BM_CLICK, 0, 0);
    return true;
  }
  void OnCommand(int id, int code, HWND control) override {
    const bool clicked = code == BN_CLICKED && control == GetDlgItem(Handle(), id);
    log.push_back("command " + std::to_string(id) + (clicked ? " clicked" : ""));
    End(7);
  }
  bool OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR& result) override {
    if (msg == WM_APP) result = 42;
    return msg == WM_APP || msg == WM_CLOSE;
  }
  void OnDestroy() override { log.push_back("destroy"); }

  std::vector<std::string> log;
};

TEST(Dialog, ModalFromATemplateInMemory) {
  std::vector<WORD> t(12 + 9);  // the dialog, no menu, class or title; one item, DWORD-aligned
  *reinterpret_cast<DLGTEMPLATE*>(t.data()) = {WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 1, 0, 0, 120, 60};
  *reinterpret_cast<DLGITEMTEMPLATE*>(&t[12]) = {WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 10, 10, 50, 14, ButtonId};
  t.insert(t.end(), {0xFFFF, 0x0080, L'O', L'K', 0, 0});  // a button, "OK", no creation data
  TProbeDialog dialog;
  EXPECT_EQ(dialog.RunModalIndirect(reinterpret_cast<const DLGTEMPLATE*>(t.data()), nullptr), 7) << "End's result";
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "answered 42", "command 100 clicked", "destroy"}));
  EXPECT_EQ(dialog.Handle(), nullptr);
}

}  // namespace
