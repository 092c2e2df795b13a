// Drawing half of the toolkit against real GDI: pixels are read back from real bitmaps.
#define OEMRESOURCE  // OBM_ bitmaps, loaded from the system by LoadBitmapA
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>

#include "render/GdiSurface.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/DrawCanvas.h"
#include "toolkit/DrawTool.h"
#include "toolkit/ImageStrip.h"

using namespace tk;

namespace {

constexpr uint32_t Magenta = 0xFF00FF, Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00, White = 0xFFFFFF;

struct Releaser {
  void operator()(TBaseObject* p) const { Release(p); }
};
template <typename T>
using Owned = std::unique_ptr<T, Releaser>;

Owned<TDrawBitmap> FilledBitmap(int w, int h, uint32_t colour) {
  Owned<TDrawBitmap> b(CreateDrawBitmap(w, h));
  b->Canvas()->Brush()->SetColour(colour);
  b->Canvas()->FillRect(b->BoundsRect());
  return b;
}

// "x,y" of every pixel in r whose colour differs from expected: empty when all match.
std::string Mismatches(const Owned<TDrawBitmap>& b, RECT r, uint32_t expected) {
  std::string out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (b->Pixel(x, y) != expected) out += std::to_string(x) + "," + std::to_string(y) + " ";
  return out;
}

int CountColour(const Owned<TDrawBitmap>& b, uint32_t colour) {
  int n = 0;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) n += b->Pixel(x, y) == colour;
  return n;
}

TEST(Colour, ToRGB) {
  const struct { TColor in; uint32_t want; const char* name; } cases[] = {
      {0x001515FF, 0x1515FF, "plain RGB"},
      {0x01000005, GetSysColor(COLOR_WINDOW), "any value above 0xFFFFFF names a system colour"},
      {SysColour(SysColorBtnFace), GetSysColor(COLOR_BTNFACE), "button face"},
      {SysColour(SysColorInfoBk), GetSysColor(COLOR_INFOBK), "info background"},
  };
  for (const auto& c : cases) EXPECT_EQ(ColourToRGB(c.in), c.want) << c.name;
}

TEST(DrawTool, HandleKeptUntilAPropertyReallyChanges) {
  auto bmp = FilledBitmap(8, 8, White);
  TDrawCanvas* canvas = bmp->Canvas();
  TDrawTool* pen = canvas->Pen();
  canvas->MoveTo(0, 0);
  canvas->LineTo(3, 0);
  HGDIOBJ first = pen->Handle();
  pen->SetColour(pen->Colour());
  EXPECT_EQ(pen->Handle(), first) << "same colour must keep the HPEN";
  EXPECT_TRUE(canvas->State() & CanvasPen) << "same colour must not deselect";
  pen->SetColour(Red);
  EXPECT_FALSE(pen->HasHandle()) << "a new colour drops the HPEN";
  EXPECT_FALSE(canvas->State() & CanvasPen) << "and takes it out of the context first";
  canvas->LineTo(6, 0);
  EXPECT_EQ(GetCurrentObject(canvas->Handle(), OBJ_PEN), pen->Handle()) << "next LineTo selects the new pen";
  EXPECT_EQ(bmp->Pixel(4, 0), Red);

  // Font setters: an equal value is free; a new one drops the handle and notifies once.
  Owned<TDrawTool> font(CreateDrawTool(TToolKind::Font));
  int changes = 0;
  font->SetChangeNotify([](void* d, TDrawTool*) { ++*static_cast<int*>(d); }, &changes);
  const struct { const char* name; void (*apply)(TDrawTool*); int notified; } steps[] = {
      {"same name", [](TDrawTool* t) { t->SetFontName("MS Sans Serif"); }, 0},
      {"new name", [](TDrawTool* t) { t->SetFontName("Small Fonts"); }, 1},
      {"same height", [](TDrawTool* t) { t->SetFontHeight(0); }, 0},
      {"bold", [](TDrawTool* t) { t->SetFontStyle(FontBold); }, 1},
      {"bold again", [](TDrawTool* t) { t->SetFontStyle(FontBold); }, 0},
      {"italic only", [](TDrawTool* t) { t->SetFontStyle(FontItalic); }, 1},
  };
  for (const auto& s : steps) {
    font->Handle();
    changes = 0;
    s.apply(font.get());
    EXPECT_EQ(std::tuple(changes, font->HasHandle()), std::tuple(s.notified, s.notified == 0)) << s.name;
  }
  EXPECT_EQ(font->LogFont().lfWeight, 0) << "clearing bold from 700 gives 0";
  font->SetFontName(std::string(40, 'x'));
  EXPECT_EQ(font->FontName(), std::string(31, 'x')) << "face names keep 31 characters";
}

