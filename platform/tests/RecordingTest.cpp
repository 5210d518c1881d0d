// The recording surface: replay at a scale against drawing directly at that scale, and
// the text runs the preview's search walks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "GuiTestApp.h"
#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/Recording.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::lrint(v)); }

// A delivery-note fragment drawn as the report code draws: every coordinate, width and
// font height computed from the scale.
void DrawShapes(TCanvas& c, double s) {
  auto X = [&](double v) { return Nearest(v * s); };
  c.SetBrush({RGBColor(0xEE, 0xEE, 0xEE), bsSolid});
  c.FillRect({X(10), X(10), X(190), X(40)});
  c.SetBrush({clBlue, bsBDiagonal});
  c.FillRect({X(10), X(50), X(100), X(80)});
  TPen frame;
  frame.Width = X(2);
  c.SetPen(frame);
  c.SetBrush({clWhite, bsClear});
  c.Rectangle({X(10), X(10), X(191), X(81)});
  // A dashed frame line as the frame code draws it: n one-pixel lines across it.
  TPen dashed;
  dashed.Style = psDash;
  dashed.Width = 1;
  c.SetPen(dashed);
  const int n = X(1);
  for (int i = -(n / 2); i < n - n / 2; ++i) {
    c.MoveTo(X(10), X(90) + i);
    c.LineTo(X(190), X(90) + i);
  }
  TPen dots;
  dots.Geometric = true;
  dots.Cap = pcFlat;
  dots.Width = X(1);
  dots.UserDashes = {X(1), X(1)};
  c.SetPen(dots);
  c.MoveTo(X(110), X(60));
  c.LineTo(X(190), X(60));
  TPen outline;
  outline.Width = X(1);
  c.SetPen(outline);
  c.SetBrush({clRed, bsSolid});
  const TPoint triangle[] = {{X(120), X(75)}, {X(150), X(75)}, {X(135), X(65)}};
  c.Polygon(triangle);
  c.SaveClip();
  c.IntersectClip({X(160), X(62), X(185), X(78)});
  c.SetBrush({clGreen, bsSolid});
  c.FillRect({X(150), X(50), X(200), X(100)});
  c.RestoreClip();
  TRasterImage logo(2, 1, TPixelFormat::pf24bit);
  logo.SetPixel(0, 0, clRed);
  logo.SetPixel(1, 0, clBlue);
  c.StretchDraw({X(20), X(15), X(40), X(35)}, logo);
}

void DrawText(TCanvas& c, double s) {
  // Advances measured at 600 dpi, converted to the device as the text layout does.
  TCanvasFont measuring = CanvasFont(TFont{}, 600);
  TRecordingCanvas m({1, 1}, 600, 600);
  m.SetFont(measuring);
  const std::string line = codepage::Utf8ToAnsi("Dostawa nr 17/2024: Zażółć gęślą jaźń");
  std::vector<int> after(line.size());
  m.TextExtent(line, after);
  std::vector<int> adv(line.size());
  int previous = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const int at = Nearest(after[i] / 6.25 * s);
    adv[i] = at - previous;
    previous = at;
  }
  TFont nine;
  nine.Size = 9;
  TCanvasFont device = CanvasFont(nine, 96);
  device.Height = -Nearest(9 * s * 96 / 72.0);
  c.SetFont(device);
  c.ExtTextOut(Nearest(12 * s), Nearest(20 * s), 0, nullptr, line, adv);
}

class RecordingTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

std::unique_ptr<TBitmap> Direct(void (*draw)(TCanvas&, double), double s) {
  auto bmp = NewBitmap(Nearest(200 * s), Nearest(100 * s), TPixelFormat::pf24bit);
  draw(bmp->Canvas(), s);
  return bmp;
}

std::unique_ptr<TBitmap> Replayed(void (*draw)(TCanvas&, double), double s) {
  TRecordingCanvas rec({200, 100});
  draw(rec, 1);
  auto bmp = NewBitmap(Nearest(200 * s), Nearest(100 * s), TPixelFormat::pf24bit);
  rec.Recording().Play(bmp->Canvas(), s, s);
  return bmp;
}

TEST_F(RecordingTest, ShapesReplayedAtTwiceTheScaleMatchDirectDrawing) {
  auto direct = Direct(DrawShapes, 2);
  auto replay = Replayed(DrawShapes, 2);
  int differing = 0;
  for (int y = 0; y < direct->Height(); ++y)
    for (int x = 0; x < direct->Width(); ++x)
      if (direct->Pixel(x, y) != replay->Pixel(x, y)) ++differing;
  EXPECT_EQ(differing, 0);
}

TEST_F(RecordingTest, ReplayAtScaleOneEqualsTheOriginal) {
  auto direct = Direct(DrawShapes, 1);
  auto replay = Replayed(DrawShapes, 1);
  EXPECT_TRUE(direct->Pixels() == replay->Pixels());
}

