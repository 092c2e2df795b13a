// An off-screen picture in the screen's (device-dependent) format with a canvas to
// draw on. Re-sizing keeps the picture and fills new area with the background
// colour, which follows the last brush colour drawn with.
#pragma once
#include "toolkit/WinApi.h"

#include <cstdint>

#include "toolkit/BaseObject.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawCanvas.h"
#include "toolkit/Handles.h"

namespace tk {

class TDrawBitmap final : public TBaseObject {
public:
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Nothing when unchanged; otherwise the picture is re-made at the new size.
  // Negative sizes count as 0; a size that cannot be made leaves everything as it was.
  void SetWidth(int32_t width);
  void SetHeight(int32_t height);
  // Both at once, with one re-make (the back buffer follows the client size this way).
  void SetSize(int32_t width, int32_t height);
  // Width or height 0: no canvas, nothing drawn, Pixel gives CLR_INVALID.
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // The canvas with this bitmap selected into it (the bitmap owns it: never Release it);
  // null for an empty bitmap.
  TDrawCanvas* Canvas();
  HBITMAP Handle() const { return handle_.get(); }
  // Takes the bitmap out of its canvas's context, for calls that select it themselves
  // (a bitmap can be in one context only). The canvas takes it back when it next draws.
  void Deselect();
  RECT BoundsRect() const { return RECT{0, 0, width_, height_}; }

  // BitBlt of the whole picture to dc at (x, y).
  void Draw(HDC dc, int32_t x, int32_t y);
  // The pixel's COLORREF; CLR_INVALID (0xFFFFFFFF) for an empty bitmap or outside it.
  uint32_t Pixel(int32_t x, int32_t y);

  TColor Background() const { return background_; }
  void SetBackground(TColor colour) { background_ = colour; }

  friend TDrawBitmap* CreateDrawBitmap(int32_t width, int32_t height);

private:
  TDrawBitmap() = default;
  ~TDrawBitmap() override = default;
  void BeforeDestroy() override;
  void Remake(int32_t oldWidth, int32_t oldHeight);
  void EnsureSelected();
  // The canvas's context while this bitmap is selected into it, else null.
  HDC SelectedDC() const;
  static void BeforeDrawing(void* data, TDrawCanvas* canvas);

  int32_t width_ = 0, height_ = 0;
  tk::unique_hbitmap handle_;
  TDrawCanvas* canvas_ = nullptr;
  HGDIOBJ canvasPrevBitmap_ = nullptr;
  TColor background_ = 0;
};

// A screen-compatible bitmap; empty (no handle) unless both sizes are above 0.
TDrawBitmap* CreateDrawBitmap(int32_t width, int32_t height);

}  // namespace tk