TEST(DrawTool, SystemColourFollowsAChange) {
  // SetSysColors is real under Wine; the old value is put back afterwards.
  const int index = COLOR_BTNFACE;
  const COLORREF original = GetSysColor(index);
  COLORREF value = original == 0x123456 ? 0x654321 : 0x123456;
  const COLORREF changed = value;
  auto bmp = FilledBitmap(4, 4, White);
  TDrawCanvas* c = bmp->Canvas();
  c->Brush()->SetColour(SysColour(SysColorBtnFace));
  c->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(bmp->Pixel(0, 0), original);
  HGDIOBJ before = c->Brush()->Handle();
  c->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(c->Brush()->Handle(), before) << "an unchanged system colour keeps the brush";
  ASSERT_TRUE(SetSysColors(1, &index, &value));
  c->FillRect(RECT{0, 0, 4, 4});  // the brush is still selected: it must come out and be re-made
  const uint32_t after = bmp->Pixel(0, 0);
  value = original;
  SetSysColors(1, &index, &value);
  EXPECT_EQ(after, changed) << "brush still paints the old system colour";
}

TEST(DrawCanvas, PixelRules) {
  auto bmp = FilledBitmap(20, 20, Magenta);
  TDrawCanvas* c = bmp->Canvas();
  c->Pen()->SetColour(Red);
  c->Brush()->SetColour(Blue);
  c->MoveTo(2, 18);
  c->LineTo(10, 18);
  c->Rectangle(0, 0, 16, 16);
  c->Brush()->SetColour(Green);
  c->FillRect(RECT{2, 2, 6, 6});
  c->Brush()->SetColour(White);  // the pen stays red: the frame must not take it
  c->FrameRect(RECT{8, 8, 13, 13});
  c->Ellipse(17, 0, 19, 2);  // the hover readout's 2 x 2 dot

  const struct { const char* what; RECT r; uint32_t colour; } areas[] = {
      {"line", {2, 18, 10, 19}, Red}, {"line end point left out", {10, 18, 11, 19}, Magenta},
      {"line one pixel wide", {2, 17, 10, 18}, Magenta},
      {"rectangle top edge", {0, 0, 16, 1}, Red}, {"rectangle right edge in column 15", {15, 0, 16, 16}, Red},
      {"rectangle bottom edge in row 15", {0, 15, 16, 16}, Red}, {"column 16 untouched", {16, 0, 17, 17}, Magenta},
      {"fill", {2, 2, 6, 6}, Green}, {"fill right edge exclusive", {6, 2, 7, 6}, Blue},
      {"fill bottom edge exclusive", {2, 6, 6, 7}, Blue},
      {"frame top", {8, 8, 13, 9}, White}, {"frame right", {12, 8, 13, 13}, White},
      {"frame fills nothing", {9, 9, 12, 12}, Blue},
      {"dot right edge exclusive", {19, 0, 20, 3}, Magenta}, {"dot bottom edge exclusive", {16, 2, 20, 3}, Magenta},
  };
  for (const auto& a : areas) EXPECT_EQ(Mismatches(bmp, a.r, a.colour), "") << a.what;
  EXPECT_NE(Mismatches(bmp, {17, 0, 19, 2}, Magenta), "") << "dot drew nothing";
}

TEST(DrawCanvas, TextBackgroundFollowsBrushStyle) {
  for (const bool solid : {false, true}) {
    const char* name = solid ? "solid" : "clear";
    auto bmp = FilledBitmap(80, 30, White);
    TDrawCanvas* c = bmp->Canvas();
    c->Font()->SetFontHeight(14);
    c->Font()->SetColour(0x000000);
    c->Brush()->SetColour(Green);
    c->Brush()->SetBrushStyle(solid ? BrushSolid : BrushClear);
    RECT ext{2, 2, 2, 2};
    c->DrawTextRect("Mw", ext, DT_CALCRECT);
    EXPECT_TRUE(ext.right > 2 && ext.bottom > 2) << name;
    EXPECT_EQ(CountColour(bmp, White), 80 * 30) << name << ": DT_CALCRECT drew";

    RECT box{2, 2, 70, 28};
    c->DrawTextRect("Mw", box, 0);
    EXPECT_GT(CountColour(bmp, 0x000000), 0) << name << ": no text drawn";
    EXPECT_EQ(CountColour(bmp, Green) > 0, solid) << name << ": background painted, or not";
    if (solid) {
      EXPECT_EQ(Mismatches(bmp, {ext.right, 0, 80, 30}, White), "") << "beyond the measured extent";
      EXPECT_EQ(Mismatches(bmp, {0, ext.bottom, 80, 30}, White), "") << "below the measured extent";
    }
  }
}

