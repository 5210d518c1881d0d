#pragma once
// TCanvas: the drawing surface that every report object, exporter and the preview draw
// on. The backends are a bitmap, a printer page, a widget on the screen and a recording
// (TRecordingCanvas, Recording.h) that replays onto any other surface at any scale.
//
// Contract
// - Units: whole device pixels, origin top left, y downwards. TRect is left, top, right,
//   bottom. Colours are TColor (red in the low byte); clTransparent and clNone never
//   reach a surface: a pen or brush of that colour paints nothing.
// - Pixel rules (the report geometry counts on them, and every backend keeps them):
//   * FillRect(r) paints the pixels left <= x < right, top <= y < bottom: the left and
//     top edges are covered, the right and bottom ones are not.
//   * LineTo draws from the current position up to, but not including, the end point.
//     A pen of width w is centred on the line: it covers the offsets -(w div 2) ..
//     (w div 2) - 1 across the line for even w and -(w div 2) .. w div 2 for odd w.
//     Along the line a cosmetic pen ends square at the two points (end excluded); a
//     geometric pen's cap adds the same offsets beyond both points (pcSquare, pcRound:
//     half discs on lines along an axis) or nothing (pcFlat). Lines along an axis are
//     exact to the pixel; slanted lines are rasterised by the backend.
//   * Rectangle, Ellipse and RoundRect fill the box left <= x < right, top <= y < bottom
//     with the brush and draw the pen centred on the box's outermost pixels (left,
//     top, right - 1, bottom - 1). Polygon fills like FillRect (the right and bottom
//     edges excluded) and outlines with the pen through the given points.
//   * Width 0 and 1 both give a one-pixel pen. Dash patterns of the pen styles are in
//     device pixels and do not grow with the width: psDash 18 on 6 off, psDot 3 on 3
//     off, psDashDot 9 6 3 6, psDashDotDot 9 3 3 3 3 3; the pattern starts afresh at each
//     segment. A geometric pen's UserDashes (on, off, on, off... in pixels) replace the
//     style's pattern and take the pen's Cap at each dash end.
//   * Hatches are 8-pixel patterns anchored at the device origin, drawn in the brush
//     colour on a transparent background: bsHorizontal paints rows y % 8 == 7,
//     bsVertical columns x % 8 == 7, bsFDiagonal (falling to the right) the pixels
//     with (x - y) mod 8 == 0, bsBDiagonal (rising) (x + y) mod 8 == 7, bsCross both
//     straight ones, bsDiagCross both diagonal ones.
//     They keep their pitch at every scale, as the pen styles' dashes do.
//   * pmXor combines the pen colour with the pixels by exclusive or (a white pen
//     inverts; drawing twice restores); pmNot inverts the pixels whatever the colour.
//     Surfaces that cannot combine (printer pages) draw pmXor and pmNot pens as pmCopy.
//   * Shapes are drawn without antialiasing, so pixels can be counted; text glyphs and
//     smoothed pictures are antialiased.
// - Fonts: Height in pixels, negative for the character height (the em square, without
//   internal leading), positive for the cell height. The face is resolved to a font
//   file by the font layer (Fonts.h): a missing face falls back by substitution, never
//   to nothing. Measuring, drawing and the raw data below all read that one file, so
//   glyph indices and advances agree on every surface and in PDF. Advances are the
//   font's design advances scaled to the pixel size and rounded, without hinting and
//   without kerning: the same on every run and machine with the same font file.
// - Text output places the top left of the first character cell at (x, y), characters
//   one after another at the given advances, along the escapement (tenths of a degree,
//   counter-clockwise). Text is always drawn on a transparent background.
// - 8-bit text is in the code page of the selected font's character set (default and
//   East European: Windows-1250); one byte is one character.
// - Lock/Unlock are re-entrant and per surface: a caller that measures and then draws
//   as one step holds the lock around both (TCanvasLock). The other calls do not lock.
// - Ownership: the caller owns the canvas and everything it passes in; a canvas keeps
//   no reference to the pictures, recordings or spans it was given once a call returns.
//   Bitmaps own their canvas (TBitmap::Canvas()).
// - Clipping: SaveClip pushes the current clip, RestoreClip pops it (an unbalanced
//   RestoreClip does nothing); IntersectClip narrows the current clip. ClipBounds is the
//   bounding box of the current clip (the whole surface when nothing was clipped).
// - Failure: drawing calls never throw for geometry (empty or inverted rectangles and
//   spans draw nothing). Creating a bitmap larger than the picture limit (Picture.h)
//   raises TPictureError. A surface that cannot draw vector pictures raises
//   TPictureError from DrawVectorPicture rather than leaving a blank.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Graphics.h"
#include "platform/Picture.h"

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  bool Intersects(const TRect& o) const {
    return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
  }
  TRect Intersected(const TRect& o) const;
  TRect United(const TRect& o) const;  // an empty rectangle adds nothing
  bool operator==(const TRect&) const = default;
};

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TPenMode : uint8_t { pmCopy, pmXor, pmNot };
enum TPenCap : uint8_t { pcRound, pcSquare, pcFlat };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = psSolid;
  TPenMode Mode = pmCopy;
  // A geometric pen honours Cap and UserDashes; a cosmetic one ends square at the
  // points and uses the style's pattern.
  bool Geometric = false;
  TPenCap Cap = pcRound;
  std::vector<int> UserDashes;
  bool operator==(const TPen&) const = default;
};

