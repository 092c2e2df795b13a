// Brush, font and pen in one type. The GDI handle is made on first use and kept
// until a property really changes (or a system colour it was made from moves). The
// last few handles it gave up are kept too, so a drawing that cycles through the
// same colours every time makes no handles after its first run.
#pragma once
#include "toolkit/WinApi.h"

#include <array>
#include <cstdint>
#include <string>

#include "toolkit/BaseObject.h"
#include "toolkit/Colour.h"
#include "toolkit/Handles.h"

namespace tk {

enum class TToolKind : uint8_t { Brush = 0, Font = 1, Pen = 2 };

class TDrawTool;
// Called after a property change, before the old handle is deleted, so that the
// holder can take the handle out of its device context first.
using TToolChangeNotify = void (*)(void* data, TDrawTool* tool);

// Brush styles; 2 and above are hatches (style - 2 is the HS_ value).
constexpr uint8_t BrushSolid = 0;
constexpr uint8_t BrushClear = 1;
constexpr uint8_t BrushHatchFirst = 2;

// Font style bits.
constexpr uint8_t FontBold = 1;
constexpr uint8_t FontItalic = 2;
constexpr uint8_t FontUnderline = 4;
constexpr uint8_t FontStrikeOut = 8;

class TDrawTool final : public TBaseObject {
public:
  TToolKind Kind() const { return kind_; }

  // The handle, made now if needed; null only when GDI refuses to make it.
  HGDIOBJ Handle();
  bool HasHandle() const;
  // The handle exists but its system colour has moved since it was made.
  bool IsStale() const;

  void SetChangeNotify(TToolChangeNotify code, void* data) { notify_ = {code, data}; }

  TColor Colour() const { return colour_; }
  void SetColour(TColor colour);

  // brush
  uint8_t BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(uint8_t style);
  void SetBrushBitmap(HBITMAP pattern);  // not owned; 0 = none
  void SetHatchColour(TColor colour);

  // font
  const LOGFONTA& LogFont() const { return font_; }
  std::string FontName() const { return font_.lfFaceName; }
  void SetFontName(const std::string& name);
  int32_t FontHeight() const { return font_.lfHeight; }
  void SetFontHeight(int32_t height);
  uint8_t FontStyle() const;
  void SetFontStyle(uint8_t bits);

  // pen
  uint8_t PenStyle() const { return penStyle_; }
  void SetPenStyle(uint8_t style);
  int32_t PenWidth() const { return penWidth_; }
  void SetPenWidth(int32_t width);
  // The ROP2 value minus 1 (12 is R2_COPYPEN).
  uint8_t PenMode() const { return penMode_; }
  void SetPenMode(uint8_t mode);

  // How many GDI handles tools have made in this process (for figures and tests).
  static long HandlesMade();

  friend TDrawTool* CreateDrawTool(TToolKind kind);

private:
  explicit TDrawTool(TToolKind kind);
  ~TDrawTool() override = default;
  void BeforeDestroy() override;
  // What a handle is made from; equal keys give equal handles.
  struct TKey {
    uint32_t rgb = 0, hatchRGB = 0;
    HBITMAP pattern = nullptr;
    int32_t width = 0;
    uint8_t style = 0, mode = 0;
    LOGFONTA font{};
    bool operator==(const TKey& o) const;
  };
  using TKeptHandle = tk::unique_any<HGDIOBJ, tk::detail::CloseGdi, tk::THandleFamily::Gdi>;
  struct TKept {
    TKey key;
    TKeptHandle handle;
  };
  static constexpr size_t KeptCount = 12;

  void Changed();
  // The current handle goes among the kept ones (the oldest of those is deleted).
  void DropHandle();
  void DropAll();
  TKey CurrentKey() const;
  HGDIOBJ CurrentHandle() const;

  TToolKind kind_;
  TColor colour_;
  uint32_t cachedRGB_ = 0;
  std::pair<TToolChangeNotify, void*> notify_{nullptr, nullptr};

  tk::unique_hbrush brush_;
  tk::unique_hfont font_handle_;
  tk::unique_hpen pen_;
  TKey key_;  // of the current handle
  std::array<TKept, KeptCount> kept_;
  size_t nextKept_ = 0;

  HBITMAP pattern_ = nullptr;
  uint8_t brushStyle_ = BrushSolid;
  TColor hatchColour_ = 0;

  LOGFONTA font_{};

  uint8_t penStyle_ = PS_SOLID;
  int32_t penWidth_ = 0;
  uint8_t penMode_ = R2_COPYPEN - 1;
};

// A new tool with the kind's defaults: brush 0x8000000F solid, font 0x80000008
// "MS Sans Serif", pen black, solid, width 0.
TDrawTool* CreateDrawTool(TToolKind kind);

}  // namespace tk
