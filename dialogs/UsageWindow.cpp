#include "dialogs/UsageWindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <set>

#include "dialogs/UsageView.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "toolkit/Dialog.h"
#include "toolkit/Platform.h"
#include "toolkit/Utf8.h"
#include "traffic/SystemClock.h"
#include "usage/UsageFiles.h"

namespace {

constexpr const char* ScaleNames[] = {"Hours of a day", "Days of a month", "Months of a year"};

// The chart control: keeps its bars and the marked slot; Left and Right move the mark.
struct TChart {
  TUsageChartArt* Art = nullptr;
  std::vector<TUsageBar> Bars;
  int Marked = -1;
  bool Tracking = false;
};

LRESULT CALLBACK ChartProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* chart = reinterpret_cast<TChart*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  RECT rc{};
  GetClientRect(wnd, &rc);
  const auto mark = [&](int i) {
    if (i == chart->Marked) return;
    chart->Marked = i;
    InvalidateRect(wnd, nullptr, FALSE);
  };
  switch (chart ? msg : 0) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(wnd, &ps);
      chart->Art->Draw(dc, rc.right, rc.bottom, chart->Bars, chart->Marked);
      EndPaint(wnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE: {
      if (!chart->Tracking) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof tme, tme.dwFlags = TME_LEAVE, tme.hwndTrack = wnd;
        chart->Tracking = TrackMouseEvent(&tme) != 0;
      }
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      mark(chart->Art->BarAt(rc.right, rc.bottom, chart->Bars, p));
      return 0;
    }
    case WM_MOUSELEAVE:
      chart->Tracking = false;
      if (GetFocus() != wnd) mark(-1);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(wnd);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      const int n = static_cast<int>(chart->Bars.size());
      if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        const int step = wParam == VK_LEFT ? -1 : 1;
        mark(std::clamp(chart->Marked < 0 ? (step > 0 ? 0 : n - 1) : chart->Marked + step, 0, std::max(n - 1, 0)));
      }
      return 0;
    }
    case WM_KILLFOCUS:
      mark(-1);
      return 0;
    default:
      return DefWindowProcA(wnd, msg, wParam, lParam);
  }
}

void RegisterChartClass() {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), UsageChartClass, &wc)) return;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &ChartProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = UsageChartClass;
  RegisterClassA(&wc);
}

