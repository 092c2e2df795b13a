#include "toolkit/DrawTool.h"

#include <algorithm>
#include <cstring>

namespace tk {

namespace {
long g_handlesMade = 0;
}

long TDrawTool::HandlesMade() { return g_handlesMade; }

TDrawTool* CreateDrawTool(TToolKind kind) { return new TDrawTool(kind); }

TDrawTool::TDrawTool(TToolKind kind) : kind_(kind) {
  switch (kind) {
    case TToolKind::Brush: colour_ = SysColour(SysColorBtnFace); break;
    case TToolKind::Font:
      colour_ = SysColour(SysColorWindowText);
      font_.lfCharSet = DEFAULT_CHARSET;
      std::strcpy(font_.lfFaceName, "MS Sans Serif");
      break;
    case TToolKind::Pen: colour_ = 0; break;
  }
  cachedRGB_ = ColourToRGB(colour_);
}

void TDrawTool::BeforeDestroy() { DropAll(); }

bool TDrawTool::TKey::operator==(const TKey& o) const {
  return rgb == o.rgb && hatchRGB == o.hatchRGB && pattern == o.pattern && width == o.width && style == o.style &&
         mode == o.mode && std::memcmp(&font, &o.font, sizeof font) == 0;
}

TDrawTool::TKey TDrawTool::CurrentKey() const {
  TKey key;
  switch (kind_) {
    case TToolKind::Brush:
      key.rgb = ColourToRGB(colour_);
      key.pattern = pattern_;
      key.style = brushStyle_;
      if (brushStyle_ >= BrushHatchFirst) key.hatchRGB = ColourToRGB(hatchColour_);
      break;
    case TToolKind::Font: key.font = font_; break;  // the text colour is not the font's
    case TToolKind::Pen:
      key.rgb = ColourToRGB(colour_);
      key.width = penWidth_;
      key.style = penStyle_;
      break;
  }
  return key;
}

HGDIOBJ TDrawTool::CurrentHandle() const {
  switch (kind_) {
    case TToolKind::Brush: return brush_.get();
    case TToolKind::Font: return font_handle_.get();
    case TToolKind::Pen: return pen_.get();
  }
  return nullptr;
}

bool TDrawTool::HasHandle() const {
  return static_cast<bool>(brush_) || static_cast<bool>(font_handle_) || static_cast<bool>(pen_);
}

bool TDrawTool::IsStale() const {
  // Only system colours can move under a handle; plain RGB never needs the lookup.
  return IsSysColour(colour_) && HasHandle() && ColourToRGB(colour_) != cachedRGB_;
}

void TDrawTool::DropHandle() {
  HGDIOBJ current = nullptr;
  if (brush_) current = brush_.release();
  if (font_handle_) current = font_handle_.release();
  if (pen_) current = pen_.release();
  if (!current) return;
  TKept& slot = kept_[nextKept_];
  nextKept_ = (nextKept_ + 1) % KeptCount;
  slot.handle.reset(current);
  slot.key = key_;
}

void TDrawTool::DropAll() {
  brush_.reset();
  font_handle_.reset();
  pen_.reset();
  for (TKept& kept : kept_) kept.handle.reset();
}

void TDrawTool::Changed() {
  // The holder deselects first: a handle still selected into a DC cannot be deleted.
  if (notify_.first) notify_.first(notify_.second, this);
  DropHandle();
}

HGDIOBJ TDrawTool::Handle() {
  if (IsStale()) {
    if (notify_.first) notify_.first(notify_.second, this);
    DropHandle();
  }
  if (!HasHandle()) {
    cachedRGB_ = ColourToRGB(colour_);
    key_ = CurrentKey();
    for (TKept& kept : kept_) {
      if (!kept.handle || !(kept.key == key_)) continue;
      HGDIOBJ h = kept.handle.release();
      switch (kind_) {
        case TToolKind::Brush: brush_.reset(static_cast<HBRUSH>(h)); break;
        case TToolKind::Font: font_handle_.reset(static_cast<HFONT>(h)); break;
        case TToolKind::Pen: pen_.reset(static_cast<HPEN>(h)); break;
      }
      return h;
    }
    switch (kind_) {
      case TToolKind::Brush: {
        LOGBRUSH lb{};
        lb.lbColor = cachedRGB_;
        if (pattern_) {
          lb.lbStyle = BS_PATTERN;
          lb.lbHatch = reinterpret_cast<ULONG_PTR>(pattern_);
        } else if (brushStyle_ == BrushSolid) {
          lb.lbStyle = BS_SOLID;
        } else if (brushStyle_ == BrushClear) {
          lb.lbStyle = BS_NULL;
        } else {
          lb.lbStyle = BS_HATCHED;
          lb.lbHatch = brushStyle_ - BrushHatchFirst;
          lb.lbColor = ColourToRGB(hatchColour_);
        }
        brush_.reset(::CreateBrushIndirect(&lb));
        break;
      }
      case TToolKind::Font: font_handle_.reset(::CreateFontIndirectA(&font_)); break;
      case TToolKind::Pen: {
        LOGPEN lp{};
        lp.lopnStyle = penStyle_;
        lp.lopnWidth.x = penWidth_;
        lp.lopnColor = cachedRGB_;
        pen_.reset(::CreatePenIndirect(&lp));
        break;
      }
    }
    if (HasHandle()) ++g_handlesMade;
  }
  return CurrentHandle();
}

void TDrawTool::SetColour(TColor colour) {
  if (colour == colour_) return;
  colour_ = colour;
  if (kind_ == TToolKind::Font) {
    // The font stays; the holder only has to set the new text colour.
    if (notify_.first) notify_.first(notify_.second, this);
  } else {
    Changed();
  }
  cachedRGB_ = ColourToRGB(colour_);
}

void TDrawTool::SetBrushStyle(uint8_t style) {
  if (style == brushStyle_) return;
  brushStyle_ = style;
  Changed();
}

void TDrawTool::SetBrushBitmap(HBITMAP pattern) {
  if (pattern == pattern_) return;
  pattern_ = pattern;
  Changed();
}

void TDrawTool::SetHatchColour(TColor colour) {
  if (colour == hatchColour_) return;
  hatchColour_ = colour;
  Changed();
}

void TDrawTool::SetFontName(const std::string& name) {
  char face[LF_FACESIZE] = {};
  std::memcpy(face, name.data(), std::min<size_t>(name.size(), LF_FACESIZE - 1));
  if (std::strcmp(face, font_.lfFaceName) == 0) return;
  std::memcpy(font_.lfFaceName, face, LF_FACESIZE);
  Changed();
}

void TDrawTool::SetFontHeight(int32_t height) {
  if (height == font_.lfHeight) return;
  font_.lfHeight = height;
  Changed();
}

uint8_t TDrawTool::FontStyle() const {
  uint8_t bits = 0;
  if (font_.lfWeight >= FW_BOLD) bits |= FontBold;
  if (font_.lfItalic) bits |= FontItalic;
  if (font_.lfUnderline) bits |= FontUnderline;
  if (font_.lfStrikeOut) bits |= FontStrikeOut;
  return bits;
}

void TDrawTool::SetFontStyle(uint8_t bits) {
  bits &= FontBold | FontItalic | FontUnderline | FontStrikeOut;
  if (bits == FontStyle()) return;
  if (bits & FontBold) {
    if (font_.lfWeight < FW_BOLD) font_.lfWeight = FW_BOLD;
  } else if (font_.lfWeight >= FW_BOLD) {
    font_.lfWeight = 0;
  }
  font_.lfItalic = (bits & FontItalic) ? 1 : 0;
  font_.lfUnderline = (bits & FontUnderline) ? 1 : 0;
  font_.lfStrikeOut = (bits & FontStrikeOut) ? 1 : 0;
  Changed();
}

void TDrawTool::SetPenStyle(uint8_t style) {
  if (style == penStyle_) return;
  penStyle_ = style;
  Changed();
}

void TDrawTool::SetPenWidth(int32_t width) {
  if (width == penWidth_) return;
  penWidth_ = width;
  Changed();
}

void TDrawTool::SetPenMode(uint8_t mode) {
  if (mode == penMode_) return;
  penMode_ = mode;
  Changed();
}

}  // namespace tk
