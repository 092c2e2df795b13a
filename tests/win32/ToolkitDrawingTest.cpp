// The toolkit's drawing half against real GDI: pixels are read back from real bitmaps.
#define OEMRESOURCE  // OBM_ bitmaps, loaded from the system by LoadBitmapA
#include "toolkit/Colour.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/ImageStrip.h"
#include "support/WineTest.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace tk;

namespace {

constexpr uint32_t Magenta = 0xFF00FF, Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00, White = 0xFFFFFF;

TEST(DrawTool, FontSettersKeepTheHandleForAnEqualValue) {
  TOwned<TDrawTool> font(CreateDrawTool(TToolKind::Font));
  const struct { void (*apply)(TDrawTool*); bool kept; } steps[] = {
      {[](TDrawTool* t) { t->SetFontName("MS Sans Serif"); }, true}, {[](TDrawTool* t) { t->SetFontHeight(0); }, true},
      {[](TDrawTool* t) { t->SetFontStyle(FontBold); }, false}, {[](TDrawTool* t) { t->SetFontStyle(FontBold); }, true},
      {[](TDrawTool* t) { t->SetFontName("Small Fonts"); }, false},
  };
  for (const auto& step : steps) {
    font->Handle();
    step.apply(font.get());
    EXPECT_EQ(font->HasHandle(), step.kept) << "step " << &step - steps;
  }
  font->SetFontStyle(FontItalic);
  font->SetFontName(std::string(40, 'x'));
  EXPECT_EQ(std::tuple(font->LogFont().lfWeight, font->FontName()), std::tuple(LONG{0}, std::string(31, 'x')))
      << "bold cleared to weight 0; face names keep 31 characters";
}

TEST(DrawTool, SystemColourFollowsAChange) {
  // SetSysColors is real under Wine; the old value is put back afterwards.
  const int index = COLOR_BTNFACE;
  const COLORREF original = GetSysColor(index), changed = original == 0x123456 ? 0x654321 : 0x123456;
  auto bmp = FilledBitmap(4, 4, White);
  TDrawCanvas* c = bmp->Canvas();
  c->Brush()->SetColour(SysColour(SysColorBtnFace));
  c->Rectangle(-1, -1, 5, 5);
  EXPECT_EQ(bmp->Pixel(0, 0), original);
  ASSERT_TRUE(SetSysColors(1, &index, &changed));
  c->Rectangle(-1, -1, 5, 5);  // the brush is still selected: it must come out and be re-made
  const uint32_t after = bmp->Pixel(0, 0);
  SetSysColors(1, &index, &original);
  EXPECT_EQ(after, changed) << "brush still paints the old system colour";
}

// What the canvas selects for each call, and the coordinates it passes on.
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
  c->Ellipse(17, 0, 19, 2);
  const struct { const char* what; RECT r; uint32_t colour; } areas[] = {
      {"line", {2, 18, 10, 19}, Red}, {"line end point left out", {10, 18, 11, 19}, Magenta},
      {"rectangle right edge in column 15", {15, 0, 16, 16}, Red}, {"bottom edge in row 15", {0, 15, 16, 16}, Red},
      {"fill", {2, 2, 6, 6}, Green}, {"fill right edge exclusive", {6, 2, 7, 6}, Blue},
      {"fill bottom edge exclusive", {2, 6, 6, 7}, Blue}, {"dot right edge exclusive", {19, 0, 20, 3}, Magenta},
      {"dot bottom edge exclusive", {16, 2, 20, 3}, Magenta},
      {"frame", {8, 8, 13, 9}, White}, {"frame fills nothing", {9, 9, 12, 12}, Blue},
  };
  for (const auto& a : areas) EXPECT_EQ(Mismatches(*bmp, a.r, a.colour), "") << a.what;
  EXPECT_NE(Mismatches(*bmp, {17, 0, 19, 2}, Magenta), "") << "dot drew nothing";
}

TEST(DrawCanvas, StateByteAndContexts) {
  struct FakeOwner : TCanvasOwner {
    HWND wnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ~FakeOwner() { DestroyWindow(wnd); }
    HWND CanvasWindow() override { return wnd; }
    TColor CanvasColour() override { return Blue; }
    TColor CanvasFontColour() override { return Red; }
  } owner;
  const long gdiBefore = LiveGdiHandles();
  {
    TOwned<TDrawCanvas> c(CreateDrawCanvas(&owner));
    c->MoveTo(5, 5);  // no context: only remembered
    c->SetHandle(GetDC(owner.wnd), TDcSource::WindowDC);
    POINT pos{};
    GetCurrentPositionEx(c->Handle(), &pos);
    EXPECT_EQ(std::tuple(c->State(), pos.x, c->Brush()->Colour(), c->Font()->Colour()),
              std::tuple(CanvasHasDC, 5L, Blue, Red)) << "the pen position, and the window's colours";
    c->Rectangle(0, 0, 4, 4);
    RECT r{0, 0, 10, 10};
    c->DrawTextRect("a", r, DT_CALCRECT);
    EXPECT_EQ(c->State(), CanvasHasDC | CanvasPen | CanvasBrush | CanvasFont);
    c->Font()->SetFontHeight(20);
    EXPECT_EQ(std::tuple(c->State(), LiveGdiHandles()), std::tuple(CanvasHasDC, gdiBefore + 3))
        << "a tool change deselects all three; window DC, brush and the old font (kept for reuse) live";
    c->SetHandle(nullptr, TDcSource::PaintDC);
    EXPECT_EQ(std::tuple(c->State(), LiveGdiHandles()), std::tuple(0, gdiBefore + 2)) << "window DC given back";
  }
  EXPECT_EQ(LiveGdiHandles(), gdiBefore);
}

