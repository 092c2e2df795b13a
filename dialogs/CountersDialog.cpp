#include "dialogs/CountersDialog.h"

#include "dialogs/CounterFormat.h"
#include "resources/resource.h"
#include "settings/RegSettings.h"
#include "settings/SettingsCatalogue.h"
#include "toolkit/Dialog.h"

namespace {

class TCountersDialog : public tk::TDialog {
public:
  TCountersDialog(TSettings& store, const std::function<void()>& resetInMemory)
      : store_(store), resetInMemory_(resetInMemory) {}

protected:
  // Filled once: the values are those of the last tick and are not refreshed.
  bool OnInit() override {
    CenterOnWorkArea(Handle());
    const TCounterTexts texts = ReadCounterTexts(store_);
    const std::pair<int, const std::string&> boxes[] = {
        {IDC_COUNTER_ELAPSED, texts.Elapsed},
        {IDC_COUNTER_UPLOAD, texts.Upload},
        {IDC_COUNTER_UPLOAD_SPEED, texts.UploadSpeed},
        {IDC_COUNTER_DOWNLOAD, texts.Download},
        {IDC_COUNTER_DOWNLOAD_SPEED, texts.DownloadSpeed},
        {IDC_COUNTER_TOTAL, texts.Total},
        {IDC_COUNTER_TOTAL_SPEED, texts.TotalSpeed}};
    for (const auto& [id, text] : boxes) SetDlgItemTextA(Handle(), id, text.c_str());
    // on Close rather than on the first box, which would open with its text selected
    SetFocus(GetDlgItem(Handle(), IDCANCEL));
    return false;
  }

  void OnCommand(int id, int code, HWND) override {
    if (code != BN_CLICKED) return;
    if (id == IDCANCEL) End(0);
    if (id == IDC_COUNTER_RESET) Reset();
  }

  // The caption's close box.
  bool OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR& result) override {
    if (msg != WM_CLOSE) return false;
    End(0);
    result = TRUE;
    return true;
  }

private:
  // The program's totals start again in the same step, with no message handled in
  // between, so no tick can store the old ones over the zeros.
  void Reset() {
    ResetStoredTotals(store_);
    if (resetInMemory_) resetInMemory_();
    End(0);
  }

  TSettings& store_;
  const std::function<void()>& resetInMemory_;
};

}  // namespace

void CenterOnWorkArea(HWND window, UINT flags) {
  RECT work{}, rect{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(window, &rect);
  SetWindowPos(window, nullptr, (work.right - rect.right + rect.left) / 2, (work.bottom - rect.bottom + rect.top) / 2,
               0, 0, flags);
}

void ShowCountersDialog(HWND owner, const std::function<void()>& resetInMemory) {
  TRegSettings store;
  store.KeyPath = TarveloKeyPath;
  store.Open();
  TCountersDialog dialog(store, resetInMemory);
  dialog.RunModal(GetModuleHandleA(nullptr), IDD_COUNTERS, owner);
}
