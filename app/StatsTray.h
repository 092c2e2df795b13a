// The notification-area glue: the tray icon, the image list its pictures come from,
// and the tick's tray picture step.
#pragma once
#include <cstdint>

#include "app/Tick.h"
#include "toolkit/ImageStrip.h"
#include "toolkit/NotifyIcon.h"
#include "toolkit/WindowObject.h"

class TStatsTray final : public TTrayHost {
public:
  // The icon on the application window, re-added after a shell restart; no picture
  // yet, so nothing shows.
  void CreateIcon(tk::TWindowObject* app);
  // The two idle pictures from the "STATSFORM_IMAGELIST" bitmap, magenta transparent;
  // owned by the form.
  void CreateImageList(tk::TWindowObject* form);
  // The icon goes into the notification area once it has a picture.
  void Activate();
  void Deactivate();

  tk::TNotifyIcon* Icon() const { return StatsTrayIcon; }

  // TTrayHost
  void RenderTrayImage(int32_t down, int32_t up) override;

private:
  tk::TNotifyIcon* StatsTrayIcon = nullptr;
  tk::TImageStrip* StatsImageList = nullptr;
};
