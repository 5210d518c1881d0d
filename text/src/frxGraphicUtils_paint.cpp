// TfrxDrawText: painting the laid-out lines on a device, with the corrections that keep
// the device's line breaks and block sizes those of the design resolution.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

#include "frxGraphicUtils_spread.h"
#include "frxTextRound.h"
#include "text/frxGraphicUtils.h"

namespace {

bool IsJustifiableSpace(char16_t c) { return c == u' ' || c == u'\u00A0'; }

// A sum of advances, kept in range by frxNearest.
int SumOf(std::span<const int> values) {
  double sum = 0;
  for (int v : values) sum += v;
  return frxNearest(sum);
}

}  // namespace

void frxSpreadIncrements(std::span<int> values, int first, int last, int unit, int n) {
  if (n <= 0 || last < first || first < 0 || last >= static_cast<int>(values.size())) return;
  const int k = std::max(1, (last - first + 1) / 2);
  if (n == 1) {
    values[static_cast<size_t>(first + k - 1)] += unit;
    return;
  }
  frxSpreadIncrements(values, first, first + k - 1, unit, n / 2);
  frxSpreadIncrements(values, first + k, last, unit, n - n / 2);
}

void frxDistribute(std::span<int> values, int first, int last, int difference) {
  const int count = last - first + 1;
  if (count <= 0 || difference == 0) return;
  int rest = std::abs(difference);
  if (rest >= count) {
    const int share = difference / count;
    for (int i = first; i <= last; ++i) values[static_cast<size_t>(i)] += share;
    rest %= count;
  }
  frxSpreadIncrements(values, first, last, difference > 0 ? 1 : -1, rest);
}

// Where the lines go for a rotation: along a line, and from one line to the next.
struct TfrxDrawText::TLineGeometry {
  double OriginX = 0, OriginY = 0;
  int LineWidth = 0;
  int Height = 0;                 // room for the block, across the lines
  double AlongX = 1, AlongY = 0;  // direction of the text
  double NextX = 0, NextY = 1;    // direction to the next line
  double AlignX = 0, AlignY = 1;  // direction of the vertical alignment
};

TfrxDrawText::TLineGeometry TfrxDrawText::Geometry(int block) const {
  const TRect& r = targetRect_;
  const int angle = rotation_;
  const double radians = angle * std::numbers::pi / 180.0;
  TLineGeometry g;
  g.AlongX = std::cos(radians);
  g.AlongY = -std::sin(radians);
  g.NextX = std::sin(radians);
  g.NextY = std::cos(radians);
  switch (angle) {
    case 0: g.OriginX = r.Left; g.OriginY = r.Top; g.LineWidth = r.Width(); g.Height = r.Height(); break;
    case 90: g.OriginX = r.Left; g.OriginY = r.Bottom; g.LineWidth = r.Height(); g.Height = r.Width(); break;
    case 180: g.OriginX = r.Right; g.OriginY = r.Bottom; g.LineWidth = r.Width(); g.Height = r.Height(); break;
    case 270: g.OriginX = r.Right; g.OriginY = r.Top; g.LineWidth = r.Height(); g.Height = r.Width(); break;
    default: {
      const double s = std::abs(std::sin(radians));
      const double c = std::abs(std::cos(radians));
      const int w = frxNearest((r.Width() - s * block) / c);
      g.LineWidth = w;
      if (angle < 90) {
        g.OriginX = r.Left;
        g.OriginY = r.Top + frxNearest(s * w);
        g.Height = (r.Bottom - static_cast<int>(g.OriginY)) - frxNearest(c * block) + block;
      } else if (angle < 180) {
        g.OriginX = r.Left + frxNearest(c * w);
        g.OriginY = r.Bottom;
        g.Height = r.Height() - frxNearest(c * block + s * w) + block;
      } else if (angle < 270) {
        g.OriginX = r.Right;
        g.OriginY = r.Bottom - frxNearest(s * w);
        g.Height = (static_cast<int>(g.OriginY) - r.Top) - frxNearest(c * block) + block;
      } else {
        g.OriginX = r.Left + frxNearest(s * block);
        g.OriginY = r.Top;
        g.Height = r.Height() - frxNearest(c * w + s * block) + block;
      }
    }
  }
  if (angle % 90 == 0) {
    g.AlignX = g.NextX;
    g.AlignY = g.NextY;
  } else {
    g.AlignX = 0;
    g.AlignY = (angle > 90 && angle < 270) ? -1 : 1;
  }
  return g;
}

int TfrxDrawText::BlockHeight(TCanvas& canvas, int lines) const {
  if (canvas.IsPrinter()) {
    const double e = kDesignPixelsPerInch / static_cast<double>(canvas.PixelsPerInchY()) / printScale_;
    return frxNearest((lineSpacing_ * scaleY_ * e * lines + designFontHeight_ * lines) / e);
  }
  return frxNearest((lineSpacing_ * kDesignScale * lines + designFontHeight_ * lines) / kDesignScale *
                 scaleY_);
}

