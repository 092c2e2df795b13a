#include "toolkit/DrawBitmap.h"

#include <algorithm>

namespace tk {

namespace {

HBITMAP MakeScreenBitmap(int32_t width, int32_t height) {
  tk::TScopedGetDC screen(nullptr);
  if (!screen.get()) return nullptr;
  return ::CreateCompatibleBitmap(screen.get(), width, height);
}

}  // namespace

TDrawBitmap* CreateDrawBitmap(int32_t width, int32_t height) {
  auto* bitmap = new TDrawBitmap();
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width > 0 && height > 0) {
    bitmap->handle_.reset(MakeScreenBitmap(width, height));
    if (bitmap->handle_) {
      bitmap->width_ = width;
      bitmap->height_ = height;
    }
  }
  return bitmap;
}

void TDrawBitmap::BeforeDestroy() {
  Deselect();
  if (canvas_) {
    canvas_->SetBeforeDrawing(nullptr, nullptr);
    Release(std::exchange(canvas_, nullptr));
  }
  handle_.reset();
}

void TDrawBitmap::Deselect() {
  if (!canvas_ || !handle_) return;
  HDC dc = canvas_->Handle();
  if (dc && ::GetCurrentObject(dc, OBJ_BITMAP) == handle_.get())
    ::SelectObject(dc, canvasPrevBitmap_);
}

void TDrawBitmap::EnsureSelected() {
  if (!canvas_ || !handle_ || Empty()) return;
  if (!canvas_->Handle()) canvas_->SetHandle(::CreateCompatibleDC(nullptr), TDcSource::Owned);
  HDC dc = canvas_->Handle();
  if (!dc) return;
  if (::GetCurrentObject(dc, OBJ_BITMAP) != handle_.get()) {
    HGDIOBJ prev = ::SelectObject(dc, handle_.get());
    if (prev) canvasPrevBitmap_ = prev;
  }
}

void TDrawBitmap::BeforeDrawing(void* data, TDrawCanvas* canvas) {
  auto* self = static_cast<TDrawBitmap*>(data);
  self->background_ = canvas->Brush()->Colour();
  // A canvas kept across a Draw or Pixel would otherwise draw into the context's stock bitmap.
  self->EnsureSelected();
}

TDrawCanvas* TDrawBitmap::Canvas() {
  if (Empty() || !handle_) return nullptr;
  if (!canvas_) {
    canvas_ = CreateDrawCanvas(nullptr);
    canvas_->Brush()->SetColour(background_);
    canvas_->SetBeforeDrawing(&TDrawBitmap::BeforeDrawing, this);
  }
  EnsureSelected();
  return canvas_;
}

void TDrawBitmap::SetWidth(int32_t width) { SetSize(width, height_); }
void TDrawBitmap::SetHeight(int32_t height) { SetSize(width_, height); }

void TDrawBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  const int32_t oldWidth = width_, oldHeight = height_;
  width_ = width;
  height_ = height;
  Remake(oldWidth, oldHeight);
}

void TDrawBitmap::Remake(int32_t oldWidth, int32_t oldHeight) {
  // Empty keeps the old picture and handle, so growing back restores it.
  if (Empty()) return;
  Deselect();

  tk::unique_hbitmap fresh(MakeScreenBitmap(width_, height_));
  tk::unique_hdc dc(::CreateCompatibleDC(nullptr));
  if (!fresh || !dc) {
    // Keeping the picture beats a bitmap with a size and no pixels.
    width_ = oldWidth;
    height_ = oldHeight;
    return;
  }
  {
    tk::TScopedSelect selectFresh(dc.get(), fresh.get());
    const RECT all{0, 0, width_, height_};
    tk::unique_hbrush fill(::CreateSolidBrush(ColourToRGB(background_)));
    ::FillRect(dc.get(), &all, fill.get());

    if (handle_) {
      BITMAP info{};
      if (::GetObjectA(handle_.get(), sizeof info, &info)) {
        tk::unique_hdc oldDc(::CreateCompatibleDC(nullptr));
        tk::TScopedSelect selectOld(oldDc.get(), handle_.get());
        // Only what both have in common; the rest keeps the background.
        ::BitBlt(dc.get(), 0, 0, std::min<LONG>(info.bmWidth, width_), std::min<LONG>(info.bmHeight, height_),
                 oldDc.get(), 0, 0, SRCCOPY);
      }
    }
  }
  handle_ = std::move(fresh);
}

HDC TDrawBitmap::SelectedDC() const {
  if (!canvas_ || !handle_) return nullptr;
  HDC dc = canvas_->HandleIfMade();
  return dc && ::GetCurrentObject(dc, OBJ_BITMAP) == handle_.get() ? dc : nullptr;
}

void TDrawBitmap::Draw(HDC target, int32_t x, int32_t y) {
  if (Empty() || !handle_ || !target) return;
  BITMAP info{};
  int32_t w = width_, h = height_;
  if (::GetObjectA(handle_.get(), sizeof info, &info)) {
    w = std::min<int32_t>(w, info.bmWidth);
    h = info.bmHeight;
  }
  // Straight from the canvas's context when the bitmap sits there: a context made
  // and the bitmap moved out and back in again cost more than the copy (every paint).
  if (HDC dc = SelectedDC()) {
    ::BitBlt(target, x, y, w, h, dc, 0, 0, SRCCOPY);
    return;
  }
  tk::unique_hdc dc(::CreateCompatibleDC(nullptr));
  tk::TScopedSelect select(dc.get(), handle_.get());
  ::BitBlt(target, x, y, w, h, dc.get(), 0, 0, SRCCOPY);
}

uint32_t TDrawBitmap::Pixel(int32_t x, int32_t y) {
  if (Empty() || !handle_) return CLR_INVALID;
  if (HDC dc = SelectedDC()) return ::GetPixel(dc, x, y);
  tk::unique_hdc dc(::CreateCompatibleDC(nullptr));
  tk::TScopedSelect select(dc.get(), handle_.get());
  return ::GetPixel(dc.get(), x, y);
}

}  // namespace tk
