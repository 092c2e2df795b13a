// The dialog helper on real dialogs: a modal one and a property sheet page, both from
// a template in memory with one push button.
#include "toolkit/Dialog.h"
#include <gtest/gtest.h>
#include <prsht.h>
#include <string>
#include <vector>

using namespace tk;

namespace {

constexpr int ButtonId = 100;

std::vector<WORD> Template(DWORD style) {
  std::vector<WORD> t(12 + 9);  // the dialog, no menu, class or title; one item, DWORD-aligned
  *reinterpret_cast<DLGTEMPLATE*>(t.data()) = {style, 0, 1, 0, 0, 120, 60};
  *reinterpret_cast<DLGITEMTEMPLATE*>(&t[12]) = {WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 10, 10, 50, 14, ButtonId};
  t.insert(t.end(), {0xFFFF, 0x0080, L'O', L'K', 0, 0});  // a button, "OK", no creation data
  return t;
}

struct TProbeDialog : TDialog {
  explicit TProbeDialog(bool modal) : modal(modal) {}
  bool OnInit() override {
    log.push_back(Handle() ? "init" : "init without a window");
    // Answers go through DWLP_MSGRESULT; a handled close must not turn into a cancel.
    log.push_back("answered " + std::to_string(SendMessageA(Handle(), WM_APP, 0, 0)));
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
    if (modal) PostMessageA(GetDlgItem(Handle(), ButtonId), BM_CLICK, 0, 0);
    return true;
  }
  void OnCommand(int id, int code, HWND control) override {
    const bool clicked = code == BN_CLICKED && control == GetDlgItem(Handle(), id);
    log.push_back("command " + std::to_string(id) + (clicked ? " clicked" : ""));
    End(7);
  }
  bool OnMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR& result) override {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_APPLY) result = PSNRET_INVALID_NOCHANGEPAGE;
    else if (msg == WM_APP) result = 42;
    else return msg == WM_CLOSE;
    return true;
  }
  void OnDestroy() override { log.push_back("destroy"); }

  bool modal;
  std::vector<std::string> log;
};

TEST(Dialog, ModalFromATemplateInMemory) {
  TProbeDialog dialog(true);
  const std::vector<WORD> t = Template(WS_POPUP | WS_CAPTION | DS_MODALFRAME);
  EXPECT_EQ(dialog.RunModalIndirect(reinterpret_cast<const DLGTEMPLATE*>(t.data()), nullptr), 7) << "End's result";
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"init", "answered 42", "command 100 clicked", "destroy"}));
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(Dialog, PropertySheetPage) {
  TProbeDialog page(false);
  const std::vector<WORD> t = Template(WS_CHILD | WS_CAPTION);
  PROPSHEETPAGEA psp{};
  psp.dwSize = sizeof psp;
  psp.dwFlags = PSP_DLGINDIRECT;
  psp.pResource = reinterpret_cast<const DLGTEMPLATE*>(t.data());
  page.BindPage(psp);
  HPROPSHEETPAGE pages[] = {CreatePropertySheetPageA(&psp)};
  PROPSHEETHEADERA psh{};
  psh.dwSize = sizeof psh;
  psh.dwFlags = PSH_MODELESS;
  psh.pszCaption = "Sheet";
  psh.nPages = 1;
  psh.phpage = pages;
  HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&psh));
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(SendMessageA(sheet, PSM_APPLY, 0, 0), FALSE) << "the page refused PSN_APPLY through DWLP_MSGRESULT";
  DestroyWindow(sheet);
  EXPECT_EQ(page.log, (std::vector<std::string>{"init", "answered 42", "destroy"}));
  EXPECT_EQ(page.Handle(), nullptr);
}

}  // namespace