void TfrxDrawText::PaintLines(TCanvas& canvas, TfrxHAlign hAlign, TfrxVAlign vAlign) {
  const int n = wrappedLines_.Count();
  if (n == 0) return;
  TCanvasLock lock(canvas);
  const TCanvasFont saved = canvas.Font();

  const int block = BlockHeight(canvas, n);
  const int step = DeviceFontHeight(canvas, font_.Size) + frxNearest(lineSpacing_ * scaleY_);
  std::vector<int> steps(static_cast<size_t>(n), step);
  // The device's whole-pixel line steps add up to the block height of the layout.
  if (wysiwyg_)
    frxDistribute(steps, 0, n - 2, frxNearest(static_cast<double>(block) - static_cast<double>(n) * step));

  const TLineGeometry g = Geometry(block);
  const int room = g.Height - block;
  const int shift = vAlign == vaBottom ? room : vAlign == vaCenter ? frxNearest(room / 2.0) : 0;
  double x = g.OriginX + shift * g.AlignX;
  double y = g.OriginY + shift * g.AlignY;
  for (int k = 0; k < n; ++k) {
    PaintLine(canvas, k, x, y, g, hAlign);
    x += steps[static_cast<size_t>(k)] * g.NextX;
    y += steps[static_cast<size_t>(k)] * g.NextY;
  }
  canvas.SetFont(saved);
}

void TfrxDrawText::PaintLine(TCanvas& canvas, int line, double x, double y,
                             const TLineGeometry& g, TfrxHAlign hAlign) {
  const std::u16string& text = wrappedLines_[line];
  const TfrxHTMLTags& tags = styleRuns_[static_cast<size_t>(line)];
  const uint32_t flags = wrappedLines_.Flags(line);
  const size_t length = text.size();
  const int last = static_cast<int>(length) - 1;

  MeasureDesign(text, tags, true);
  int64_t design = 0;
  for (size_t i = 0; i < length; ++i) design += designAdvances_[i];
  MeasureDevice(canvas, text, tags);
  const std::span<int> advances(deviceAdvances_.data(), length);
  const int device = SumOf(advances);

  const int indent = (flags & frxFirstLineOfParagraph) && (hAlign == haLeft || hAlign == haBlock)
                         ? frxNearest(paragraphGap_ * scaleX_)
                         : 0;
  const int width = frxNearest(static_cast<double>(g.LineWidth) - indent);
  TfrxHAlign align = hAlign;
  if (align == haBlock && (flags & frxLastLineOfParagraph)) align = rtlReading_ ? haRight : haLeft;
  const int spaces = static_cast<int>(std::count_if(text.begin(), text.end(), IsJustifiableSpace));
  if (align == haBlock && spaces == 0) align = haLeft;

  int offset = 0;
  if (align == haBlock) {
    // Justified: the free space goes to the spaces; the first quotient + 1 of them
    // take one pixel more.
    const int free = frxNearest(static_cast<double>(width) - device);
    const int share = free / spaces;
    const int remainder = free % spaces;
    int seen = 0;
    for (size_t i = 0; i < length; ++i) {
      if (!IsJustifiableSpace(text[i])) continue;
      advances[i] += share;
      if (remainder >= 0 && seen <= remainder) advances[i] += 1;
      if (remainder < 0 && seen < -remainder) advances[i] -= 1;
      ++seen;
    }
  } else {
    int target = device;
    if (wysiwyg_) {
      target = canvas.IsPrinter()
                   ? frxNearest(static_cast<double>(design) * printScale_ /
                             (kDesignPixelsPerInch / static_cast<double>(canvas.PixelsPerInchY())))
                   : frxNearest(static_cast<double>(design) / kDesignScale * scaleX_);
      frxDistribute(advances, 0, last, frxNearest(static_cast<double>(target) - device));
    }
    const int free = frxNearest(static_cast<double>(width) - target);
    if (align == haRight) {
      const bool slanted = (font_.Style & (fsBold | fsItalic)) != 0 && rotation_ == 0;
      offset = free + 1 - (slanted ? 2 : 1);
    } else if (align == haCenter) {
      offset = frxNearest(free / 2.0);
    }
  }

  // However the corrections went, no character takes more than kMaxAdvance.
  for (int& a : advances) a = std::clamp(a, -kMaxAdvance, kMaxAdvance);
  const double total = SumOf(advances);
  const double start = indent + static_cast<double>(offset);
  double position = 0;
  for (size_t from = 0; from < length;) {
    // Runs of one style, at most kMeasureChunk characters each.
    size_t to = from + 1;
    while (to < length && to - from < kMeasureChunk && tags[to].Style == tags[from].Style &&
           tags[to].Size == tags[from].Size && tags[to].Color == tags[from].Color &&
           tags[to].AddY == tags[from].AddY)
      ++to;
    const double runWidth = SumOf(advances.subspan(from, to - from));
    // Right-to-left lines put their first run at the right end.
    const double along = start + (rtlReading_ ? total - position - runWidth : position);
    const int lowered = frxNearest(tags[from].Size * tags[from].AddY * scaleY_);
    canvas.SetFont(DeviceFont(canvas, tags[from]));
    OutputRun(canvas, x + along * g.AlongX + lowered * g.NextX, y + along * g.AlongY + lowered * g.NextY,
              std::u16string_view(text).substr(from, to - from), advances.subspan(from, to - from));
    position += runWidth;
    from = to;
  }
}

void TfrxDrawText::OutputRun(TCanvas& canvas, double x, double y, std::u16string_view text,
                             std::span<const int> advances) {
  const TTextOutFlags flags = static_cast<TTextOutFlags>((clipped_ ? etoClipped : 0) |
                                                         (rtlReading_ ? etoRtlReading : 0));
  thread_local std::string bytes;
  if (CharsetBytes(text, bytes))
    canvas.ExtTextOut(frxNearest(x), frxNearest(y), flags, &targetRect_, bytes, advances);
  else
    canvas.ExtTextOutW(frxNearest(x), frxNearest(y), flags, &targetRect_, text, advances);
}