TEST_F(RecordingTest, TextReplayedAtTwiceTheScaleMatchesWithinAntialiasing) {
  auto direct = Direct(DrawText, 2);
  auto replay = Replayed(DrawText, 2);
  const TRasterImage& a = direct->Pixels();
  const TRasterImage& b = replay->Pixels();
  // Rounding may move a glyph by one pixel: a pixel agrees when a pixel of the other
  // picture within one pixel of it has nearly the same grey.
  auto agrees = [](const TRasterImage& p, const TRasterImage& q, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const TColor other = q.Pixel(x + dx, y + dy);
        if (other != clNone && std::abs(RedOf(p.Pixel(x, y)) - RedOf(other)) <= 64) return true;
      }
    return false;
  };
  int ink = 0, disagreeing = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) != clWhite) ++ink;
      if (!agrees(a, b, x, y) || !agrees(b, a, x, y)) ++disagreeing;
    }
  ASSERT_GT(ink, 500);
  EXPECT_LT(disagreeing, ink / 50);
}

TEST_F(RecordingTest, TextRunsAreListedInDrawingOrderWithTheirBounds) {
  TRecordingCanvas rec({800, 600});
  TFont bold;
  bold.Style = fsBold;
  rec.SetFont(CanvasFont(bold, 96));
  rec.SetBrush({clRed, bsSolid});
  rec.FillRect({0, 0, 10, 10});
  rec.TextOut(10, 20, codepage::Utf8ToAnsi("Faktura VAT"));
  const TRect clip{100, 50, 130, 70};
  rec.ExtTextOutW(100, 50, etoClipped, &clip, u"Razem do zapłaty");
  const int cell = rec.TextMetrics().Height;
  const int width = rec.TextExtent(codepage::Utf8ToAnsi("Faktura VAT")).Width;

  const auto runs = rec.Recording().TextRuns();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].Text, u"Faktura VAT");
  EXPECT_FALSE(runs[0].Wide);
  EXPECT_EQ(runs[0].Bounds, (TRect{10, 20, 10 + width, 20 + cell}));
  EXPECT_EQ(runs[1].Text, u"Razem do zapłaty");
  EXPECT_TRUE(runs[1].Wide);
  EXPECT_EQ(runs[1].Bounds, (TRect{100, 50, 130, 50 + cell}));
  EXPECT_LT(runs[0].Record, runs[1].Record);
  EXPECT_LT(runs[1].Record, rec.Recording().RecordCount());
  // Every record counts: the font, the brush and the fill come before the first run.
  EXPECT_EQ(runs[0].Record, 3u);
}

TEST_F(RecordingTest, UnbalancedClipRecordsDoNotLeakIntoTheTarget) {
  TRecordingCanvas rec({20, 20});
  rec.SaveClip();
  rec.IntersectClip({0, 0, 5, 5});
  rec.SaveClip();  // never restored
  auto bmp = NewBitmap(20, 20, TPixelFormat::pf24bit);
  TCanvas& target = bmp->Canvas();
  target.SetBrush({clBlue, bsSolid});
  rec.Recording().Play(target);
  EXPECT_EQ(target.ClipBounds(), (TRect{0, 0, 20, 20}));
  EXPECT_EQ(target.Brush(), (TBrush{clBlue, bsSolid}));  // the target's state comes back
  target.FillRect({0, 0, 20, 20});
  EXPECT_EQ(bmp->Pixel(15, 15), clBlue);
}

TEST_F(RecordingTest, PlayIntoMapsTheRecordingOntoARectangle) {
  TRecordingCanvas rec({10, 10});
  rec.SetBrush({clRed, bsSolid});
  rec.FillRect({0, 0, 5, 5});
  auto bmp = NewBitmap(40, 40, TPixelFormat::pf24bit);
  bmp->Canvas().DrawRecording({10, 10, 30, 30}, rec.Recording());
  EXPECT_EQ(bmp->Pixel(10, 10), clRed);
  EXPECT_EQ(bmp->Pixel(19, 19), clRed);
  EXPECT_EQ(bmp->Pixel(20, 20), clWhite);
  EXPECT_EQ(bmp->Pixel(9, 9), clWhite);
}

TEST_F(RecordingTest, TakeRecordingStartsAfreshWithTheCurrentState) {
  TRecordingCanvas rec({10, 10});
  rec.SetBrush({clRed, bsSolid});
  rec.FillRect({0, 0, 5, 5});
  TRecording first = rec.TakeRecording();
  rec.FillRect({5, 5, 10, 10});
  auto bmp = NewBitmap(10, 10, TPixelFormat::pf24bit);
  rec.Recording().Play(bmp->Canvas());
  EXPECT_EQ(bmp->Pixel(7, 7), clRed);  // the brush selected before the hand-over
  EXPECT_EQ(bmp->Pixel(2, 2), clWhite);
  EXPECT_EQ(first.RecordCount(), 2u);
}

}  // namespace
