#include "frxClass_drawing.h"

#include <cstdlib>
#include <utility>

namespace frx_draw {

BandSpan BandOffsets(int n) {
  if (n <= 0) n = 1;
  return {-(n / 2), n % 2 == 0 ? n / 2 - 1 : n / 2};
}

void FillBand(TCanvas& canvas, bool vertical, int centre, int from, int to, int n, TColor color) {
  if (color == clTransparent) return;
  if (n <= 0) n = 1;
  if (to < from) std::swap(from, to);
  int lo = centre + BandOffsets(n).First;
  canvas.SetBrush(TBrush{color, bsSolid});
  if (vertical)
    canvas.FillRect(TRect{lo, from, lo + n, to + 1});
  else
    canvas.FillRect(TRect{from, lo, to + 1, lo + n});
}

void BandLine(TCanvas& canvas, TPoint from, TPoint to, int n, TPen pen) {
  if (pen.Color == clTransparent) return;
  pen.Width = 1;
  canvas.SetPen(pen);
  const bool acrossVertically = std::abs(to.X - from.X) > std::abs(to.Y - from.Y);
  const BandSpan span = BandOffsets(n);
  for (int o = span.First; o <= span.Last; ++o) {
    const int dx = acrossVertically ? 0 : o, dy = acrossVertically ? o : 0;
    canvas.MoveTo(from.X + dx, from.Y + dy);
    canvas.LineTo(to.X + dx, to.Y + dy);
  }
}

TPenStyle PatternStyleOf(TfrxFrameStyle style) {
  switch (style) {
    case fsDash:
    case fsSquare: return psDash;
    case fsDot:
    case fsAltDot: return psDot;
    case fsDashDot: return psDashDot;
    case fsDashDotDot: return psDashDotDot;
    case fsSolid:
    case fsDouble: return psSolid;
  }
  return psSolid;
}

TPen GeometricPatternPen(TfrxFrameStyle style, int w, TColor color) {
  TPen pen;
  pen.Color = color;
  pen.Geometric = true;
  if (w <= 1) {
    pen.Width = 1;
    pen.Cap = pcFlat;
    pen.UserDashes = {1, 1};
  } else if (style == fsAltDot) {
    pen.Width = w;
    pen.Cap = pcRound;
    pen.UserDashes = {0, 2 * w};
  } else {
    pen.Width = w;
    pen.Cap = pcFlat;
    pen.UserDashes = {w, w};
  }
  return pen;
}

TPen OutlinePen(TfrxFrameStyle style, int w, TColor color) {
  if (style == fsAltDot || style == fsSquare) return GeometricPatternPen(style, w, color);
  TPen pen;
  pen.Color = color;
  pen.Width = w <= 0 ? 1 : w;
  pen.Style = PatternStyleOf(style);
  return pen;
}

}  // namespace frx_draw
