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
  TRect rect;                    // boxes, DrawString's box
  TPoint32 from, to;             // Line
  std::vector<TPoint32> points;  // Polygon
  TColor colour = 0;             // fill, line, frame or text colour
  TColor outline = 0;            // Rectangle, Ellipse, Polygon
  std::string text;
  TFontSpec font;
  TTextAlign align = TTextAlign::Left;
};

class TRecordingSurface : public TDrawSurface {
public:
  std::vector<TDrawCall> Calls;
  int CharWidth = 5;
  std::map<std::string, int> LineHeights = {{"Small Fonts", 11}, {"MS Sans Serif", 13}};

  void FillRect(const TRect& r, TColor c) override { Add(TDrawCall::FillRect, r, c); }
  void FrameRect(const TRect& r, TColor c) override { Add(TDrawCall::FrameRect, r, c); }
  void Line(TPoint32 a, TPoint32 b, TColor c) override {
    TDrawCall& d = Add(TDrawCall::Line, {}, c);
    d.from = a, d.to = b;
  }
  void Rectangle(const TRect& r, TColor outline, TColor fill) override { Add(TDrawCall::Rectangle, r, fill, outline); }
  void Ellipse(const TRect& r, TColor outline, TColor fill) override { Add(TDrawCall::Ellipse, r, fill, outline); }
  void Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) override {
    Add(TDrawCall::Polygon, {}, fill, outline).points.assign(points, points + count);
  }
  TSize MeasureText(const std::string& text, const TFontSpec& font) override {
    TDrawCall& d = Add(TDrawCall::MeasureText);
    d.text = text, d.font = font;
    const auto h = LineHeights.find(font.face);
    return {static_cast<int32_t>(text.size()) * CharWidth, h == LineHeights.end() ? font.height : h->second};
  }
  void DrawString(const std::string& text, const TRect& box, const TFontSpec& font, TColor colour,
                TTextAlign align) override {
    TDrawCall& d = Add(TDrawCall::DrawString, box, colour);
    d.text = text, d.font = font, d.align = align;
  }

  std::vector<TDrawCall> Of(TDrawCall::TKind kind) const {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : Calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }
  void Clear() { Calls.clear(); }

private:
  TDrawCall& Add(TDrawCall::TKind kind, TRect r = {}, TColor colour = 0, TColor outline = 0) {
    TDrawCall& c = Calls.emplace_back();
    c.kind = kind, c.rect = r, c.colour = colour, c.outline = outline;
    return c;
  }
};
