#pragma once
// The font layer, without any drawing library. A face name and style resolve through
// fontconfig to a font file (with fontconfig's substitutions: Arial becomes the
// metric-compatible Liberation Sans; a face that is not installed falls back to what
// fontconfig substitutes, never to nothing). FreeType reads the file once: its cmap,
// design advances, metrics and raw tables. Every canvas measures through this layer and
// draws the same file, and the PDF export embeds it, so glyph indices and advances
// agree everywhere.
//
// Files and instances are shared and immutable once built, so they may be used from
// any thread; the caches behind them are guarded.
//
// Advances are design advances scaled to the em size in pixels and rounded to the
// nearest integer, without hinting or kerning: the same result on every run and on
// every machine with the same font file.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"

// Raised when no font file at all can be found or a font file cannot be read.
class TFontError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The font file fontconfig chooses for `faceName` (8-bit text in the system code page)
// with bold and italic taken from `style`.
TFontFileRef ResolveFontFile(std::string_view faceName, TFontStyles style);

// One font file, read with FreeType. Values in font design units.
class TFontFile {
 public:
  static std::shared_ptr<const TFontFile> Open(const TFontFileRef& ref);

  const TFontFileRef& Ref() const { return ref_; }
  int UnitsPerEm() const { return unitsPerEm_; }
  bool HasOutlines() const { return outlines_; }
  int GlyphCount() const { return static_cast<int>(advances_.size()); }

  // 0 (the missing glyph) for a character the font does not have.
  uint16_t GlyphIndex(char32_t ch) const;
  int GlyphAdvance(uint16_t glyph) const;  // design units

  // The whole file (tag empty) or one table by its four-letter tag; empty when missing.
  std::vector<uint8_t> Data(std::string_view tableTag = {}) const;
  const std::vector<uint8_t>& FileBytes() const { return bytes_; }

  struct TDesignMetrics {
    int WinAscent = 0, WinDescent = 0;          // cell above and below the baseline
    int HheaAscent = 0, HheaDescent = 0, HheaLineGap = 0;
    int TypoAscent = 0, TypoDescent = 0;
    int XMin = 0, YMin = 0, XMax = 0, YMax = 0;  // font box
    int AvgCharWidth = 0, MaxAdvance = 0;
    int CapHeight = 0;
    int Weight = 400;
    double ItalicAngle = 0;
    int UnderlinePosition = 0, UnderlineThickness = 0;  // y-up: position negative
    int StrikeoutPosition = 0, StrikeoutThickness = 0;
    bool Bold = false, Italic = false;
  };
  const TDesignMetrics& Metrics() const { return metrics_; }

  ~TFontFile();
  TFontFile(const TFontFile&) = delete;
  TFontFile& operator=(const TFontFile&) = delete;

  struct TShaper;  // HarfBuzz state, private
  const TShaper& Shaper() const { return *shaper_; }

 private:
  TFontFile() = default;
  TFontFileRef ref_;
  std::vector<uint8_t> bytes_;
  int unitsPerEm_ = 1000;
  bool outlines_ = false;
  std::vector<uint16_t> bmpGlyphs_;            // glyph per BMP code unit
  std::vector<std::pair<char32_t, uint16_t>> astralGlyphs_;  // sorted, above U+FFFF
  std::vector<uint16_t> advances_;             // per glyph
  TDesignMetrics metrics_;
  std::unique_ptr<TShaper> shaper_;
};

// A font file at one pixel size: what a canvas measures and draws with.
class TFontInstance {
 public:
  // `font` gives the face, style and height; instances are cached by all three.
  static std::shared_ptr<const TFontInstance> Get(const TCanvasFont& font);

  const TFontFile& File() const { return *file_; }
  std::shared_ptr<const TFontFile> SharedFile() const { return file_; }
  double EmPixels() const { return em_; }
  TFontStyles Style() const { return style_; }

  const TTextMetric& Metrics() const { return metrics_; }
  TOutlineTextMetric OutlineMetrics() const;

  // Advance of one UTF-16 code unit in pixels.
  int Advance(char16_t ch) const;
  uint16_t Glyph(char16_t ch) const { return file_->GlyphIndex(ch); }

  // Shaped glyphs in visual order (HarfBuzz over bidi runs from FriBidi).
  std::vector<TShapedGlyph> Shape(std::u16string_view text, bool rightToLeft) const;

 private:
  TFontInstance() = default;
  int Scale(double designUnits) const;
  std::shared_ptr<const TFontFile> file_;
  double em_ = 13;
  TFontStyles style_ = 0;
  TTextMetric metrics_;
};

// Visual order of a run: visual position -> logical index. Left-to-right without any
// right-to-left character gives the identity; with `rightToLeft` the paragraph runs
// from the right (FriBidi's reordering).
std::vector<int> VisualOrder(std::u16string_view text, bool rightToLeft);

// 8-bit text of a font character set to UTF-16, one unit per byte; the second form
// reuses `out`'s storage.
std::u16string CharsetTextToWide(std::string_view text, int charset);
void CharsetTextToWide(std::string_view text, int charset, std::u16string& out);