class TUsageWindow : public tk::TDialog {
public:
  TUsageWindow(TUsageStore* store, TSettings& settings, TUsageChartArt& art) : store_(store), settings_(settings) {
    chart_.Art = &art;
  }

protected:
  bool OnInit() override {
    SetWindowLongPtrA(Item(IDC_USAGE_CHART), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&chart_));
    char first[4] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, first, sizeof first);
    firstDay_ = first[0] >= '0' && first[0] <= '6' ? first[0] - '0' : 0;
    plan_ = ReadPlanSettings(settings_);
    view_.Anchor = TSystemClock().LocalHour().Day;
    today_ = view_.Anchor;

    for (const char* name : ScaleNames) Send(IDC_USAGE_SCALE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    Send(IDC_USAGE_SCALE, CB_SETCURSEL, static_cast<WPARAM>(view_.Scale));
    Send(IDC_USAGE_ADAPTER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("All adapters"));
    std::vector<TUsageRow> all;
    std::set<std::string> names;
    if (store_ && store_->ReadAll(all))
      for (const TUsageRow& r : all) names.insert(r.Adapter);
    for (const std::string& n : names) {
      adapters_.push_back(n);
      Send(IDC_USAGE_ADAPTER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tk::Utf8ToAnsi(n).c_str()));
    }
    Send(IDC_USAGE_ADAPTER, CB_SETCURSEL, 0);

    Columns(IDC_USAGE_SUMMARY, {{"", 46}, {"Dates", 90}, {"Download", 40}, {"Upload", 40}, {"Total", 40}});
    Columns(IDC_USAGE_ROWS, {{"Period", 100}, {"Download", 70}, {"Upload", 70}, {"Total", 70}});
    RECT r{0, 0, 460, 310};
    MapDialogRect(Handle(), &r);
    AdjustWindowRectEx(&r, GetWindowLongA(Handle(), GWL_STYLE), FALSE, GetWindowLongA(Handle(), GWL_EXSTYLE));
    minSize_ = {r.right - r.left, r.bottom - r.top};
    RestorePlace();
    Refresh();
    return true;
  }

  void OnCommand(int id, int code, HWND) override {
    if (id == IDCANCEL) return End(0);
    if (code == BN_CLICKED && (id == IDC_USAGE_PREV || id == IDC_USAGE_NEXT)) {
      StepView(view_, id == IDC_USAGE_PREV ? -1 : 1);
      Refresh();
    }
    if (code == CBN_SELCHANGE && id == IDC_USAGE_SCALE) {
      view_.Scale = static_cast<TUsageScale>(std::clamp<LRESULT>(Send(id, CB_GETCURSEL), 0, 2));
      Refresh();
    }
    if (code == CBN_SELCHANGE && id == IDC_USAGE_ADAPTER) {
      const LRESULT i = Send(id, CB_GETCURSEL);
      view_.Adapter = i > 0 && static_cast<size_t>(i) <= adapters_.size() ? adapters_[static_cast<size_t>(i) - 1] : "";
      Refresh();
    }
    if (code == BN_CLICKED && id == IDC_USAGE_EXPORT) Export();
  }

  bool OnMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR& result) override {
    if (msg == WM_SIZE) Layout();
    if (msg == WM_GETMINMAXINFO) {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = minSize_;
      return result = 0, true;
    }
    return false;
  }

  void OnDestroy() override { SavePlace(); }