TEST(DrawCanvas, StateByteAndContexts) {
  struct FakeOwner : TCanvasOwner {
    HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ~FakeOwner() { DestroyWindow(wnd); }
    HWND CanvasWindow() override { return wnd; }
    TColor CanvasColour() override { return Blue; }
    TColor CanvasFontColour() override { return Red; }
  } owner;
  ASSERT_NE(owner.wnd, nullptr);
  const long gdiBefore = tk::LiveGdiHandles();
  {
    Owned<TDrawCanvas> c(CreateDrawCanvas(&owner));
    c->MoveTo(5, 5);  // no context: only remembered
    c->LineTo(9, 9);
    EXPECT_EQ(c->State(), 0);
    c->SetHandle(GetDC(owner.wnd), TDcSource::WindowDC);
    EXPECT_EQ(c->State(), CanvasHasDC);
    POINT pos{};
    GetCurrentPositionEx(c->Handle(), &pos);
    EXPECT_EQ(pos.x, 5) << "a new context gets the remembered pen position";
    EXPECT_EQ(std::tuple(c->Brush()->Colour(), c->Font()->Colour()), std::tuple(Blue, Red))
        << "brush and font start with the window's colours";
    c->Rectangle(0, 0, 4, 4);
    RECT r{0, 0, 10, 10};
    c->DrawTextRect("a", r, DT_CALCRECT);
    EXPECT_EQ(c->State(), CanvasHasDC | CanvasPen | CanvasBrush | CanvasFont);
    c->Font()->SetFontHeight(20);
    EXPECT_EQ(c->State(), CanvasHasDC) << "a tool change deselects all three";
    EXPECT_EQ(tk::LiveGdiHandles(), gdiBefore + 2) << "window DC and brush";
    c->SetHandle(nullptr, TDcSource::PaintDC);
    EXPECT_EQ(tk::LiveGdiHandles(), gdiBefore + 1) << "window DC not given back";
    EXPECT_EQ(c->State(), 0);
  }
  EXPECT_EQ(tk::LiveGdiHandles(), gdiBefore);
}

TEST(DrawBitmap, ResizeKeepsPictureAndFillsWithLastBrushColour) {
  Owned<TDrawBitmap> bmp(CreateDrawBitmap(10, 10));
  TDrawCanvas* c = bmp->Canvas();
  c->Brush()->SetColour(Blue);
  c->FillRect(RECT{0, 0, 10, 10});
  c->Pen()->SetColour(Red);
  c->MoveTo(0, 4);
  c->LineTo(10, 4);
  c->Brush()->SetColour(Green);
  c->FillRect(RECT{0, 0, 1, 1});  // the last brush colour used
  bmp->SetWidth(20);
  EXPECT_EQ(Mismatches(bmp, {1, 0, 10, 4}, Blue), "") << "left half kept";
  EXPECT_EQ(Mismatches(bmp, {0, 4, 10, 5}, Red), "") << "line kept";
  EXPECT_EQ(Mismatches(bmp, {10, 0, 20, 10}, Green), "") << "new columns in the background";

  bmp->SetHeight(5);
  EXPECT_EQ(std::tuple(bmp->Pixel(3, 4), bmp->Pixel(3, 5)), std::tuple(Red, CLR_INVALID)) << "shrinking cuts";
  HBITMAP kept = bmp->Handle();
  bmp->SetHeight(-3);
  EXPECT_EQ(std::tuple(bmp->Handle(), bmp->Height(), bmp->Canvas(), bmp->Pixel(0, 0)),
            std::tuple(kept, 0, nullptr, CLR_INVALID))
      << "a negative height is empty, and keeps the handle";
  bmp->SetHeight(5);
  EXPECT_EQ(bmp->Pixel(3, 4), Red) << "picture back after an empty spell";
  bmp->SetSize(1 << 30, 1 << 30);
  EXPECT_EQ(std::tuple(bmp->Width(), bmp->Pixel(3, 4)), std::tuple(20, Red))
      << "a size GDI cannot make leaves the bitmap as it was";
}

