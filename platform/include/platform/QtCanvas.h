#pragma once
// The Qt backends of TCanvas (tavrel_platform_qt): a canvas over any QPainter, the
// widget (screen) canvas and the printer page canvas. Bitmaps come from NewBitmap
// (Canvas.h), implemented here over QImage.
//
// All of them keep the pixel rules of Canvas.h: shapes without antialiasing, lines
// along an axis rasterised exactly by this backend, hatches as device-anchored 8-pixel
// patterns, text drawn with QRawFont on the very font file the font layer measured.
//
// Ownership: a TPainterCanvas given a QPainter only borrows it (the painter must stay
// active while the canvas is used); the widget and printer canvases own their painter
// and end it when they are destroyed.

#include <QPainter>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Canvas.h"

class QPrinter;
class QWidget;

class TPainterCanvas : public TCanvas {
 public:
  TPainterCanvas(QPainter& painter, TSize size, int pixelsPerInchX, int pixelsPerInchY,
                 bool printer = false);
  ~TPainterCanvas() override;

  int PixelsPerInchX() const override { return ppiX_; }
  int PixelsPerInchY() const override { return ppiY_; }
  bool IsPrinter() const override { return printer_; }
  TSize SurfaceSize() const override { return size_; }

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

  // Counts drawing calls, so that a bitmap knows when its pixels changed.
  uint64_t Changes() const { return changes_; }

 protected:
  // For subclasses that own their painter: `painter` is begun on the device already.
  TPainterCanvas(std::unique_ptr<QPainter> painter, TSize size, int pixelsPerInchX,
                 int pixelsPerInchY, bool printer);
  void DrawLine(TPoint from, TPoint to) override;
  void DrawGlyphRun(const TGlyphRun& run) override;
  QPainter* Painter() const { return painter_; }
  void Resize(TSize size) { size_ = size; }

 private:
  bool Ready();  // painter active; counts a change
  void Setup();
  void ApplyClip();
  void PenLine(TPoint from, TPoint to);
  void AxisLine(TPoint from, TPoint to);
  void SlantedLine(TPoint from, TPoint to);
  void FillSpan(const QRect& r, TColor color);
  void FillWithBrush(const QRect& r);
  void OutlineBox(const TRect& r);
  QPainter::CompositionMode PenComposition() const;

  std::unique_ptr<QPainter> owned_;
  QPainter* painter_;
  TSize size_;
  int ppiX_;
  int ppiY_;
  bool printer_;
  uint64_t changes_ = 0;
  std::optional<TRect> clip_;
  std::vector<std::optional<TRect>> clipStack_;
};

// Draws on a widget from its paint event: begins a painter on the widget and ends it
// when destroyed. The resolution is the widget's logical one.
class TWidgetCanvas : public TPainterCanvas {
 public:
  explicit TWidgetCanvas(QWidget& widget);
  ~TWidgetCanvas() override;
};

// A printer page surface: begins the printer's document when created; NewPage starts
// the next sheet; EndDoc (or destruction) finishes the document. The origin is the
// printable area's top left; the resolution is the printer's.
class TPrinterCanvas : public TPainterCanvas {
 public:
  explicit TPrinterCanvas(QPrinter& printer);
  ~TPrinterCanvas() override;
  bool Active() const;
  bool NewPage();
  void EndDoc();

 private:
  QPrinter& printer_;
};
