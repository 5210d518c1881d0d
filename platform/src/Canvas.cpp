#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/Fonts.h"
#include "platform/Recording.h"

TRect TRect::Intersected(const TRect& o) const {
  TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
          std::min(Bottom, o.Bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

TRect TRect::United(const TRect& o) const {
  if (o.IsEmpty()) return *this;
  if (IsEmpty()) return o;
  return {std::min(Left, o.Left), std::min(Top, o.Top), std::max(Right, o.Right),
          std::max(Bottom, o.Bottom)};
}

TCanvasFont CanvasFont(const TFont& font, int pixelsPerInch) {
  TCanvasFont f;
  f.Name = font.Name;
  f.Height = font.heightAt(pixelsPerInch);
  f.Style = font.Style;
  f.Color = font.Color;
  f.Charset = font.Charset;
  return f;
}

TCanvas::TCanvas() = default;
TCanvas::~TCanvas() = default;
TBitmap::~TBitmap() = default;

void TCanvas::SetPen(const TPen& pen) {
  if (pen == pen_) return;
  pen_ = pen;
  PenChanged();
}

void TCanvas::SetBrush(const TBrush& brush) {
  if (brush == brush_) return;
  brush_ = brush;
  BrushChanged();
}

void TCanvas::SetFont(const TCanvasFont& font) {
  if (font == font_) return;
  const bool sameFace = font.Name == font_.Name && font.Height == font_.Height &&
                        font.Style == font_.Style;
  font_ = font;
  if (!sameFace) fontInstance_.reset();
  FontChanged();
}

void TCanvas::LineTo(int x, int y) {
  DrawLine(penPos_, {x, y});
  penPos_ = {x, y};
}

const TFontInstance& TCanvas::SelectedFont() {
  if (!fontInstance_) fontInstance_ = TFontInstance::Get(font_);
  return *fontInstance_;
}

TTextMetric TCanvas::TextMetrics() { return SelectedFont().Metrics(); }

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// A surrogate pair is one character of the font: the pair's advance goes to the high
// unit and the low unit adds nothing.
bool PairAt(std::u16string_view text, size_t i) {
  return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
}

char32_t CodePointAt(std::u16string_view text, size_t i) {
  if (PairAt(text, i))
    return 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) +
           (static_cast<char32_t>(text[i + 1]) - 0xDC00);
  return text[i];
}

bool IsTrailingUnit(std::u16string_view text, size_t i) {
  return i > 0 && IsLowSurrogate(text[i]) && IsHighSurrogate(text[i - 1]);
}

// The font's advance of the unit at `i`.
int UnitAdvance(const TFontFile& file, double scale, std::u16string_view text, size_t i) {
  if (IsTrailingUnit(text, i)) return 0;
  const uint16_t glyph = file.GlyphIndex(CodePointAt(text, i));
  return static_cast<int>(std::lround(file.GlyphAdvance(glyph) * scale));
}

// Advances of the font for every unit of `text` into `out` (sized like text).
void FontAdvances(const TFontInstance& font, std::u16string_view text, std::span<int> out) {
  const double scale = font.EmPixels() / font.File().UnitsPerEm();
  for (size_t i = 0; i < text.size(); ++i) out[i] = UnitAdvance(font.File(), scale, text, i);
}

}  // namespace

// Measuring allocates nothing: the text layout measures every line of every memo.
TSize TCanvas::TextExtentW(std::u16string_view text, std::span<int> afterEach) {
  const TFontInstance& font = SelectedFont();
  const double scale = font.EmPixels() / font.File().UnitsPerEm();
  int x = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    x += UnitAdvance(font.File(), scale, text, i);
    if (i < afterEach.size()) afterEach[i] = x;
  }
  return {x, font.Metrics().Height};
}

TSize TCanvas::TextExtent(std::string_view text, std::span<int> afterEach) {
  thread_local std::u16string wide;
  CharsetTextToWide(text, font_.Charset, wide);
  return TextExtentW(wide, afterEach);
}

void TCanvas::ExtTextOut(int x, int y, TTextOutFlags flags, const TRect* clip,
                         std::string_view text, std::span<const int> advances) {
  OutputRun(x, y, flags, clip, CharsetTextToWide(text, font_.Charset), false, advances);
}

void TCanvas::ExtTextOutW(int x, int y, TTextOutFlags flags, const TRect* clip,
                          std::u16string_view text, std::span<const int> advances) {
  OutputRun(x, y, flags, clip, text, true, advances);
}

void TCanvas::OutputRun(int x, int y, TTextOutFlags flags, const TRect* clip,
                        std::u16string_view text, bool wide, std::span<const int> advances) {
  if (text.empty()) return;
  if ((flags & etoClipped) && (clip == nullptr || clip->IsEmpty())) return;
  const TFontInstance& font = SelectedFont();
  std::vector<int> adv(text.size());
  FontAdvances(font, text, adv);
  for (size_t i = 0; i < text.size() && i < advances.size(); ++i) adv[i] = advances[i];

  const std::vector<int> order = VisualOrder(text, (flags & etoRtlReading) != 0);
  std::vector<uint16_t> glyphs;
  std::vector<int> positions;
  glyphs.reserve(text.size());
  positions.reserve(text.size());
  int pen = 0;
  for (int logical : order) {
    const size_t i = static_cast<size_t>(logical);
    if (!IsTrailingUnit(text, i)) {
      glyphs.push_back(font.File().GlyphIndex(CodePointAt(text, i)));
      positions.push_back(pen);
    }
    pen += adv[i];
  }

  TGlyphRun run;
  run.Origin = {x, y};
  run.Flags = flags;
  if (clip != nullptr) run.Clip = *clip;
  run.Text = text;
  run.Wide = wide;
  run.Advances = adv;
  run.Glyphs = glyphs;
  run.Positions = positions;
  run.Width = pen;
  DrawGlyphRun(run);
}

void TCanvas::StretchDraw(const TRect& dest, TBitmap& bitmap, TColor transparentColor,
                          bool smooth) {
  StretchDraw(dest, bitmap.Pixels(), transparentColor, smooth);
}

void TCanvas::DrawRecording(const TRect& dest, const TRecording& recording) {
  recording.PlayInto(*this, dest);
}

void TCanvas::DrawVectorPicture(const TRect&, const TVectorPicture&) {
  throw TPictureError("this drawing surface cannot draw vector pictures (metafiles)");
}

TFontFileRef TCanvas::SelectedFontFile() { return SelectedFont().File().Ref(); }

std::vector<uint8_t> TCanvas::FontData(std::string_view tableTag) {
  return SelectedFont().File().Data(tableTag);
}

std::optional<TOutlineTextMetric> TCanvas::OutlineTextMetrics() {
  const TFontInstance& font = SelectedFont();
  if (!font.File().HasOutlines()) return std::nullopt;
  return font.OutlineMetrics();
}

std::vector<TShapedGlyph> TCanvas::ShapeText(std::u16string_view text, bool rightToLeft) {
  return SelectedFont().Shape(text, rightToLeft);
}
