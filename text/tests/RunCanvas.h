#pragma once
// A canvas that keeps every text run it is given (with the font selected at that
// moment) and draws nothing: the layout tests check positions, fonts and advances.
#include <string>
#include <vector>

#include "platform/Canvas.h"

struct TCapturedRun {
  std::u16string Text;
  TPoint Origin;
  TCanvasFont Font;
  TTextOutFlags Flags = 0;
  TRect Clip;
  bool Wide = true;
  std::vector<int> Advances;
  int Width() const {
    int w = 0;
    for (int a : Advances) w += a;
    return w;
  }
};

class TRunCanvas : public TCanvas {
 public:
  explicit TRunCanvas(int pixelsPerInch = 96, bool printer = false)
      : ppi_(pixelsPerInch), printer_(printer) {}

  std::vector<TCapturedRun> Runs;

  int PixelsPerInchX() const override { return ppi_; }
  int PixelsPerInchY() const override { return ppi_; }
  bool IsPrinter() const override { return printer_; }
  TSize SurfaceSize() const override { return {10000, 10000}; }
  void Polyline(std::span<const TPoint>) override {}
  void Polygon(std::span<const TPoint>) override {}
  void Rectangle(const TRect&) override {}
  void RoundRect(const TRect&, int, int) override {}
  void Ellipse(const TRect&) override {}
  void FillRect(const TRect&) override {}
  void SetPixel(int, int, TColor) override {}
  void StretchDraw(const TRect&, const TRasterImage&, TColor, bool) override {}
  void SaveClip() override {}
  void RestoreClip() override {}
  void IntersectClip(const TRect&) override {}
  TRect ClipBounds() const override { return {0, 0, 10000, 10000}; }

 protected:
  void DrawLine(TPoint, TPoint) override {}
  void DrawGlyphRun(const TGlyphRun& run) override {
    Runs.push_back({std::u16string(run.Text), run.Origin, Font(), run.Flags, run.Clip, run.Wide,
                    std::vector<int>(run.Advances.begin(), run.Advances.end())});
  }

 private:
  int ppi_;
  bool printer_;
};