TEST(DrawBitmap, ResizeKeepsPictureFillsWithLastBrushColourAndDraws) {
  TOwned<TDrawBitmap> bmp(CreateDrawBitmap(10, 10));
  TDrawCanvas* c = bmp->Canvas();
  c->Brush()->SetColour(Blue);
  c->FillRect(RECT{0, 0, 10, 10});
  c->Pen()->SetColour(Red);
  c->MoveTo(0, 4);
  c->LineTo(10, 4);
  EXPECT_EQ(bmp->Pixel(9, 9), Blue);
  c->Brush()->SetColour(Green);
  c->FillRect(RECT{0, 0, 1, 1});  // after a Pixel the canvas still draws into the bitmap
  bmp->SetWidth(20);
  EXPECT_EQ(Mismatches(*bmp, {1, 0, 10, 4}, Blue) + Mismatches(*bmp, {0, 4, 10, 5}, Red) +
                Mismatches(*bmp, {10, 0, 20, 10}, Green) + Mismatches(*bmp, {0, 0, 1, 1}, Green),
            "") << "picture kept, new columns in the last brush colour";
  auto target = FilledBitmap(24, 14, White);
  bmp->Draw(target->Canvas()->Handle(), 2, 3);
  EXPECT_EQ(std::tuple(target->Pixel(2, 3), target->Pixel(21, 12), target->Pixel(22, 12)),
            std::tuple(Green, Green, White)) << "drawn whole at (2, 3)";
  bmp->SetHeight(5);
  EXPECT_EQ(std::tuple(bmp->Pixel(3, 4), bmp->Pixel(3, 5)), std::tuple(Red, CLR_INVALID)) << "shrinking cuts";
  HBITMAP kept = bmp->Handle();
  bmp->SetHeight(-3);
  EXPECT_EQ(std::tuple(bmp->Handle(), bmp->Height(), bmp->Canvas(), bmp->Pixel(0, 0)),
            std::tuple(kept, 0, nullptr, CLR_INVALID)) << "a negative height is empty, and keeps the handle";
  bmp->Draw(target->Canvas()->Handle(), 0, 0);  // draws nothing
  bmp->SetHeight(5);
  EXPECT_EQ(std::tuple(bmp->Pixel(3, 4), target->Pixel(0, 0)), std::tuple(Red, White)) << "picture back after";
  bmp->SetSize(1 << 30, 1 << 30);
  EXPECT_EQ(std::tuple(bmp->Width(), bmp->Pixel(3, 4)), std::tuple(20, Red)) << "a size GDI cannot make: unchanged";
}

TEST(ImageStrip, AddIconRemoveAndOwnedBitmap) {
  auto pic = FilledBitmap(16, 16, Magenta);
  TOwned<TImageStrip> strip(CreateImageStrip(nullptr));
  strip->SetColours(6);
  strip->SetImageWidth(16);
  strip->SetImageHeight(16);
  pic->Canvas()->Brush()->SetColour(Blue);
  pic->Canvas()->FillRect(RECT{4, 4, 12, 12});
  EXPECT_EQ(strip->AddMasked(pic.get(), Magenta) * 10 + strip->AddMasked(pic.get(), Magenta), 1);
  strip->SetImageWidth(32);
  EXPECT_EQ(strip->ImageWidth(), 16) << "sizes are fixed once the list exists";
  // The first add may blacken the source's masked pixels, so image 0 is the one to look at.
  unique_hicon icon = strip->GetIcon(0);
  ASSERT_TRUE(icon);
  auto back = FilledBitmap(16, 16, Green);
  DrawIconEx(back->Canvas()->Handle(), 0, 0, icon.get(), 16, 16, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(std::tuple(back->Pixel(0, 0), back->Pixel(8, 8)), std::tuple(Green, Blue)) << "magenta not transparent?";
  EXPECT_FALSE(strip->Remove(-1)) << "-1 must not empty the list";
  EXPECT_TRUE(strip->Remove(1) && strip->Count() == 1 && !strip->GetIcon(5));

  struct Holder : TBaseObject {};
  const long gdi = LiveGdiHandles();
  TBaseObject* owner = new Holder();
  ASSERT_NE(strip->LoadStripBitmap(nullptr, MAKEINTRESOURCEA(OBM_CHECK), owner), nullptr);
  Release(owner);
  EXPECT_EQ(LiveGdiHandles(), gdi) << "loaded bitmap outlived its owner";
}

TEST(Leaks, BitmapsAndTools) {
  const THandleBaseline handles;
  std::vector<HGDIOBJ> lastMade;
  for (int i = 0; i < 30; ++i) {  // a leak shows within a few dozen rounds
    TOwned<TDrawBitmap> b(CreateDrawBitmap(16 + i % 7, 16));
    TDrawCanvas* c = b->Canvas();
    c->Brush()->SetColour(Red + uint32_t(i % 3));
    c->Pen()->SetPenStyle(i % 2 ? PS_DOT : PS_SOLID);
    c->Rectangle(1, 1, 7, 5);
    RECT r{0, 0, 16, 16};
    c->DrawTextRect("1k", r, 0);
    if (i % 2) b->SetWidth(30);
    lastMade = {b->Handle(), c->Handle(), c->Pen()->Handle(), c->Brush()->Handle(), c->Font()->Handle()};
  }
  EXPECT_EQ(handles.Leaked(), "") << "bitmaps, canvases or tools";
  // Wine's own table, beyond our counts (GetGuiResources is a stub there).
  for (HGDIOBJ h : lastMade) EXPECT_EQ(GetObjectType(h), 0u) << "GDI still knows " << h;
}

}  // namespace
