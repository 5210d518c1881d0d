#pragma once
// TfrxDrawText: lays out, measures, splits and paints the text of memo views.
//
// Screen and paper show the same layout: every measurement is made with the memo font
// scaled to 600 pixels per inch (the design resolution), whatever the device, and when
// painting, the per-character advances and the line steps on the real device are
// corrected so that line breaks and block sizes are the same on the screen, on paper
// and in exports. Measuring goes through the font layer (platform/Fonts.h), so the same
// font file gives the same figures everywhere.
//
// Order of calls (one memo, under the lock):
//   Lock();  UseFont; UseOptions (and UseDefaultCharset); UseAreas; UseGaps;
//   LayOutText(lines); [UseParagraphFlags]; then any of LinePitch, TextBlockHeight,
//   WidestLineWidth, LeftoverHeight, SplitAtHeight + FittingText, PaintLines;  Unlock().
// The instance keeps the last layout until the next LayOutText; the settings stay
// until they are set again.
//
// Units: LayoutRect, gaps and the heights and widths returned are screen pixels at 96
// pixels per inch (report units); TargetRect is in pixels of the device painted on.
//
// Style tags (when allowed): <b> <i> <u> <strike> <sub> <sup> <nowrap> and their closing
// forms, <font color=NAME> or <font color="#RRGGBB"> and </font>; tag names ignore case.
// Any other five-character tag such as <abc> is dropped; any other "<" is text.
//
// Concurrency: one process-wide lock serialises all use of all instances (Lock/Unlock,
// re-entrant; TfrxDrawTextLock holds it for a scope). Nothing here is thread-safe
// without it.
//
// Limits: a source line of any length is handled; the advance arrays are preallocated
// for 32768 characters and grow for a longer line, so nothing is ever written beyond
// them. The platform is asked about at most kMeasureChunk characters at a time, and
// text goes out in runs of at most that many, so pixel sums stay far from overflow.
// Font sizes are taken within 1 .. kMaxFontSize points, device font heights up to
// kMaxDeviceFontHeight pixels, gaps within +-kMaxGap screen pixels and one character's
// advance within +-kMaxAdvance pixels.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "text/frxUnicodeUtils.h"

// Values stored in templates: keep the order.
enum TfrxHAlign : uint8_t { haLeft, haRight, haCenter, haBlock };
enum TfrxVAlign : uint8_t { vaTop, vaBottom, vaCenter };

// Paragraph flags of a laid-out line (TWideStrings flags of WrappedLines).
constexpr uint32_t frxFirstLineOfParagraph = 1;
constexpr uint32_t frxLastLineOfParagraph = 2;

// The style of one character of a laid-out line.
struct TfrxHTMLTag {
  int Position = 0;       // in SourceText, from 1, counting tag characters and line ends
  int Size = 0;           // points
  int AddY = 0;           // vertical shift factor: 1 lowers a subscript
  TFontStyles Style = 0;  // fsBold | fsItalic | fsUnderline | fsStrikeOut
  TColor Color = clBlack;
  bool DontWrap = false;  // inside <nowrap>: its spaces are no break points
  bool Default = false;   // same style as the character before it
  bool Small = false;     // size differs from the memo font's (sub- and superscript)

  // Same style, colour, size, shift and no-wrap state.
  bool SameStyle(const TfrxHTMLTag& other) const {
    return Size == other.Size && AddY == other.AddY && Style == other.Style &&
           Color == other.Color && DontWrap == other.DontWrap;
  }
  bool operator==(const TfrxHTMLTag&) const = default;
};
// One record per character of a laid-out line.
using TfrxHTMLTags = std::vector<TfrxHTMLTag>;
// One TfrxHTMLTags per laid-out line.
using TfrxHTMLTagsList = std::vector<TfrxHTMLTags>;

// The result of SplitAtHeight.
struct TfrxTextSplit {
  std::u16string Rest;           // the source text of the lines that did not fit
  bool InsideParagraph = false;  // the cut falls inside a paragraph
};

class TfrxDrawText {
 public:
  static constexpr int kDesignPixelsPerInch = 600;
  static constexpr int kScreenPixelsPerInch = 96;
  static constexpr double kDesignScale = 6.25;  // design pixels per screen pixel
  static constexpr int kAdvanceArraySize = 32768;
  static constexpr int kMeasureChunk = 4096;
  static constexpr int kMaxFontSize = 2000;
  static constexpr int kMaxDeviceFontHeight = 100000;
  static constexpr double kMaxGap = 100000;
  static constexpr int kMaxAdvance = 200000;

  TfrxDrawText();
  ~TfrxDrawText();
  TfrxDrawText(const TfrxDrawText&) = delete;
  TfrxDrawText& operator=(const TfrxDrawText&) = delete;

  // The process-wide lock shared by every instance.
  void Lock();
  void Unlock();

  // Settings.
  void UseFont(const TFont& font);
  // rotation: degrees, taken modulo 360.
  void UseOptions(bool wordWrap, bool allowTags, int rotation, bool wysiwyg, bool clipped,
                  bool wordBreak, bool rtlReading);
  // Measure and paint in the font's own character set (off) or as wide text (on).
  void UseDefaultCharset(bool useDefault);
  // layoutRect: the text area at 100% in screen pixels; targetRect: the text area on
  // the device (also the clipping rectangle). printScale applies on printer canvases.
  void UseAreas(const TRect& layoutRect, const TRect& targetRect, double printScale,
                double scaleX, double scaleY);
  // Screen pixels.
  void UseGaps(double lineSpacing, double charSpacing, double paragraphGap);

