#include "app/StatsTray.h"

#include <memory>

#include "render/GdiSurface.h"
#include "render/TrayPicture.h"
#include "resources/resource.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/Dpi.h"

namespace {

struct TReleaser {
  void operator()(tk::TBaseObject* object) const { tk::Release(object); }
};

}  // namespace

void TStatsTray::CreateIcon(tk::TWindowObject* window) {
  StatsTrayIcon = tk::CreateNotifyIcon(window);
  StatsTrayIcon->SetReAddOnTaskbarRestart(true);
}

void TStatsTray::CreateImageList(tk::TWindowObject* form, HINSTANCE module) {
  StatsImageList = tk::CreateImageStrip(form);
  idleStrip_ = StatsImageList->LoadStripBitmap(module, TrayImagesName, form);
  PictureSize();
}

int32_t TStatsTray::PictureSize() {
  const int32_t size = TrayPictureSizeFor(tk::SmallIconSize());
  if (!StatsImageList || size == size_) return size;
  size_ = size;
  StatsImageList->Discard();
  StatsImageList->SetColours(6);
  StatsImageList->SetImageWidth(size);
  StatsImageList->SetImageHeight(size);
  if (size == TrayPictureSize) {
    if (idleStrip_) StatsImageList->AddMasked(idleStrip_, TrayBackground);
    return size;
  }
  for (const int32_t image : {TrayImageLongIdle, TrayImageIdle}) {
    const std::unique_ptr<tk::TDrawBitmap, TReleaser> picture(tk::CreateDrawBitmap(size, size));
    if (tk::TDrawCanvas* canvas = picture->Canvas()) {
      TGdiSurface surface(*canvas);
      DrawIdleTrayPicture(surface, image, size);
      StatsImageList->AddMasked(picture.get(), TrayBackground);
    }
  }
  return size;
}

void TStatsTray::Activate() {
  if (StatsTrayIcon) StatsTrayIcon->SetActive(true);
}

void TStatsTray::Deactivate() {
  if (StatsTrayIcon) StatsTrayIcon->SetActive(false);
}

void TStatsTray::Forget() {
  StatsTrayIcon = nullptr;
  StatsImageList = nullptr;
  idleStrip_ = nullptr;
  size_ = 0;
}

void TStatsTray::SetTrayImage(int32_t index) {
  if (!StatsTrayIcon) return;
  tk::unique_hicon previous;
  if (index < 0) {
    previous = StatsTrayIcon->SetSharedIcon(nullptr);  // the form has no icon of its own
  } else {
    previous = StatsTrayIcon->SetIcon(StatsImageList ? StatsImageList->GetIcon(index) : tk::unique_hicon());
  }
  previous.reset();  // only now that the shell shows the new one
  StatsTrayIcon->SetActive(true);  // the first picture adds the icon
}

void TStatsTray::ShowBalloon(const std::string& title, const std::string& text, int seconds, int kind) {
  if (StatsTrayIcon) StatsTrayIcon->ShowBalloon(title, text, seconds, kind);
}

void TStatsTray::RenderTrayImage(int32_t down, int32_t up) {
  const int32_t size = PictureSize();  // the fixed pictures too follow the display's scale
  const int32_t idle = TrayIdleImage(form_.TrayMode, down, up, form_.IdleTicks);
  if (idle >= 0) {
    SetTrayImage(idle);
    return;
  }
  const std::unique_ptr<tk::TDrawBitmap, TReleaser> picture(tk::CreateDrawBitmap(size, size));
  int32_t index = -1;
  if (tk::TDrawCanvas* canvas = picture->Canvas()) {
    TGdiSurface surface(*canvas);
    DrawTrayPicture(surface, form_, history_, down, up, size);
    // Usually magenta; the mini graph may have covered the corner with an area.
    const uint32_t key = picture->Pixel(0, 0);
    if (StatsImageList && key != CLR_INVALID) index = StatsImageList->AddMasked(picture.get(), key);
  }
  SetTrayImage(index);
  // The list keeps only its two idle pictures between ticks.
  if (index > 1) StatsImageList->Remove(index);
}
