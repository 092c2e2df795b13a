// The notification-area glue: the tray icon, the image list its pictures come from,
// the tick's tray picture step and the statistics balloon.
#pragma once
#include <cstdint>
#include <string>

#include "app/StatsForm.h"
#include "app/Tick.h"
#include "toolkit/ImageStrip.h"
#include "toolkit/NotifyIcon.h"
#include "toolkit/WindowObject.h"
#include "traffic/TrafficHistory.h"

class TStatsTray final : public TTrayHost {
public:
  // The picture is drawn from the form's look and the history, both outliving the tray.
  TStatsTray(const TStatsForm& form, const TTrafficHistory& history) : form_(form), history_(history) {}

  // The icon on the given window, re-added after a shell restart; no picture yet, so
  // nothing shows.
  void CreateIcon(tk::TWindowObject* window);
  // The two idle pictures from the "STATSFORM_IMAGELIST" bitmap of `module`, magenta
  // transparent, or drawn at the small-icon size when it is not 16; owned by the form.
  void CreateImageList(tk::TWindowObject* form, HINSTANCE module);
  // The picture size now; the list is made again when the small-icon size changed.
  int32_t PictureSize();
  // The icon goes into the notification area once it has a picture.
  void Activate();
  void Deactivate();
  // The icon and the image list died with the form.
  void Forget();

  tk::TNotifyIcon* Icon() const { return StatsTrayIcon; }
  tk::TImageStrip* ImageList() const { return StatsImageList; }

  // An image of the list as the icon's picture, or -1 for the form's own icon (it has
  // none). The previous picture is destroyed once the new one is installed.
  void SetTrayImage(int32_t index);
  void ShowBalloon(const std::string& title, const std::string& text, int seconds, int kind);

  // TTrayHost
  void RenderTrayImage(int32_t down, int32_t up) override;

private:
  const TStatsForm& form_;
  const TTrafficHistory& history_;
  tk::TNotifyIcon* StatsTrayIcon = nullptr;
  tk::TImageStrip* StatsImageList = nullptr;
  HBITMAP idleStrip_ = nullptr;  // the 16 px idle pictures, owned by the form
  int32_t size_ = 0;
};
