#include "app/StatsTray.h"

#include "resources/resource.h"

void TStatsTray::CreateIcon(tk::TWindowObject* app) {
  StatsTrayIcon = tk::CreateNotifyIcon(app);
  StatsTrayIcon->SetReAddOnTaskbarRestart(true);
}

void TStatsTray::CreateImageList(tk::TWindowObject* form) {
  StatsImageList = tk::CreateImageStrip(form);
  StatsImageList->SetColours(6);
  StatsImageList->SetImageWidth(16);
  StatsImageList->SetImageHeight(16);
  if (HBITMAP strip = StatsImageList->LoadStripBitmap(GetModuleHandleA(nullptr), TrayImagesName, form))
    StatsImageList->AddMasked(strip, 0xFF00FF);
}

void TStatsTray::Activate() { StatsTrayIcon->SetActive(true); }

void TStatsTray::Deactivate() { StatsTrayIcon->SetActive(false); }

void TStatsTray::RenderTrayImage(int32_t, int32_t) {
  // The tray picture comes with the tray renderer; until then the icon stays without one.
}
