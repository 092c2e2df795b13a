#include "settings/OptionsSheet.h"

#include <commctrl.h>
#include <commdlg.h>

#include "resources/resource.h"
#include "settings/OptionsPages.h"
#include "settings/RegSettings.h"
#include "settings/SettingsCatalogue.h"
#include "toolkit/Dialog.h"
#include "toolkit/Handles.h"
#include "toolkit/Platform.h"
#include "toolkit/WindowMessages.h"

namespace {

// Texts are read with room for 1000 characters.
constexpr int TextRoom = 1001;

TColor SystemColourNow(int32_t index) { return GetSysColor(index); }

void DestroyPage(HPROPSHEETPAGE page) { DestroyPropertySheetPage(page); }
// A page not yet handed to the sheet; once handed over, the sheet destroys it.
using unique_hpage = tk::unique_any<HPROPSHEETPAGE, &DestroyPage, tk::THandleFamily::User>;

// One page: its controls moved to and from the portable page logic.
class TOptionsPageDialog : public tk::TDialog, private TPageControls {
public:
  TOptionsPageDialog(TOptionsPage page, const TOptionsSource& source) : page_(page), source_(source) {}

protected:
  bool OnInit() override {
    InitPage(page_, *this, source_);
    return false;  // the sheet places the focus
  }
  void OnCommand(int id, int code, HWND) override {
    if (id == IDC_BROWSE_LOG_FILE && code == BN_CLICKED) BrowseLogFile();
    else PageCommand(page_, *this, id);
  }
  bool OnMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR&) override {
    if (msg == WM_HSCROLL) PageScroll(page_, *this);
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY))
      ApplyPage(page_, *this, source_.Store);
    return false;  // every apply is accepted
  }

private:
  LRESULT Send(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageA(Handle(), id, msg, wParam, lParam);
  }

  bool Checked(int id) override { return IsDlgButtonChecked(Handle(), id) != 0; }
  void SetChecked(int id, bool on) override { Send(id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
  bool Enabled(int id) override { return IsWindowEnabled(GetDlgItem(Handle(), id)) != 0; }
  void SetEnabled(int id, bool on) override { EnableWindow(GetDlgItem(Handle(), id), on); }
  int TrackPos(int id) override { return static_cast<int>(Send(id, TBM_GETPOS)); }
  void SetTrackRange(int id, int low, int high) override { Send(id, TBM_SETRANGE, FALSE, MAKELONG(low, high)); }
  void SetTrackPos(int id, int pos) override { Send(id, TBM_SETPOS, TRUE, pos); }
  TColor Colour(int id) override { return static_cast<TColor>(Send(id, CPM_GETCOLOUR)); }
  void SetColour(int id, TColor colour) override { Send(id, CPM_SETCOLOUR, 0, static_cast<LPARAM>(colour)); }
  void AddItem(int id, const std::string& text, int32_t data) override {
    const LRESULT index = Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) Send(id, CB_SETITEMDATA, index, data);
  }
  void InsertItem(int id, int index, const std::string& text) override {
    Send(id, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  }
  int FindItem(int id, const std::string& text) override {
    return static_cast<int>(Send(id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
  }
  int Selection(int id) override { return static_cast<int>(Send(id, CB_GETCURSEL)); }
  void Select(int id, int index) override { Send(id, CB_SETCURSEL, index); }
  std::string Text(int id) override {
    char text[TextRoom] = {};
    GetDlgItemTextA(Handle(), id, text, TextRoom);
    return text;
  }
  void SetText(int id, const std::string& text) override { SetDlgItemTextA(Handle(), id, text.c_str()); }

  // The system's file chooser for the log; a chosen name replaces the typed one.
  void BrowseLogFile() {
    char file[TextRoom] = {};
    Text(IDC_LOG_FILE).copy(file, TextRoom - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = TextRoom;
    ofn.lpstrDefExt = "txt";
    // the log's default name is relative to the current directory: leave it where it is
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    const tk::unique_hmodule dialogs = tk::LoadSystemLibrary("comdlg32.dll");
    const auto chooseFile = tk::LibraryFunction<decltype(&GetSaveFileNameA)>(dialogs, "GetSaveFileNameA");
    const auto lastError = tk::LibraryFunction<decltype(&CommDlgExtendedError)>(dialogs, "CommDlgExtendedError");
    if (!chooseFile || !lastError) return;
    bool chosen = chooseFile(&ofn);
    if (!chosen && lastError() == FNERR_INVALIDFILENAME) {
      file[0] = '\0';  // a name the chooser cannot start from: start empty
      chosen = chooseFile(&ofn);
    }
    if (chosen) SetText(IDC_LOG_FILE, file);
  }

  TOptionsPage page_;
  const TOptionsSource& source_;
};

}  // namespace

void ShowOptionsDialog(HWND owner, const std::string& title, const std::vector<std::string>& adapters) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);

  // the sheet's own store; the main form reads what it wrote once the sheet is gone
  TRegSettings store;
  store.KeyPath = TarveloKeyPath;
  store.Open();
  const TOptionsSource source{store, adapters, &SystemColourNow};

  TOptionsPageDialog dialogs[] = {{TOptionsPage::General, source},
                                  {TOptionsPage::Window, source},
                                  {TOptionsPage::Graph, source},
                                  {TOptionsPage::Tray, source},
                                  {TOptionsPage::Plan, source}};
  const struct { int Template; const char* Title; } pages[] = {{IDD_PAGE_GENERAL, "General settings"},
                                                               {IDD_PAGE_WINDOW, "Window settings"},
                                                               {IDD_PAGE_GRAPH, "Graph settings"},
                                                               {IDD_PAGE_TRAY, "Tray Icon settings"},
                                                               {IDD_PAGE_PLAN, "Data plan"}};
  constexpr int PageCount = 5;
  const HINSTANCE module = GetModuleHandleA(nullptr);

  // one record for all the pages; only the template, title and procedure change
  PROPSHEETPAGEA page{};
  page.dwSize = PROPSHEETPAGEA_V2_SIZE;
  page.dwFlags = PSP_USETITLE | PSP_USECALLBACK;
  page.hInstance = module;
  unique_hpage owned[PageCount];
  for (int i = 0; i < PageCount; ++i) {
    page.pszTemplate = MAKEINTRESOURCEA(pages[i].Template);
    page.pszTitle = pages[i].Title;
    dialogs[i].BindPage(page);
    owned[i].reset(CreatePropertySheetPageA(&page));
    if (!owned[i]) return;
  }
  HPROPSHEETPAGE handles[PageCount];
  for (int i = 0; i < PageCount; ++i) handles[i] = owned[i].release();

  PROPSHEETHEADERA sheet{};
  sheet.dwSize = CCSIZEOF_STRUCT(PROPSHEETHEADERA, hbmHeader);  // the headers' own _V2_SIZE does not compile
  sheet.dwFlags = 0;  // OK, Cancel and Apply; the first page first
  sheet.hwndParent = owner;
  sheet.hInstance = module;
  sheet.pszCaption = title.c_str();
  sheet.nPages = PageCount;
  sheet.nStartPage = 0;
  sheet.phpage = handles;
  PropertySheetA(&sheet);
}