  // Lays `lines` out; clears the previous layout first.
  void LayOutText(const TWideStrings& lines);
  // firstParaBreak: the first line continues a paragraph of an earlier part (loses
  // flag 1); lastParaBreak: the last line's paragraph goes on in a later part (loses
  // flag 2).
  void UseParagraphFlags(bool firstParaBreak, bool lastParaBreak);

  // Measuring, in screen pixels.
  double LinePitch() const;
  double TextBlockHeight() const;
  double WidestLineWidth();
  // Height left below the last whole line that fits LayoutRect (0 when none fits).
  double LeftoverHeight() const;

  // Cuts the layout after the lines that fit LayoutRect's height. Afterwards the
  // layout and SourceText hold only those lines; Rest is the source text of the others,
  // opened with the tags that restore the style of its first character.
  TfrxTextSplit SplitAtHeight();
  // The source text of the laid-out lines (after a split: of the lines that fit).
  std::u16string FittingText() const { return sourceText_; }

  // Paints the laid-out lines into TargetRect.
  void PaintLines(TCanvas& canvas, TfrxHAlign hAlign, TfrxVAlign vAlign);

  // The layout.
  const TWideStrings& WrappedLines() const { return wrappedLines_; }
  const TfrxHTMLTagsList& StyleRuns() const { return styleRuns_; }
  const std::u16string& SourceText() const { return sourceText_; }
  // The measuring font's height in design pixels.
  int DesignFontHeight() const { return designFontHeight_; }

 private:
  struct TLineGeometry;

  int AvailableWidth() const;
  void WrapLine(const std::u16string& text, const TfrxHTMLTags& tags, int maxFirst, int maxRest);
  void EmitLine(const std::u16string& text, const TfrxHTMLTags& tags, size_t from, size_t to,
                bool hyphen);
  int HyphenationPoint(const std::u16string& text, size_t wordStart, size_t firstMissing) const;

  // Measuring: per-character advances into designAdvances_ (the design resolution, with
  // the reduced sizes and, when asked, the character spacing) or deviceAdvances_.
  void EnsureAdvanceCapacity(size_t count);
  void MeasureDesign(std::u16string_view text, const TfrxHTMLTags& tags, bool withSpacing);
  void MeasureDevice(TCanvas& canvas, std::u16string_view text, const TfrxHTMLTags& tags);
  void MeasureSegment(TCanvas& canvas, std::u16string_view text, std::vector<int>& advances,
                      size_t from);
  // Text goes out as 8-bit text of the font's character set, when that applies and
  // keeps one byte per character.
  bool EightBitOutput() const;
  bool CharsetBytes(std::u16string_view text, std::string& bytes) const;

  // Painting.
  int DeviceFontHeight(TCanvas& canvas, int size) const;
  TCanvasFont DeviceFont(TCanvas& canvas, const TfrxHTMLTag& tag) const;
  int BlockHeight(TCanvas& canvas, int lines) const;
  TLineGeometry Geometry(int block) const;
  void PaintLine(TCanvas& canvas, int line, double x, double y, const TLineGeometry& geometry,
                 TfrxHAlign hAlign);
  void OutputRun(TCanvas& canvas, double x, double y, std::u16string_view text,
                 std::span<const int> advances);

  std::unique_ptr<TCanvas> measuringCanvas_;
  TFont font_;
  int designFontHeight_ = 0;
  bool wordWrap_ = true;
  bool allowTags_ = false;
  int rotation_ = 0;
  bool wysiwyg_ = true;
  bool clipped_ = false;
  bool wordBreak_ = false;
  bool rtlReading_ = false;
  bool useDefaultCharset_ = false;
  double lineSpacing_ = 0;
  double charSpacing_ = 0;
  double paragraphGap_ = 0;
  TRect layoutRect_;
  TRect targetRect_;
  double printScale_ = 1;
  double scaleX_ = 1;
  double scaleY_ = 1;

  TWideStrings wrappedLines_;
  std::u16string sourceText_;
  TfrxHTMLTagsList styleRuns_;
  std::vector<int> designAdvances_;  // per character, reused for every line
  std::vector<int> deviceAdvances_;
  std::vector<int64_t> cumulative_;
};

// Holds the layout lock for a scope.
class TfrxDrawTextLock {
 public:
  explicit TfrxDrawTextLock(TfrxDrawText& drawText) : drawText_(drawText) { drawText_.Lock(); }
  ~TfrxDrawTextLock() { drawText_.Unlock(); }
  TfrxDrawTextLock(const TfrxDrawTextLock&) = delete;
  TfrxDrawTextLock& operator=(const TfrxDrawTextLock&) = delete;

 private:
  TfrxDrawText& drawText_;
};

// The process-wide instance, for views that belong to no report.
TfrxDrawText& frxDrawText();

// A colour named as the platform names them without the "cl" prefix ("red", "Navy"),
// ignoring case; false when the name is unknown.
bool frxColorByName(std::u16string_view name, TColor& color);
