// A drawing surface that records every call with its arguments, for asserting on
// the primitives a renderer draws. Text is measured deterministically: a fixed
// width per character and a line height per font face, both adjustable.
#pragma once
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "render/DrawSurface.h"

// Readable failure messages for the surface's value types.
inline void PrintTo(const TPoint32& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

struct TDrawCall {
  enum TKind { FillRect, FrameRect, Line, Rectangle, Ellipse, Polygon, MeasureText, DrawText };
  TKind kind = FillRect;
  TRect rect;                      // FillRect, FrameRect, Rectangle, Ellipse, DrawText box
  TPoint32 from, to;               // Line
  std::vector<TPoint32> points;    // Polygon
  TColor colour = 0;               // fill, line, frame or text colour
  TColor outline = 0;              // Rectangle, Ellipse, Polygon
  std::string text;                // MeasureText, DrawText
  TFontSpec font;                  // MeasureText, DrawText
  TTextAlign align = TTextAlign::Left;
};

class TRecordingSurface : public TDrawSurface {
public:
  std::vector<TDrawCall> Calls;
  int CharWidth = 5;
  std::map<std::string, int> LineHeights = {{"Small Fonts", 11}, {"MS Sans Serif", 13}};

  void FillRect(const TRect& r, TColor colour) override {
    TDrawCall c;
    c.kind = TDrawCall::FillRect;
    c.rect = r;
    c.colour = colour;
    Calls.push_back(c);
  }
  void FrameRect(const TRect& r, TColor colour) override {
    TDrawCall c;
    c.kind = TDrawCall::FrameRect;
    c.rect = r;
    c.colour = colour;
    Calls.push_back(c);
  }
  void Line(TPoint32 a, TPoint32 b, TColor colour) override {
    TDrawCall c;
    c.kind = TDrawCall::Line;
    c.from = a;
    c.to = b;
    c.colour = colour;
    Calls.push_back(c);
  }
  void Rectangle(const TRect& r, TColor outline, TColor fill) override {
    TDrawCall c;
    c.kind = TDrawCall::Rectangle;
    c.rect = r;
    c.outline = outline;
    c.colour = fill;
    Calls.push_back(c);
  }
  void Ellipse(const TRect& r, TColor outline, TColor fill) override {
    TDrawCall c;
    c.kind = TDrawCall::Ellipse;
    c.rect = r;
    c.outline = outline;
    c.colour = fill;
    Calls.push_back(c);
  }
  void Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) override {
    TDrawCall c;
    c.kind = TDrawCall::Polygon;
    c.points.assign(points, points + count);
    c.outline = outline;
    c.colour = fill;
    Calls.push_back(c);
  }
  TSize MeasureText(const std::string& text, const TFontSpec& font) override {
    TDrawCall c;
    c.kind = TDrawCall::MeasureText;
    c.text = text;
    c.font = font;
    Calls.push_back(c);
    const auto h = LineHeights.find(font.face);
    return {static_cast<int32_t>(text.size()) * CharWidth, h == LineHeights.end() ? font.height : h->second};
  }
  void DrawText(const std::string& text, const TRect& box, const TFontSpec& font, TColor colour,
                TTextAlign align) override {
    TDrawCall c;
    c.kind = TDrawCall::DrawText;
    c.text = text;
    c.rect = box;
    c.font = font;
    c.colour = colour;
    c.align = align;
    Calls.push_back(c);
  }

  std::vector<TDrawCall> Of(TDrawCall::TKind kind) const {
    std::vector<TDrawCall> out;
    for (const TDrawCall& c : Calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }
  void Clear() { Calls.clear(); }
};