TEST(DrawBitmap, PixelsAndDraw) {
  Owned<TDrawBitmap> empty(CreateDrawBitmap(0, 16));
  EXPECT_EQ(std::tuple(empty->Pixel(0, 0), empty->Canvas()), std::tuple(0xFFFFFFFFu, nullptr));
  empty->Draw(nullptr, 0, 0);

  // A canvas kept across Pixel (which takes the bitmap out of it) still draws into it.
  auto pic = FilledBitmap(16, 16, Magenta);
  TDrawCanvas* c = pic->Canvas();
  EXPECT_EQ(pic->Pixel(15, 15), Magenta);
  c->Brush()->SetColour(Green);
  c->FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(pic->Pixel(1, 1), Green);

  auto target = FilledBitmap(20, 20, White);
  pic->Draw(target->Canvas()->Handle(), 2, 3);
  const struct { int x, y; uint32_t colour; } at[] = {
      {2, 3, Green}, {17, 18, Magenta}, {18, 18, White}, {1, 3, White}};
  for (const auto& p : at) EXPECT_EQ(target->Pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST(DrawSurface, PrimitivesThroughTheInterface) {
  auto bmp = FilledBitmap(24, 24, Magenta);
  TGdiSurface s(*bmp->Canvas());
  const TPoint32 tri[] = {{2, 2}, {12, 2}, {2, 12}};
  s.Polygon(tri, 3, Red, Blue);
  s.Polygon(tri, 0, Red, Blue);
  s.FillRect(TRect{21, 5, 24, 8}, 0x80000000u | COLOR_WINDOW);
  // rectangles and lines through the surface: the graph's pixel tests
  const struct { const char* what; RECT r; uint32_t colour; } areas[] = {
      {"polygon top edge", {2, 2, 13, 3}, Red}, {"polygon left edge", {2, 2, 3, 13}, Red},
      {"polygon inside", {4, 4, 5, 5}, Blue}, {"outside the hypotenuse", {11, 11, 12, 12}, Magenta},
      {"system colour resolved", {22, 6, 23, 7}, GetSysColor(COLOR_WINDOW)},
  };
  for (const auto& a : areas) EXPECT_EQ(Mismatches(bmp, a.r, a.colour), "") << a.what;

  // The same colours again make no new handles.
  s.Rectangle(TRect{14, 14, 20, 20}, Green, White);
  const long made = TDrawTool::HandlesMade();
  for (int i = 0; i < 20; ++i) {
    s.Rectangle(TRect{14, 14, 20, 20}, Green, White);
    s.Line(TPoint32{0, 22}, TPoint32{10, 22}, Green);
    s.FrameRect(TRect{0, 0, 24, 24}, White);
  }
  EXPECT_EQ(TDrawTool::HandlesMade(), made);
}

TEST(DrawSurface, TextIsTransparentAtTheTopOfItsBox) {
  auto bmp = FilledBitmap(100, 40, Green);
  TGdiSurface s(*bmp->Canvas());
  const TFontSpec font{"Small Fonts", 11, false};
  const TSize size = s.MeasureText("12.5k", font);
  EXPECT_GT(s.MeasureText("a&b", font).cx, s.MeasureText("ab", font).cx) << "'&' taken as a prefix";
  s.DrawString("12.5k", TRect{0, 0, 100, 40}, font, Red, TTextAlign::Centre);
  int minX = 100, maxX = -1, minY = 40;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x) {
      const uint32_t p = bmp->Pixel(x, y);
      ASSERT_TRUE(p == Green || p == Red) << "background touched at " << x << "," << y;
      if (p == Red) minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y);
    }
  ASSERT_GE(maxX, 0) << "no text";
  EXPECT_LT(minY, size.cy) << "text not at the top of the box";
  EXPECT_NEAR((minX + maxX) / 2.0, 50.0, 3.0) << "not centred";
}

Owned<TImageStrip> Strip16() {
  Owned<TImageStrip> strip(CreateImageStrip(nullptr));
  strip->SetColours(6);
  strip->SetImageWidth(16);
  strip->SetImageHeight(16);
  return strip;
}

