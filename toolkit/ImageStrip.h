// A list of equally sized images (an image list), made on first use, from which
// icons are drawn.
#pragma once
#include "toolkit/WinApi.h"
#include <commctrl.h>

#include <cstdint>

#include "toolkit/BaseObject.h"
#include "toolkit/Colour.h"
#include "toolkit/Handles.h"

namespace tk {

class TDrawBitmap;

// Background colour meaning "leave the image list's own".
constexpr uint32_t StripNoBackground = 0x1FFFFFFFu;

class TImageStrip final : public TBaseObject {
public:
  // These take effect only while the image list has not been made.
  // Colour depth selector: 0 and 6 ILC_COLORDDB, 1 ILC_COLOR4, 2 ILC_COLOR8,
  // 3 ILC_COLOR16, 4 ILC_COLOR24, 5 ILC_COLOR32, 7 (and anything else) ILC_COLOR.
  void SetColours(uint8_t selector);
  void SetImageWidth(int32_t width);
  void SetImageHeight(int32_t height);
  void SetMasked(bool masked);
  void SetBackground(uint32_t colour);

  int32_t ImageWidth() const { return width_; }
  int32_t ImageHeight() const { return height_; }
  HIMAGELIST Handle() const { return list_.get(); }
  int32_t Count() const;

  // LoadBitmapA; the bitmap lives until `owner` is destroyed (this strip when null).
  HBITMAP LoadStripBitmap(HINSTANCE module, const char* name, TBaseObject* owner);
  // Appends the images in bitmap, pixels of maskColour (a COLORREF) transparent.
  // Returns the first new index, or -1 when the list cannot be made or take them.
  // The system may blacken the masked pixels of the source bitmap.
  int32_t AddMasked(HBITMAP bitmap, uint32_t maskColour);
  // The same for a toolkit bitmap, taken out of its canvas first.
  int32_t AddMasked(TDrawBitmap* bitmap, uint32_t maskColour);
  // One image; a negative or unknown index removes nothing (it is not "all").
  bool Remove(int32_t index);
  void Clear();
  // Drops the list with its images, so that a new size (a new DPI) can be set.
  void Discard() { list_.reset(); }
  // A new icon of the image, owned by the caller; empty when there is none.
  tk::unique_hicon GetIcon(int32_t index);

  friend TImageStrip* CreateImageStrip(TBaseObject* owner);

private:
  TImageStrip() = default;
  ~TImageStrip() override = default;
  void BeforeDestroy() override { list_.reset(); }
  bool MakeList();

  tk::unique_himagelist list_;
  int32_t width_ = 32, height_ = 32;
  uint8_t colours_ = 7;
  bool masked_ = true;
  uint32_t background_ = StripNoBackground;
  int32_t grow_ = 1;
};

// A strip released with `owner` (through its owned list) when owner is not null.
TImageStrip* CreateImageStrip(TBaseObject* owner);

}  // namespace tk
