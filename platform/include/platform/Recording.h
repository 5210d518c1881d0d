#pragma once
// A recording surface: TRecordingCanvas keeps every drawing call as a record of a
// TRecording instead of painting. A recording replays onto any other canvas at any
// scale and offset, and its text runs can be listed in drawing order with their
// bounding rectangles (the preview's text search walks them page by page).
//
// Replaying at a scale multiplies every coordinate and rounds to the nearest pixel
// (coordinates, pen widths, font heights, advances: cumulative positions are scaled so
// that rounding does not add up along a run). Dash patterns of the pen styles and
// hatches keep their device pitch, as they do when drawing directly at that scale, so
// that a page replayed at twice the scale matches the page drawn at twice the scale.
//
// Needs no drawing library: measuring goes through the font layer like every canvas.
// A recording owns its records; the canvas that made it can hand it over
// (TakeRecording) and start afresh.

#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

// One text run of a recording.
struct TRecordedText {
  size_t Record = 0;    // index of the record among all records
  std::u16string Text;  // as passed (8-bit runs converted through the font's code page)
  bool Wide = true;     // passed as UTF-16
  TRect Bounds;         // the run's cell box (rotated runs: its bounding box)
};

class TRecording {
 public:
  TRecording();
  ~TRecording();
  TRecording(TRecording&&) noexcept;
  TRecording& operator=(TRecording&&) noexcept;
  TRecording(const TRecording&);
  TRecording& operator=(const TRecording&);

  TSize Size() const { return size_; }
  size_t RecordCount() const;
  std::vector<TRecordedText> TextRuns() const;

  // Replays with x' = nearest(offsetX + x * scaleX), y' likewise.
  void Play(TCanvas& target, double scaleX = 1, double scaleY = 1, double offsetX = 0,
            double offsetY = 0) const;
  // Replays with Size() mapped onto `dest`.
  void PlayInto(TCanvas& target, const TRect& dest) const;

  struct TRecord;  // private to the implementation

 private:
  friend class TRecordingCanvas;
  TSize size_;
  int ppiX_ = 96;
  int ppiY_ = 96;
  std::vector<std::unique_ptr<TRecord>> records_;
};

class TRecordingCanvas : public TCanvas {
 public:
  explicit TRecordingCanvas(TSize size, int pixelsPerInchX = 96, int pixelsPerInchY = 96);
  ~TRecordingCanvas() override;

  int PixelsPerInchX() const override { return recording_.ppiX_; }
  int PixelsPerInchY() const override { return recording_.ppiY_; }
  bool IsRecording() const override { return true; }
  TSize SurfaceSize() const override { return recording_.size_; }

  const TRecording& Recording() const { return recording_; }
  // Hands the recording over; the canvas starts a new, empty one of the same size.
  TRecording TakeRecording();

  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void Rectangle(const TRect& r) override;
  void RoundRect(const TRect& r, int cornerWidth, int cornerHeight) override;
  void Ellipse(const TRect& r) override;
  void FillRect(const TRect& r) override;
  void SetPixel(int x, int y, TColor color) override;
  void StretchDraw(const TRect& dest, const TRasterImage& picture,
                   TColor transparentColor = clNone, bool smooth = false) override;
  using TCanvas::StretchDraw;
  void DrawVectorPicture(const TRect& dest, const TVectorPicture& picture) override;
  void SaveClip() override;
  void RestoreClip() override;
  void IntersectClip(const TRect& r) override;
  TRect ClipBounds() const override;

 protected:
  void DrawLine(TPoint from, TPoint to) override;
  void DrawGlyphRun(const TGlyphRun& run) override;
  void PenChanged() override;
  void BrushChanged() override;
  void FontChanged() override;

 private:
  void Add(std::unique_ptr<TRecording::TRecord> record);

  TRecording recording_;
  std::vector<TRect> clipStack_;
  TRect clip_;
};
