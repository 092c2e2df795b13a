#include "dialogs/AboutDialog.h"

#include "base/Maker.h"
#include "dialogs/CountersDialog.h"
#include "dialogs/LicenceText.h"
#include "dialogs/VersionInfo.h"
#include "resources/resource.h"
#include "toolkit/Dialog.h"
#include "toolkit/Handles.h"
#include "toolkit/Platform.h"

namespace {

constexpr COLORREF LinkColour = 0xFF0000;  // blue
// The links and the title take the hand cursor or their own font; the licence box
// is kept from taking Esc.
constexpr int SubclassedIds[] = {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_TITLE, IDC_ABOUT_MAIL, IDC_ABOUT_LICENCE};

bool IsLink(int id) { return id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_MAIL; }

HCURSOR HandCursor() {
  // shared cursors are never destroyed
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_HAND_CURSOR));
  return hand ? hand : LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
}

// The subclassed controls keep their own procedure in their user data.
LRESULT CALLBACK ControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const int id = GetDlgCtrlID(wnd);
  if (msg == WM_SETCURSOR && IsLink(id)) {
    SetCursor(HandCursor());
    return TRUE;
  }
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  LRESULT result = previous ? CallWindowProcA(previous, wnd, msg, wParam, lParam) : DefWindowProcA(wnd, msg, wParam, lParam);
  // A multi-line edit answers Esc by closing its dialog; this box stays open on Esc.
  const auto* key = reinterpret_cast<const MSG*>(lParam);
  if (msg == WM_GETDLGCODE && id == IDC_ABOUT_LICENCE && key && key->message == WM_KEYDOWN && key->wParam == VK_ESCAPE)
    result &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  return result;
}

// A font like the control's own, with height and weight changed when given.
tk::unique_hfont FontLike(HWND control, LONG height = 0, LONG weight = 0) {
  HGDIOBJ own = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
  LOGFONTA font{};
  GetObjectA(own ? own : GetStockObject(SYSTEM_FONT), sizeof font, &font);
  if (height) font.lfHeight = height;
  if (weight) font.lfWeight = weight;
  return tk::unique_hfont(CreateFontIndirectA(&font));
}

class TAboutDialog : public tk::TDialog {
public:
  TAboutDialog(const std::string& title, const std::function<void(const std::string&)>& openTarget)
      : title_(title), openTarget_(openTarget) {}

protected:
  bool OnInit() override {
    HWND wnd = Handle();
    dialogFont_ = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
    // brought to the top of the window order too
    CenterOnWorkArea(wnd, SWP_NOSIZE);
    SetWindowTextA(wnd, ("About " + title_).c_str());
    SetDlgItemTextA(wnd, IDC_ABOUT_TITLE, title_.c_str());
    licenceBrush_.reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    SetDlgItemTextA(wnd, IDC_ABOUT_LICENCE, LicenceText(title_).c_str());
    version_ = FileVersionText();
    SetDlgItemTextA(wnd, IDC_ABOUT_VERSION, ("version: " + version_).c_str());
    SetDlgItemTextA(wnd, IDC_ABOUT_MAIL, (std::string(MakerName) + ", " + MakerEmail).c_str());
    SetDlgItemTextA(wnd, IDC_ABOUT_HOMEPAGE, MakerHost);
    for (int id : SubclassedIds) {
      HWND control = GetDlgItem(wnd, id);
      SetWindowLongPtrA(control, GWLP_USERDATA, GetWindowLongPtrA(control, GWLP_WNDPROC));
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc));
    }
    // on Close rather than on the licence, which would open all selected
    SetFocus(GetDlgItem(wnd, IDOK));
    return false;
  }

  // Clicks only: the links open their targets, a failing shell is ignored.
  void OnCommand(int id, int code, HWND) override {
    if (code != 0) return;
    if (id == IDOK) End(0);
    if (id == IDC_ABOUT_HOMEPAGE) openTarget_(MakerHomePage);
    if (id == IDC_ABOUT_MAIL) openTarget_(AboutMailTarget(title_, version_));
    // Esc (IDCANCEL) leaves the box open
  }

  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    if (msg == WM_CLOSE) {
      End(0);
      result = TRUE;
      return true;
    }
    // a read-only edit asks with WM_CTLCOLORSTATIC, a writable one with WM_CTLCOLOREDIT
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLOREDIT) return false;
    result = ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    return result != 0;
  }

  void OnDestroy() override {
    for (int id : SubclassedIds) {
      HWND control = GetDlgItem(Handle(), id);
      // no control is left with a font about to be deleted
      if (id != IDC_ABOUT_LICENCE) SendMessageA(control, WM_SETFONT, WPARAM(dialogFont_), FALSE);
      if (GetWindowLongPtrA(control, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&ControlProc)) continue;
      SetWindowLongPtrA(control, GWLP_WNDPROC, GetWindowLongPtrA(control, GWLP_USERDATA));
      SetWindowLongPtrA(control, GWLP_USERDATA, 0);
    }
    licenceBrush_.reset();
    titleFont_.reset();
    linkFont_.reset();
  }

private:
  // The brush for the control, or 0 for the system's colours. The fonts are made at
  // the first paint from the control's own; a static may select its font after asking
  // for its colours, so it is also given the font to keep.
  INT_PTR ControlColours(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == IDC_ABOUT_LICENCE) {
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(licenceBrush_.get());
    }
    if (id != IDC_ABOUT_TITLE && !IsLink(id)) return 0;
    tk::unique_hfont& font = id == IDC_ABOUT_TITLE ? titleFont_ : linkFont_;
    if (!font) font = id == IDC_ABOUT_TITLE ? FontLike(control, -16, FW_BOLD) : FontLike(control);
    if (reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)) != font.get())
      SendMessageA(control, WM_SETFONT, WPARAM(font.get()), FALSE);
    SelectObject(dc, font.get());
    if (IsLink(id)) SetTextColor(dc, LinkColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
  }

  std::string title_, version_;
  HFONT dialogFont_ = nullptr;
  const std::function<void(const std::string&)>& openTarget_;
  tk::unique_hbrush licenceBrush_;
  tk::unique_hfont titleFont_, linkFont_;
};

}  // namespace

void ShowAboutDialog(HWND owner, const std::string& title, const std::function<void(const std::string&)>& openTarget) {
  TAboutDialog dialog(title, openTarget);
  dialog.RunModal(GetModuleHandleA(nullptr), IDD_ABOUT, owner);
}

void ShowAboutDialog(HWND owner, const std::string& title) {
  ShowAboutDialog(owner, title, [](const std::string& target) { tk::ShellOpen(nullptr, target); });
}
