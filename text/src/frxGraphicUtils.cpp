// TfrxDrawText: settings, the lock, and measuring at the design resolution and on a
// device.
#include "text/frxGraphicUtils.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/CodePage.h"
#include "platform/Recording.h"
#include "frxTextRound.h"

namespace {

std::recursive_mutex& LayoutLock() {
  static std::recursive_mutex lock;
  return lock;
}

}  // namespace

TfrxDrawText::TfrxDrawText()
    // Measuring only asks the font layer; the surface never draws.
    : measuringCanvas_(std::make_unique<TRecordingCanvas>(TSize{1, 1}, kDesignPixelsPerInch,
                                                          kDesignPixelsPerInch)),
      designAdvances_(kAdvanceArraySize),
      deviceAdvances_(kAdvanceArraySize),
      cumulative_(kAdvanceArraySize) {
  UseFont(TFont{});
}

TfrxDrawText::~TfrxDrawText() = default;

void TfrxDrawText::Lock() { LayoutLock().lock(); }
void TfrxDrawText::Unlock() { LayoutLock().unlock(); }

TfrxDrawText& frxDrawText() {
  static TfrxDrawText instance;
  return instance;
}

void TfrxDrawText::UseFont(const TFont& font) {
  font_ = font;
  font_.Size = std::clamp(font.Size, 1, kMaxFontSize);
  designFontHeight_ = frxNearest(font_.Size * static_cast<double>(kDesignPixelsPerInch) / 72.0);
  TCanvasLock lock(*measuringCanvas_);
  measuringCanvas_->SetFont(CanvasFont(font_, kDesignPixelsPerInch));
}

void TfrxDrawText::UseOptions(bool wordWrap, bool allowTags, int rotation, bool wysiwyg,
                              bool clipped, bool wordBreak, bool rtlReading) {
  wordWrap_ = wordWrap;
  allowTags_ = allowTags;
  rotation_ = ((rotation % 360) + 360) % 360;
  wysiwyg_ = wysiwyg;
  clipped_ = clipped;
  wordBreak_ = wordBreak;
  rtlReading_ = rtlReading;
}

void TfrxDrawText::UseDefaultCharset(bool useDefault) { useDefaultCharset_ = useDefault; }

void TfrxDrawText::UseAreas(const TRect& layoutRect, const TRect& targetRect, double printScale,
                            double scaleX, double scaleY) {
  layoutRect_ = layoutRect;
  targetRect_ = targetRect;
  printScale_ = printScale;
  scaleX_ = scaleX;
  scaleY_ = scaleY;
}

void TfrxDrawText::UseGaps(double lineSpacing, double charSpacing, double paragraphGap) {
  auto bounded = [](double gap) { return gap == gap ? std::clamp(gap, -kMaxGap, kMaxGap) : 0.0; };
  lineSpacing_ = bounded(lineSpacing);
  charSpacing_ = bounded(charSpacing);
  paragraphGap_ = bounded(paragraphGap);
}

void TfrxDrawText::EnsureAdvanceCapacity(size_t count) {
  // Only a line longer than the preallocated arrays costs an allocation.
  if (count <= designAdvances_.size()) return;
  designAdvances_.resize(count);
  deviceAdvances_.resize(count);
  cumulative_.resize(count);
}

bool TfrxDrawText::EightBitOutput() const {
  return font_.Charset != DEFAULT_CHARSET && !useDefaultCharset_;
}

bool TfrxDrawText::CharsetBytes(std::u16string_view text, std::string& bytes) const {
  if (!EightBitOutput()) return false;
  bytes = codepage::FromWide(text, codepage::CharsetCodePage(font_.Charset));
  // A code page of several bytes a character (or a surrogate pair) cannot keep one
  // advance per character: such text stays wide.
  return bytes.size() == text.size();
}

void TfrxDrawText::MeasureSegment(TCanvas& canvas, std::u16string_view text,
                                  std::vector<int>& advances, size_t from) {
  thread_local std::string bytes;
  for (size_t start = 0; start < text.size(); start += kMeasureChunk) {
    const std::u16string_view chunk = text.substr(start, kMeasureChunk);
    const std::span<int> out(advances.data() + from + start, chunk.size());
    if (CharsetBytes(chunk, bytes))
      canvas.TextExtent(bytes, out);
    else
      canvas.TextExtentW(chunk, out);
    for (size_t j = out.size(); j-- > 1;) out[j] -= out[j - 1];
  }
}

void TfrxDrawText::MeasureDesign(std::u16string_view text, const TfrxHTMLTags& tags,
                                 bool withSpacing) {
  EnsureAdvanceCapacity(text.size());
  TCanvas& canvas = *measuringCanvas_;
  TCanvasLock lock(canvas);
  TCanvasFont font = CanvasFont(font_, kDesignPixelsPerInch);
  for (size_t from = 0; from < text.size();) {
    size_t to = from + 1;
    while (to < text.size() && tags[to].Style == tags[from].Style) ++to;
    font.Style = tags[from].Style;
    canvas.SetFont(font);
    MeasureSegment(canvas, text.substr(from, to - from), designAdvances_, from);
    from = to;
  }
  const int spacing = withSpacing ? frxNearest(charSpacing_ * kDesignScale) : 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (tags[i].Small) designAdvances_[i] = frxNearest(designAdvances_[i] / 1.5);
    designAdvances_[i] = std::clamp(designAdvances_[i] + spacing, -kMaxAdvance, kMaxAdvance);
  }
}

int TfrxDrawText::DeviceFontHeight(TCanvas& canvas, int size) const {
  const int height = canvas.IsPrinter()
                         ? frxNearest(canvas.PixelsPerInchY() * size * printScale_ / 72.0)
                         : frxNearest(size * scaleY_ * kScreenPixelsPerInch / 72.0);
  return std::clamp(height, 0, kMaxDeviceFontHeight);
}

TCanvasFont TfrxDrawText::DeviceFont(TCanvas& canvas, const TfrxHTMLTag& tag) const {
  TCanvasFont font;
  font.Name = font_.Name;
  font.Height = -DeviceFontHeight(canvas, tag.Size);
  font.Style = tag.Style;
  font.Color = tag.Color;
  font.Charset = font_.Charset;
  font.Escapement = rotation_ * 10;
  return font;
}

void TfrxDrawText::MeasureDevice(TCanvas& canvas, std::u16string_view text,
                                 const TfrxHTMLTags& tags) {
  EnsureAdvanceCapacity(text.size());
  for (size_t from = 0; from < text.size();) {
    size_t to = from + 1;
    while (to < text.size() && tags[to].Style == tags[from].Style &&
           tags[to].Size == tags[from].Size)
      ++to;
    canvas.SetFont(DeviceFont(canvas, tags[from]));
    MeasureSegment(canvas, text.substr(from, to - from), deviceAdvances_, from);
    from = to;
  }
  const int spacing = std::clamp(frxNearest(charSpacing_ * scaleX_), -kMaxAdvance, kMaxAdvance);
  for (size_t i = 0; i < text.size(); ++i)
    deviceAdvances_[i] = std::clamp(deviceAdvances_[i] + spacing, -kMaxAdvance, kMaxAdvance);
}