// In the order the views store them: the hatch index of a view's style is ordinal - 2.
enum TBrushStyle : uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  bool operator==(const TBrush&) const = default;
};

// The font a canvas draws with (Graphics.h's TFont is the report's description in
// points; CanvasFont converts it for a resolution).
struct TCanvasFont {
  std::string Name = "Arial";  // 8-bit text
  int Height = -13;            // pixels; negative: character height; 0: this default
  TFontStyles Style = 0;
  TColor Color = clBlack;
  int Charset = DEFAULT_CHARSET;
  int Escapement = 0;          // tenths of a degree, counter-clockwise
  bool operator==(const TCanvasFont&) const = default;
};

// The report font at `pixelsPerInch` (height -nearest(size x ppi / 72)).
TCanvasFont CanvasFont(const TFont& font, int pixelsPerInch);

// Metrics of the selected font in pixels.
struct TTextMetric {
  int Height = 0;           // Ascent + Descent: the cell height
  int Ascent = 0;
  int Descent = 0;
  int InternalLeading = 0;  // Height minus the em height
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
};

// Outline metrics of the selected font in pixels of its em square (what PDF needs).
struct TOutlineTextMetric {
  int EmSquare = 0;         // the em height in pixels the values below are scaled to
  TRect FontBox;            // y-up glyph space: Top is the highest point, Bottom the lowest
  double ItalicAngle = 0;   // degrees, negative for a right-leaning italic
  int Ascent = 0;           // typographic ascent and descent (descent negative)
  int Descent = 0;
  int CellHeight = 0;       // ascent plus descent of the cell (TTextMetric::Height)
  int InternalLeading = 0;
  int CapHeight = 0;
  int Weight = 400;         // 100..900
  int AvgCharWidth = 0;
  int MaxCharWidth = 0;
  uint8_t DefaultChar = '?';  // the 8-bit code shown for a missing character
  int UnderlinePosition = 0;  // below the baseline, positive downwards
  int UnderlineThickness = 1;
  int StrikeoutPosition = 0;  // above the baseline
  int StrikeoutThickness = 1;
};

// The font file a canvas font resolved to.
struct TFontFileRef {
  std::string Path;   // file system path (UTF-8)
  int FaceIndex = 0;  // face within a collection file
  std::string Family; // family name as the file gives it (UTF-8)
  bool operator==(const TFontFileRef&) const = default;
};

// One shaped glyph: its index in the font file, its advance in pixels and the UTF-16
// position of the character (cluster) it starts from.
struct TShapedGlyph {
  uint16_t Glyph = 0;
  int Advance = 0;
  int Cluster = 0;
};

// Text output options.
enum TTextOutFlag : uint8_t {
  etoClipped = 1,     // clip the output to the given rectangle
  etoRtlReading = 2,  // right-to-left reading order: the run is ordered visually
};
using TTextOutFlags = uint8_t;

class TBitmap;
class TRecording;

// A vector picture (a metafile's drawing) as an SVG document; drawn with its whole
// view box mapped onto the destination rectangle.
struct TVectorPicture {
  std::string Svg;
  TSize Size;  // natural size in pixels
};

class TFontInstance;

class TCanvas {
 public:
  virtual ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // 1. Queries.
  virtual int PixelsPerInchX() const = 0;
  virtual int PixelsPerInchY() const = 0;
  virtual bool IsPrinter() const { return false; }
  virtual bool IsRecording() const { return false; }
  // Size of the drawable area in pixels (a recording: the size it was given).
  virtual TSize SurfaceSize() const = 0;

