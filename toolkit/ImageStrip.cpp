#include "toolkit/ImageStrip.h"

#include "toolkit/DrawBitmap.h"

namespace tk {

TImageStrip* CreateImageStrip(TBaseObject* owner) {
  auto* strip = new TImageStrip();
  if (owner) owner->AddOwned(strip);
  return strip;
}

void TImageStrip::SetColours(uint8_t selector) { if (!list_) colours_ = selector; }
void TImageStrip::SetImageWidth(int32_t width) { if (!list_) width_ = width; }
void TImageStrip::SetImageHeight(int32_t height) { if (!list_) height_ = height; }
void TImageStrip::SetMasked(bool masked) { if (!list_) masked_ = masked; }
void TImageStrip::SetBackground(uint32_t colour) { if (!list_) background_ = colour; }

int32_t TImageStrip::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

bool TImageStrip::MakeList() {
  if (list_) return true;
  if (width_ <= 0 || height_ <= 0) return false;
  static const UINT Depth[] = {ILC_COLORDDB, ILC_COLOR4,  ILC_COLOR8,   ILC_COLOR16,
                                ILC_COLOR24,  ILC_COLOR32, ILC_COLORDDB, ILC_COLOR};
  UINT flags = colours_ < 8 ? Depth[colours_] : ILC_COLOR;
  if (masked_) flags |= ILC_MASK;
  list_.reset(ImageList_Create(width_, height_, flags, 0, grow_));
  if (list_ && background_ != StripNoBackground) ImageList_SetBkColor(list_.get(), background_);
  return static_cast<bool>(list_);
}

namespace {
void DeleteLoadedBitmap(void* data) { delete static_cast<tk::unique_hbitmap*>(data); }
}  // namespace

HBITMAP TImageStrip::LoadStripBitmap(HINSTANCE module, const char* name, TBaseObject* owner) {
  HBITMAP bitmap = ::LoadBitmapA(module, name);
  if (!bitmap) return nullptr;
  // Held by a counted owner until the owner dies.
  (owner ? owner : this)->AddOwnedCallback(&DeleteLoadedBitmap, new tk::unique_hbitmap(bitmap));
  return bitmap;
}

int32_t TImageStrip::AddMasked(HBITMAP bitmap, uint32_t maskColour) {
  if (!bitmap || !MakeList()) return -1;
  return ImageList_AddMasked(list_.get(), bitmap, maskColour);
}

int32_t TImageStrip::AddMasked(TDrawBitmap* bitmap, uint32_t maskColour) {
  if (!bitmap || bitmap->Empty()) return -1;
  bitmap->Deselect();
  return AddMasked(bitmap->Handle(), maskColour);
}

bool TImageStrip::Remove(int32_t index) {
  // ImageList_Remove(-1) empties the list: a failed add's -1 must not wipe the images.
  if (!list_ || index < 0 || index >= Count()) return false;
  return ImageList_Remove(list_.get(), index) != FALSE;
}

void TImageStrip::Clear() {
  if (list_) ImageList_RemoveAll(list_.get());
}

tk::unique_hicon TImageStrip::GetIcon(int32_t index) {
  if (!list_ || index < 0 || index >= Count()) return tk::unique_hicon();
  return tk::unique_hicon(ImageList_GetIcon(list_.get(), index, ILD_NORMAL));
}

}  // namespace tk
