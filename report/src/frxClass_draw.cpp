// Drawing of a view's background, frame and shadow.

#include "frxClass_drawing.h"
#include "report/frxClassView.h"

namespace {

using frx_draw::FillBand;
using frx_draw::Nearest;

// A side of the frame in device pixels: the edge it lies on (x for vertical sides, y for
// horizontal ones), where it runs from and to (inclusive), whether the sides at its start
// and end are drawn too, and which way is outwards (-1 left/up, +1 right/down).
struct Side {
  bool vertical;
  int edge;
  int from, to;
  bool startJoined, endJoined;
  int outwards;
};

// A square-capped line of width w along a side: the caps reach w/2 beyond ends that meet
// another side; an end that meets none is moved inwards so that its cap ends there.
void SolidLine(TCanvas& canvas, const Side& s, int edge, int from, int to, int w, TColor color) {
  int n = w <= 0 ? 1 : w;
  int before = n / 2, after = n - 1 - n / 2;
  int start = from + (s.startJoined ? 0 : n / 2) - before;
  int end = to - (s.endJoined ? 0 : n / 2) + after;
  FillBand(canvas, s.vertical, edge, start, end, n, color);
}

// One pen stroke along the side at `edge`, both ends included.
void Stroke(TCanvas& canvas, const Side& s, int edge) {
  if (s.vertical) {
    canvas.MoveTo(edge, s.from);
    canvas.LineTo(edge, s.to + 1);
  } else {
    canvas.MoveTo(s.from, edge);
    canvas.LineTo(s.to + 1, edge);
  }
}

void DrawSide(TCanvas& canvas, const Side& s, const TfrxFrameLine& line, int w, TColor viewColor) {
  const TColor color = line.Color();
  if (color == clTransparent) return;
  switch (line.Style()) {
    case fsSolid: SolidLine(canvas, s, s.edge, s.from, s.to, w, color); break;

    case fsDouble: {
      int n = w <= 0 ? 1 : w;
      if (viewColor != clTransparent) SolidLine(canvas, s, s.edge, s.from, s.to, n, viewColor);
      // The outer line is lengthened and the inner one shortened where sides meet, so
      // that the two lines form two closed rectangles.
      int outer = s.edge + s.outwards * n, inner = s.edge - s.outwards * n;
      SolidLine(canvas, s, outer, s.from - (s.startJoined ? n : 0), s.to + (s.endJoined ? n : 0), n, color);
      SolidLine(canvas, s, inner, s.from + (s.startJoined ? n : 0), s.to - (s.endJoined ? n : 0), n, color);
      break;
    }

    case fsDash:
    case fsDot:
    case fsDashDot:
    case fsDashDotDot: {
      int n = w <= 0 ? 1 : w;
      if (viewColor != clTransparent) FillBand(canvas, s.vertical, s.edge, s.from, s.to, n, viewColor);
      TPen pen;
      pen.Color = color;
      pen.Style = frx_draw::PatternStyleOf(line.Style());
      canvas.SetPen(pen);
      const frx_draw::BandSpan span = frx_draw::BandOffsets(n);
      for (int o = span.First; o <= span.Last; ++o) Stroke(canvas, s, s.edge + o);
      break;
    }

    case fsAltDot:
    case fsSquare: {
      int n = w <= 0 ? 1 : w;
      if (viewColor != clTransparent) FillBand(canvas, s.vertical, s.edge, s.from, s.to, n, viewColor);
      canvas.SetPen(frx_draw::GeometricPatternPen(line.Style(), w, color));
      Stroke(canvas, s, s.edge);
      break;
    }
  }
}

}  // namespace

TfrxDeviceRect TfrxView::DeviceRectAt(double scaleX, double scaleY, double offsetX, double offsetY) const {
  TfrxDeviceRect d;
  const double x = AbsLeft(), y = AbsTop();
  d.Left = Nearest(offsetX + x * scaleX);
  d.Top = Nearest(offsetY + y * scaleY);
  d.Right = Nearest(offsetX + (x + Width()) * scaleX);
  d.Bottom = Nearest(offsetY + (y + Height()) * scaleY);
  if (frame_.DropShadow()) {
    // Object and shadow together keep the object's bounds.
    d.Right -= Nearest(frame_.ShadowWidth() * scaleX);
    d.Bottom -= Nearest(frame_.ShadowWidth() * scaleY);
  }
  d.Width = d.Right - d.Left;
  d.Height = d.Bottom - d.Top;
  return d;
}

void TfrxView::PrepareDrawGeometry(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  canvas_ = &canvas;
  scaleX_ = scaleX;
  scaleY_ = scaleY;
  offsetX_ = offsetX;
  offsetY_ = offsetY;
  device_ = DeviceRectAt(scaleX, scaleY, offsetX, offsetY);
  frameWidth_ = Nearest(frame_.Width() * scaleX);
}

void TfrxView::PaintBackground() {
  if (!canvas_) return;
  const TfrxDeviceRect& d = device_;
  if (color_ != clTransparent) {
    canvas_->SetBrush(TBrush{color_, bsSolid});
    canvas_->FillRect(TRect{d.Left, d.Top, d.Right, d.Bottom});
  }
  if (brushStyle_ >= bsHorizontal && frame_.Color() != clTransparent) {
    canvas_->SetBrush(TBrush{frame_.Color(), brushStyle_});
    canvas_->FillRect(TRect{d.Left, d.Top, d.Right + 1, d.Bottom + 1});
  }
}

void TfrxView::PaintFrame() {
  if (!canvas_) return;
  TCanvas& canvas = *canvas_;
  const TfrxDeviceRect& d = device_;
  if (frame_.DropShadow()) {
    int s = Nearest(frame_.ShadowWidth() * scaleX_);
    int t = Nearest(frame_.ShadowWidth() * scaleY_);
    int sn = s <= 0 ? 1 : s, tn = t <= 0 ? 1 : t;
    // Just right of the right edge, and just below the bottom edge.
    FillBand(canvas, true, d.Right + 1 + sn / 2, d.Top + s, d.Bottom, sn, frame_.ShadowColor());
    FillBand(canvas, false, d.Bottom + 1 + tn / 2, d.Left + t, d.Right + t, tn, frame_.ShadowColor());
  }
  if (frame_.Typ() == 0 || frame_.Color() == clTransparent || frame_.Width() == 0) return;

  const bool hasLeft = frame_.Has(ftLeft), hasRight = frame_.Has(ftRight);
  const bool hasTop = frame_.Has(ftTop), hasBottom = frame_.Has(ftBottom);
  auto widthOf = [&](const TfrxFrameLine& line) { return Nearest(line.Width() * scaleX_); };
  if (hasLeft)
    DrawSide(canvas, Side{true, d.Left, d.Top, d.Bottom, hasTop, hasBottom, -1}, frame_.LeftLine(),
             widthOf(frame_.LeftLine()), color_);
  if (hasRight)
    DrawSide(canvas, Side{true, d.Right, d.Top, d.Bottom, hasTop, hasBottom, +1}, frame_.RightLine(),
             widthOf(frame_.RightLine()), color_);
  if (hasTop)
    DrawSide(canvas, Side{false, d.Top, d.Left, d.Right, hasLeft, hasRight, -1}, frame_.TopLine(),
             widthOf(frame_.TopLine()), color_);
  if (hasBottom)
    DrawSide(canvas, Side{false, d.Bottom, d.Left, d.Right, hasLeft, hasRight, +1}, frame_.BottomLine(),
             widthOf(frame_.BottomLine()), color_);
}

void TfrxView::Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
  PaintBackground();
  PaintFrame();
}
