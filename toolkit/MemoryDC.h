// Double buffering as a scope (after WTL's CMemoryDC): a memory DC holding a
// screen-compatible bitmap of the area's size. Drawing goes into it; when it goes out
// of scope it copies the picture onto the target at the area's place, within the clip
// region if one was given, and frees everything it made.
#pragma once
#include "toolkit/Handles.h"
#include "toolkit/WinApi.h"

namespace tk {

class TMemoryDC {
public:
  // target may be null: the picture is then drawn and dropped.
  TMemoryDC(HDC target, const RECT& area) : target_(target), area_(area) {
    // The target is on the screen's device already; asking for the screen's DC as well
    // costs a round of its own every paint.
    if (target) {
      Make(target);
    } else {
      TScopedGetDC screen(nullptr);
      Make(screen.get());
    }
  }
  ~TMemoryDC() {
    if (!previous_) return;
    if (target_) {
      if (clip_) ::SelectClipRgn(target_, clip_);
      ::BitBlt(target_, area_.left, area_.top, Width(), Height(), dc_.get(), 0, 0, SRCCOPY);
      if (clip_) ::SelectClipRgn(target_, nullptr);
    }
    ::SelectObject(dc_.get(), previous_);  // out of the DC before either is deleted
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;

  // False when the DC or its bitmap could not be made; nothing is copied then.
  explicit operator bool() const { return previous_ != nullptr; }
  HDC get() const { return dc_.get(); }
  // Limits the copy to a region in the target's coordinates; the caller keeps it alive.
  void ClipTo(HRGN region) { clip_ = region; }

private:
  void Make(HDC like) {
    dc_.reset(::CreateCompatibleDC(like));
    bitmap_.reset(::CreateCompatibleBitmap(like, Width(), Height()));
    if (dc_ && bitmap_) previous_ = ::SelectObject(dc_.get(), bitmap_.get());
  }
  int Width() const { return area_.right - area_.left; }
  int Height() const { return area_.bottom - area_.top; }

  HDC target_;
  RECT area_;
  HRGN clip_ = nullptr;
  unique_hdc dc_;
  unique_hbitmap bitmap_;
  HGDIOBJ previous_ = nullptr;  // the memory DC's own bitmap, put back before it goes
};

}  // namespace tk
