// A drawing surface that records every call, for asserting on the primitives a renderer
// draws. Text measures a fixed width per character and a line height per face.
#pragma once
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "render/DrawSurface.h"

inline void PrintTo(const TPoint32& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

struct TDrawCall {
  enum TKind { FillRect, FrameRect, Line, Rectangle, Ellipse, Polygon, MeasureText, DrawString };
  TKind kind = FillRect;
  TRect rect = {};                    // boxes, DrawString's box
  TColor colour = 0;                  // fill, line, frame or text colour
  TColor outline = 0;                 // Rectangle, Ellipse, Polygon
  TPoint32 from = {}, to = {};        // Line
  std::vector<TPoint32> points = {};  // Polygon
  std::string text = {};
  TFontSpec font = {};
  TTextAlign align = TTextAlign::Left;
};

class TRecordingSurface : public TDrawSurface {
public:
  std::vector<TDrawCall> Calls;
  int CharWidth = 5;
  std::map<std::string, int> LineHeights = {{"Small Fonts", 11}, {"MS Sans Serif", 13}};

  void FillRect(const TRect& r, TColor c) override { Calls.push_back({TDrawCall::FillRect, r, c}); }
  void FrameRect(const TRect& r, TColor c) override { Calls.push_back({TDrawCall::FrameRect, r, c}); }
  void Line(TPoint32 a, TPoint32 b, TColor c) override { Calls.push_back({TDrawCall::Line, {}, c, 0, a, b}); }
  void Rectangle(const TRect& r, TColor o, TColor fill) override { Calls.push_back({TDrawCall::Rectangle, r, fill, o}); }
  void Ellipse(const TRect& r, TColor o, TColor fill) override { Calls.push_back({TDrawCall::Ellipse, r, fill, o}); }
  void Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) override {
    Calls.push_back({TDrawCall::Polygon, {}, fill, outline, {}, {}, {points, points + count}});
  }
  TSize MeasureText(const std::string& text, const TFontSpec& font) override {
    Calls.push_back({TDrawCall::MeasureText, {}, 0, 0, {}, {}, {}, text, font});
    const auto h = LineHeights.find(font.face);
    return {static_cast<int32_t>(text.size()) * CharWidth, h == LineHeights.end() ? font.height : h->second};
  }
  void DrawString(const std::string& text, const TRect& box, const TFontSpec& font, TColor colour,
                  TTextAlign align) override {
    Calls.push_back({TDrawCall::DrawString, box, colour, 0, {}, {}, {}, text, font, align});
  }

  std::vector<TDrawCall> Of(TDrawCall::TKind kind) const {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : Calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }
  void Clear() { Calls.clear(); }
};
