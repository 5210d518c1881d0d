#pragma once
// Pixel helpers shared by the views' drawing: rounding, bands of one-pixel lines and the
// pens of the frame styles. Private to the report library.

#include <cmath>

#include "platform/Canvas.h"
#include "report/frxClassView.h"

namespace frx_draw {

// The integer nearest to v, halves to the even neighbour.
inline int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

// The offsets across a band `n` pixels thick around its centre line: -(n div 2) to
// (n div 2) - 1 for even n, to n div 2 for odd n; n of 0 counts as 1.
struct BandSpan {
  int First;
  int Last;
};
BandSpan BandOffsets(int n);

// A band `n` pixels thick across, centred on `centre` by the rule above, covering
// `from`..`to` along (both included). A transparent colour paints nothing.
void FillBand(TCanvas& canvas, bool vertical, int centre, int from, int to, int n, TColor color);

// A line from `from` to `to` as `n` parallel one-pixel lines of `pen` (its width is
// taken as 1), offset across the line: vertically when the horizontal extent exceeds
// the vertical one, else horizontally.
void BandLine(TCanvas& canvas, TPoint from, TPoint to, int n, TPen pen);

// The one-pixel pattern of a frame style: the dashed styles their own, the dotted and
// square patterns as dots and dashes, solid and double as solid.
TPenStyle PatternStyleOf(TfrxFrameStyle style);

// The geometric pen of fsAltDot (round dots every 2w) and fsSquare (w on, w off), or
// the (1, 1) pattern with flat caps when w <= 1.
TPen GeometricPatternPen(TfrxFrameStyle style, int w, TColor color);

// The pen that outlines a shape `w` pixels wide in a frame style: solid for fsSolid and
// fsDouble, the style's pattern for the dashed ones, the geometric pen for the others.
TPen OutlinePen(TfrxFrameStyle style, int w, TColor color);

}  // namespace frx_draw