TEST(ImageStrip, AddIconRemove) {
  auto pic = FilledBitmap(16, 16, Magenta);
  Owned<TImageStrip> bad(CreateImageStrip(nullptr));
  bad->SetImageWidth(0);
  EXPECT_EQ(bad->AddMasked(pic.get(), Magenta), -1) << "width 0 makes no list";

  auto strip = Strip16();
  pic->Canvas()->Brush()->SetColour(Blue);
  pic->Canvas()->FillRect(RECT{4, 4, 12, 12});
  EXPECT_EQ(strip->AddMasked(pic.get(), Magenta), 0) << "bitmap still selected in its canvas?";
  EXPECT_EQ(strip->AddMasked(pic.get(), Magenta), 1);
  strip->SetImageWidth(32);
  EXPECT_EQ(strip->ImageWidth(), 16) << "sizes are fixed once the list exists";

  // The icon shows the blue square over whatever is behind it: magenta became transparent.
  // (The first add may blacken the source's masked pixels, so image 0 is the one to look at.)
  tk::unique_hicon icon = strip->GetIcon(0);
  ASSERT_TRUE(icon);
  auto back = FilledBitmap(16, 16, Green);
  DrawIconEx(back->Canvas()->Handle(), 0, 0, icon.get(), 16, 16, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(std::tuple(back->Pixel(0, 0), back->Pixel(8, 8)), std::tuple(Green, Blue)) << "magenta not transparent?";

  EXPECT_FALSE(strip->Remove(-1)) << "-1 must not empty the list";
  EXPECT_TRUE(strip->Remove(1) && strip->Count() == 1 && !strip->GetIcon(5));

  struct Holder : TBaseObject {};
  const long gdi = tk::LiveGdiHandles();
  TBaseObject* owner = new Holder();
  ASSERT_NE(strip->LoadStripBitmap(nullptr, MAKEINTRESOURCEA(OBM_CHECK), owner), nullptr);
  EXPECT_EQ(tk::LiveGdiHandles(), gdi + 1);
  Release(owner);
  EXPECT_EQ(tk::LiveGdiHandles(), gdi) << "loaded bitmap outlived its owner";
}

TEST(Leaks, TenThousandBitmapsAndIcons) {
  using ms = std::chrono::duration<double, std::milli>;
  const long gdi0 = tk::LiveGdiHandles();
  auto t0 = std::chrono::steady_clock::now();
  long peak = 0;
  HGDIOBJ lastMade[5] = {};
  for (int i = 0; i < 10000; ++i) {
    TDrawBitmap* b = CreateDrawBitmap(16 + i % 7, 16);
    TDrawCanvas* c = b->Canvas();
    TGdiSurface s(*c);
    s.FillRect(TRect{0, 0, 16, 16}, Magenta);
    s.Rectangle(TRect{1, 1, 7, 5}, 0, Red + static_cast<uint32_t>(i % 3));
    s.DrawString("1k", TRect{0, 0, 16, 16}, TFontSpec{"Small Fonts", 11, false}, Green, TTextAlign::Left);
    if (i % 2) b->SetWidth(30);
    peak = std::max(peak, tk::LiveGdiHandles() - gdi0);
    if (i == 9999) {
      const HGDIOBJ made[] = {b->Handle(), c->Handle(), c->Pen()->Handle(), c->Brush()->Handle(), c->Font()->Handle()};
      std::copy(std::begin(made), std::end(made), lastMade);
    }
    Release(b);
  }
  const double bitmapsMs = ms(std::chrono::steady_clock::now() - t0).count();
  const long gdiAfter = tk::LiveGdiHandles();
  EXPECT_EQ(gdiAfter, gdi0) << "bitmaps, canvases or tools leaked";
  // Wine's own table, beyond our counts (GetGuiResources is a stub there); a clear
  // brush is the stock hollow brush, which nobody deletes.
  for (HGDIOBJ h : lastMade)
    EXPECT_TRUE(h == GetStockObject(NULL_BRUSH) || GetObjectType(h) == 0) << "GDI still knows " << h;

  auto strip = Strip16();
  auto pic = FilledBitmap(16, 16, Magenta);
  const long gdi1 = tk::LiveGdiHandles();
  const long user1 = tk::LiveUserHandles() + 1;  // the image list, made on the first add
  HICON lastIcon = nullptr;
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 10000; ++i) {
    const int index = strip->AddMasked(pic.get(), Magenta);
    ASSERT_EQ(index, 0) << "add " << i;
    tk::unique_hicon icon = strip->GetIcon(index);
    ASSERT_TRUE(icon) << "icon " << i;
    lastIcon = icon.get();
    strip->Remove(index);
  }
  const double iconsMs = ms(std::chrono::steady_clock::now() - t0).count();
  const long userAfter = tk::LiveUserHandles();
  EXPECT_EQ(userAfter, user1) << "icons leaked";
  EXPECT_EQ(tk::LiveGdiHandles(), gdi1);
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(lastIcon, &info)) << "the last icon is still alive";

  std::printf("[ figures ] 10000 bitmaps with canvas and tools: %.0f ms, peak +%ld live GDI, live GDI %ld -> %ld\n",
              bitmapsMs, peak, gdi0, gdiAfter);
  std::printf("[ figures ] 10000 icons through the strip: %.0f ms, live USER %ld -> %ld\n", iconsMs, user1, userAfter);
}

}  // namespace