private:
  LRESULT Send(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendDlgItemMessageA(Handle(), id, msg, w, l); }
  HWND Item(int id) { return GetDlgItem(Handle(), id); }

  void Columns(int id, std::initializer_list<std::pair<const char*, int>> columns) {
    ListView_SetExtendedListViewStyle(Item(id), LVS_EX_FULLROWSELECT);
    int i = 0;
    for (const auto& [text, dlu] : columns) {
      RECT r{0, 0, dlu, 0};
      MapDialogRect(Handle(), &r);
      LVCOLUMNA c{};
      c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      c.fmt = i < (id == IDC_USAGE_ROWS ? 1 : 2) ? LVCFMT_LEFT : LVCFMT_RIGHT;
      c.cx = r.right;
      c.pszText = const_cast<char*>(text);
      SendMessageA(Item(id), LVM_INSERTCOLUMNA, static_cast<WPARAM>(i++), reinterpret_cast<LPARAM>(&c));
    }
  }

  void Row(int id, int row, const std::vector<std::string>& cells) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    for (size_t i = 0; i < cells.size(); ++i) {
      item.iSubItem = static_cast<int>(i);
      item.pszText = const_cast<char*>(cells[i].c_str());
      SendMessageA(Item(id), i == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    }
  }

  static std::vector<std::string> Figures(const std::string& name, uint64_t down, uint64_t up) {
    return {name, FormatDecimalBytes(down), FormatDecimalBytes(up), FormatDecimalBytes(down + up)};
  }

  void Refresh() {
    std::vector<TUsageRow> rows;
    const TDayRange shown = ShownRange(view_);
    if (store_) store_->Read(shown.First, shown.End, rows);
    chart_.Bars = BuildBars(view_, rows);
    chart_.Marked = -1;
    InvalidateRect(Item(IDC_USAGE_CHART), nullptr, FALSE);
    SetDlgItemTextA(Handle(), IDC_USAGE_TITLE, ShownTitle(view_).c_str());
    ListView_DeleteAllItems(Item(IDC_USAGE_ROWS));
    for (size_t i = 0; i < chart_.Bars.size(); ++i)
      Row(IDC_USAGE_ROWS, static_cast<int>(i), Figures(chart_.Bars[i].Name, chart_.Bars[i].Down, chart_.Bars[i].Up));

    const TDayRange recent = SummaryRange(today_, firstDay_, plan_.StartDay);
    if (store_) store_->Read(recent.First, recent.End, rows);
    ListView_DeleteAllItems(Item(IDC_USAGE_SUMMARY));
    int i = 0;
    for (const TUsageLine& l : SummaryLines(rows, view_.Adapter, today_, firstDay_, plan_.StartDay)) {
      std::vector<std::string> cells = Figures(l.Name, l.Down, l.Up);
      cells.insert(cells.begin() + 1, l.Dates);
      Row(IDC_USAGE_SUMMARY, i++, cells);
    }
    // the plan counts every adapter, as the line it is for carries them all
    const TDayRange period = BillingPeriodOf(today_, plan_.StartDay);
    uint64_t used = 0;
    for (const TUsageRow& r : rows)
      if (period.Contains(r.Hour.Day)) used += plan_.Counted(r.Down, r.Up);
    const TPlanFigures f = PlanFigures(plan_, used, TSystemClock().LocalHour());
    std::string text;
    for (const std::string& line : PlanLines(plan_, f)) text += line + "\r\n";
    if (!store_) text = "The usage history cannot be opened now.\r\n" + text;
    SetDlgItemTextA(Handle(), IDC_USAGE_PLAN, text.c_str());
    Send(IDC_USAGE_PLAN_BAR, PBM_SETPOS, static_cast<WPARAM>(PlanPercent(f)));
  }

  // Places every control for the client size, in dialog units turned into pixels.
  void Layout() {
    RECT c{};
    GetClientRect(Handle(), &c);
    struct TPx { int x, y; };
    const auto px = [&](int x, int y) {
      RECT r{0, 0, x, y};
      MapDialogRect(Handle(), &r);
      return TPx{static_cast<int>(r.right), static_cast<int>(r.bottom)};
    };
    const TPx m = px(7, 7), button = px(50, 14), label = px(0, 8), gap = px(4, 4), wide = px(8, 0);
    const int W = c.right, H = c.bottom;
    const auto place = [&](int id, int x, int y, int w, int h) {
      SetWindowPos(Item(id), nullptr, x, y, std::max(w, 0), std::max(h, 0), SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // one row, left to right: previous, the period, next; what to show and for which adapter
    const int labelY = m.y + (button.y - label.y) / 2;
    int x = m.x;
    const auto next = [&](int id, int dluWidth, int y, int h, int after) {
      const int w = px(dluWidth, 0).x;
      place(id, x, y, w, h);
      x += w + after;
    };
    next(IDC_USAGE_PREV, 50, m.y, button.y, gap.x);
    next(IDC_USAGE_TITLE, 100, labelY, label.y, gap.x);
    next(IDC_USAGE_NEXT, 50, m.y, button.y, wide.x);
    next(IDC_USAGE_SCALE_LABEL, 24, labelY, label.y, gap.x);
    next(IDC_USAGE_SCALE, 70, m.y, px(0, 60).y, wide.x);
    next(IDC_USAGE_ADAPTER_LABEL, 30, labelY, label.y, gap.x);
    place(IDC_USAGE_ADAPTER, x, m.y, W - m.x - x, px(0, 80).y);

    const int top = m.y + button.y + gap.y, summaryH = px(0, 62).y;
    const int half = std::max(W - 2 * m.x - gap.x - px(150, 0).x, px(200, 0).x);
    place(IDC_USAGE_SUMMARY, m.x, top, half, summaryH);
    const int planX = m.x + half + gap.x, planW = W - m.x - planX, barH = px(0, 10).y;
    place(IDC_USAGE_PLAN, planX, top, planW, summaryH - barH - gap.y);
    place(IDC_USAGE_PLAN_BAR, planX, top + summaryH - barH, planW, barH);

    const int bottom = H - m.y - button.y;
    place(IDC_USAGE_EXPORT, m.x, bottom, button.x * 6 / 5, button.y);
    place(IDCANCEL, W - m.x - button.x, bottom, button.x, button.y);
    const int chartY = top + summaryH + gap.y, rest = bottom - gap.y - chartY;
    place(IDC_USAGE_CHART, m.x, chartY, W - 2 * m.x, rest * 3 / 5 - gap.y);
    place(IDC_USAGE_ROWS, m.x, chartY + rest * 3 / 5, W - 2 * m.x, rest - rest * 3 / 5);
    InvalidateRect(Handle(), nullptr, TRUE);
  }

  void RestorePlace() {
    const int w = settings_.ReadInteger("UsageWidth", 0), h = settings_.ReadInteger("UsageHeight", 0);
    RECT r{settings_.ReadInteger("UsageLeft", 0), settings_.ReadInteger("UsageTop", 0), 0, 0};
    r.right = r.left + std::max<int>(w, minSize_.x);
    r.bottom = r.top + std::max<int>(h, minSize_.y);
    // a place on no monitor (one unplugged since) is no place: the window is centred
    if (w <= 0 || h <= 0 || !MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
      RECT work{}, own{};
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
      GetWindowRect(Handle(), &own);
      const int ow = own.right - own.left, oh = own.bottom - own.top;
      r = {work.left + (work.right - work.left - ow) / 2, work.top + (work.bottom - work.top - oh) / 2, 0, 0};
      r.right = r.left + ow, r.bottom = r.top + oh;
    }
    SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
  }

  void SavePlace() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(Handle(), &wp)) return;
    const RECT& r = wp.rcNormalPosition;  // the size it has when not maximised
    settings_.WriteInteger("UsageLeft", r.left);
    settings_.WriteInteger("UsageTop", r.top);
    settings_.WriteInteger("UsageWidth", r.right - r.left);
    settings_.WriteInteger("UsageHeight", r.bottom - r.top);
  }

  // The whole history in the unit of the bars on view, for the adapter on view.
  void Export() {
    wchar_t file[MAX_PATH] = L"usage.csv";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Handle();
    ofn.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"csv";
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    const tk::unique_hmodule dialogs = tk::LoadSystemLibrary("comdlg32.dll");
    const auto chooseFile = tk::LibraryFunction<decltype(&GetSaveFileNameW)>(dialogs, "GetSaveFileNameW");
    if (!chooseFile || !chooseFile(&ofn)) return;
    std::vector<TUsageRow> rows, kept;
    std::string error;
    if (!store_ || !store_->ReadAll(rows)) {
      error = "The usage history cannot be read now.";
    } else {
      for (TUsageRow& r : rows)
        if (view_.Adapter.empty() || r.Adapter == view_.Adapter) kept.push_back(std::move(r));
      WriteFileReplacing(tk::WideToUtf8(file), UsageCsv(kept, ShownUnit(view_)), error);
    }
    if (!error.empty()) MessageBoxA(Handle(), tk::Utf8ToAnsi(error).c_str(), "Tarvelo usage", MB_OK | MB_ICONWARNING);
  }

  TUsageStore* store_;
  TSettings& settings_;
  TChart chart_;
  TUsageView view_;
  TPlanSettings plan_;
  uint32_t today_ = 0;
  int32_t firstDay_ = 0;
  std::vector<std::string> adapters_;
  POINT minSize_{};
};

}  // namespace

void ShowUsageWindow(HWND owner, TUsageStore* store, TSettings& settings, TUsageChartArt& art) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  RegisterChartClass();
  TUsageWindow window(store, settings, art);
  window.RunModal(GetModuleHandleA(nullptr), IDD_USAGE, owner);
}