  // 2. Pen, brush and font. The canvas copies what it is given.
  void SetPen(const TPen& pen);
  void SetBrush(const TBrush& brush);
  void SetFont(const TCanvasFont& font);
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }
  const TCanvasFont& Font() const { return font_; }

  // 3. Lock and unlock: re-entrant, per surface.
  void Lock() { lock_.lock(); }
  void Unlock() { lock_.unlock(); }

  // 4. Shapes.
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  void LineTo(int x, int y);
  TPoint PenPos() const { return penPos_; }
  virtual void Polyline(std::span<const TPoint> points) = 0;   // LineTo through all
  virtual void Polygon(std::span<const TPoint> points) = 0;    // closed, brush and pen
  virtual void Rectangle(const TRect& r) = 0;
  // cornerWidth, cornerHeight: the size of the ellipse that rounds the corners.
  virtual void RoundRect(const TRect& r, int cornerWidth, int cornerHeight) = 0;
  virtual void Ellipse(const TRect& r) = 0;
  virtual void FillRect(const TRect& r) = 0;  // brush only
  virtual void SetPixel(int x, int y, TColor color) = 0;

  // 5. Text. Measuring is the same on every surface (the font layer); `afterEach`, when
  // given, receives the position after each character (at most its size entries).
  TTextMetric TextMetrics();
  TSize TextExtent(std::string_view text, std::span<int> afterEach = {});
  TSize TextExtentW(std::u16string_view text, std::span<int> afterEach = {});
  // A run at (x, y) with per-character advances (empty: the font's own; fewer than the
  // characters: the font's own for the rest); `clip` is used with etoClipped.
  void ExtTextOut(int x, int y, TTextOutFlags flags, const TRect* clip, std::string_view text,
                  std::span<const int> advances = {});
  void ExtTextOutW(int x, int y, TTextOutFlags flags, const TRect* clip,
                   std::u16string_view text, std::span<const int> advances = {});
  void TextOut(int x, int y, std::string_view text) { ExtTextOut(x, y, 0, nullptr, text); }

  // 6. Pictures: stretched into `dest`; pixels of `transparentColor` (clNone: none) are
  // left out; `smooth` resamples with averaging (otherwise nearest pixel); 32-bit
  // pictures blend by their alpha.
  virtual void StretchDraw(const TRect& dest, const TRasterImage& picture,
                           TColor transparentColor = clNone, bool smooth = false) = 0;
  void StretchDraw(const TRect& dest, TBitmap& bitmap, TColor transparentColor = clNone,
                   bool smooth = false);
  // A recording, its whole size mapped onto `dest`.
  void DrawRecording(const TRect& dest, const TRecording& recording);
  // A vector picture stretched into `dest` (smoothed); the base class cannot draw one.
  virtual void DrawVectorPicture(const TRect& dest, const TVectorPicture& picture);

  // 7. Clipping.
  virtual void SaveClip() = 0;
  virtual void RestoreClip() = 0;
  virtual void IntersectClip(const TRect& r) = 0;
  virtual TRect ClipBounds() const = 0;

  // 9. For PDF and exporters: the selected font's file, its raw TrueType data (a table
  // by its four-letter tag such as "glyf", or the whole file for an empty tag; empty
  // when the table is missing), its outline metrics (none for a face without outlines)
  // and shaping of UTF-16 text into glyph indices and advances in visual order.
  TFontFileRef SelectedFontFile();
  std::vector<uint8_t> FontData(std::string_view tableTag = {});
  std::optional<TOutlineTextMetric> OutlineTextMetrics();
  std::vector<TShapedGlyph> ShapeText(std::u16string_view text, bool rightToLeft);

 protected:
  TCanvas();

  // What a backend draws; the base class has resolved the pen position, the font and
  // the advances. `glyphs` and `positions` are parallel: glyph indices of the selected
  // font file and their pen positions along the baseline from the run's start
  // (before the escapement); `origin` is the top left of the first cell.
  struct TGlyphRun {
    TPoint Origin;
    TTextOutFlags Flags = 0;
    TRect Clip;
    std::u16string_view Text;                // logical order, for recordings
    bool Wide = true;                        // the caller passed UTF-16 text
    std::span<const int> Advances;           // one per character, logical order
    std::span<const uint16_t> Glyphs;        // visual order
    std::span<const int> Positions;          // visual order, pixels from Origin
    int Width = 0;                           // sum of the advances
  };
  virtual void DrawLine(TPoint from, TPoint to) = 0;
  virtual void DrawGlyphRun(const TGlyphRun& run) = 0;
  virtual void PenChanged() {}
  virtual void BrushChanged() {}
  virtual void FontChanged() {}

  // The font layer's instance for the selected font (shared, created on demand).
  const TFontInstance& SelectedFont();

 private:
  void OutputRun(int x, int y, TTextOutFlags flags, const TRect* clip, std::u16string_view text,
                 bool wide, std::span<const int> advances);

  std::recursive_mutex lock_;
  TPen pen_;
  TBrush brush_;
  TCanvasFont font_;
  TPoint penPos_;
  std::shared_ptr<const TFontInstance> fontInstance_;
};

// RAII holder of a canvas lock.
class TCanvasLock {
 public:
  explicit TCanvasLock(TCanvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
  ~TCanvasLock() { canvas_.Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;

 private:
  TCanvas& canvas_;
};

// A bitmap of a given size and depth with its own surface. Its canvas draws into the
// pixels; Pixels() gives them in the layout of TRasterImage (Picture.h), reflecting
// everything drawn so far. A new bitmap is white. Bitmaps are made by NewBitmap
// (tavrel_platform_qt).
class TBitmap {
 public:
  virtual ~TBitmap();
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual TPixelFormat PixelFormat() const = 0;
  virtual TCanvas& Canvas() = 0;
  // Valid until the next drawing call on the canvas.
  virtual const TRasterImage& Pixels() = 0;
  const uint8_t* ScanLine(int y) { return Pixels().Row(y); }
  TColor Pixel(int x, int y) { return Pixels().Pixel(x, y); }
};

// A bitmap canvas reports `pixelsPerInch` (96 unless given: the screen's logical
// resolution the report's scales count from).
std::unique_ptr<TBitmap> NewBitmap(int width, int height, TPixelFormat format,
                                   int pixelsPerInch = 96);
